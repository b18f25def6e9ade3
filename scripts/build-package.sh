#!/usr/bin/env bash
# Configures BUILD_DIR with the compiler and linker flags of a Debian package build (dpkg-buildflags,
# every hardening feature on) and builds the Debian package there. The test suite is not built: it is
# the ordinary build tree's.
# Warnings do not fail this build (WERROR=ON to make them): the fortified C library marks more results
# as not to be ignored than the ordinary build sees, and a package build must not stop over a warning
# CI never sees. They are printed all the same.
# Usage: build-package.sh BUILD_DIR [WERROR]
set -euo pipefail
build=$1
werror=${2:-OFF}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compilers'.
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DMORVA_WERROR="$werror" -DMORVA_TESTS=OFF -DMORVA_BENCH=OFF
cmake --build "$build" --target package
