#!/usr/bin/env bash
# Configures BUILD_DIR with the compiler and linker flags of a Debian package build (dpkg-buildflags,
# every hardening feature on) and builds the Debian package there. The test suite is not built: it is
# the ordinary build tree's.
# Usage: build-package.sh BUILD_DIR [WERROR]
set -euo pipefail
build=$1
werror=${2:-ON}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compilers'.
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DMORVA_WERROR="$werror" -DMORVA_TESTS=OFF -DMORVA_BENCH=OFF
cmake --build "$build" --target package
