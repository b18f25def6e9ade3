#!/usr/bin/env bash
# Installs the Debian packages MORVA needs to build, test and run, and only those that are missing,
# so a fresh Debian 12 machine needs nothing else. Safe to run again: it does nothing when all are there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  libgtest-dev libgmock-dev libbenchmark-dev
  libpcre2-dev libglib2.0-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins fonts-noto-cjk
  # The desktop program's icons are SVG: Qt's SVG image and icon plugins draw them.
  libqt6svg6
  # Qt's own texts (qtbase_ja.qm, qtbase_en.qm): the buttons of message boxes and the file choosers.
  qt6-translations-l10n
  # The window's English translation: lupdate and lrelease, and CMake's LinguistTools package that runs them.
  qt6-l10n-tools qt6-tools-dev
  # The Debian package (make package): dpkg-shlibdeps finds the libraries the programs need.
  dpkg-dev
  # Test time only: the installed desktop entry, metainfo file and manual page are checked with these.
  desktop-file-utils man-db appstream
  # Test time only: the media readers are checked against files these tools write and what they report.
  libimage-exiftool-perl python3-mutagen
  # Test time only: renames on a FAT file system (names that ignore case, made-up inode numbers), made
  # in an image file and mounted through FUSE without root's mount, as a camera card or USB stick is.
  dosfstools fusefat
  # Checks by hand only (make check-window-manager): the desktop program under a real X server and
  # window manager, driven by xdotool.
  xvfb openbox xdotool x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
