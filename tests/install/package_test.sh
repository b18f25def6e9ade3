#!/usr/bin/env bash
# Builds the Debian package from the build tree (what `make package` does) into a temporary directory
# and checks its name, its files and its dependencies with dpkg-deb.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$build" && cpack --config CPackConfig.cmake -B "$work" >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
deb=$work/morva_${version}_amd64.deb
[[ -f $deb ]] || fail "no $(basename "$deb"): $(ls "$work")"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/morva ./usr/bin/morva-cli ./usr/share/morva/morva.html ./usr/share/morva/morva-en.html \
  ./usr/share/applications/morva.desktop \
  ./usr/share/icons/hicolor/scalable/apps/morva.svg ./usr/share/icons/hicolor/256x256/apps/morva.png \
  ./usr/share/man/man1/morva-cli.1.gz ./usr/share/man/man1/morva.1.gz ./usr/share/bash-completion/completions/morva-cli \
  ./usr/share/doc/morva/copyright ./usr/share/doc/morva/changelog.gz ./usr/share/metainfo/io.morva.morva.metainfo.xml \
  ./usr/share/kio/servicemenus/morva.desktop ./usr/share/nemo/actions/morva.nemo_action \
  ./usr/share/file-manager/actions/morva.desktop "./usr/share/morva/MORVAで一括変換"; do
  grep -qx -- "$f" <<<"$files" || fail "$f is not in the package"
done
# Nothing outside /usr, nothing of the build or the tests.
if grep -v '^\./usr/' <<<"$files" | grep -vqx '\./'; then fail "files outside /usr: $(grep -v '^\./usr/' <<<"$files")"; fi
if grep -q -e test -e screenshots -e morva-man-page -e morva-render-icon <<<"$files"; then
  fail "build tools or tests in the package"
fi

[[ $(dpkg-deb -f "$deb" Package) == morva ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version"
[[ $(dpkg-deb -f "$deb" Architecture) == amd64 ]] || fail "architecture"
if dpkg-deb -f "$deb" Description | grep -q '^ *;'; then fail "the description holds list separators"; fi
# The changelog names the version the package has.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/morva/changelog.gz | gunzip | head -1 | grep -q "^morva ($version) " ||
  fail "the changelog's first entry is not version $version"
depends=$(dpkg-deb -f "$deb" Depends)
# One package name a line, without its version.
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6svg6 qt6-qpa-plugins libpcre2-8-0 \
  libglib2.0-0 fonts-noto-cjk qt6-translations-l10n libc6 libstdc++6; do
  grep -qxF -- "$p" <<<"$names" || fail "Depends lacks $p: $depends"
done
echo "package: ok ($depends)"
