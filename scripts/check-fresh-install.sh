#!/usr/bin/env bash
# Installs a Debian package of MORVA with apt on a fresh, minimal Debian 12 (a debootstrap chroot),
# uses both programs there as an ordinary user, then removes the package and checks that none of its
# files is left. Needs root and the Debian mirror; takes a few minutes and about 1 GB of disk.
# Usage: check-fresh-install.sh PACKAGE.deb [MIRROR]
set -euo pipefail
deb=$(realpath "$1")
mirror=${2:-http://deb.debian.org/debian}
[[ $(id -u) == 0 ]] || { echo "check-fresh-install: run as root (debootstrap, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || apt-get install -y debootstrap
root=$(mktemp -d /var/tmp/morva-fresh.XXXXXX)
chmod 755 "$root"  # the root directory of the system inside, which every user must enter
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

echo "== a minimal Debian 12 in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  fail "debootstrap: $(tail -5 "$root.debootstrap.log")"
rm -f "$root.debootstrap.log"
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"

echo "== apt install ./$(basename "$deb")"
in_root apt-get update -qq
in_root apt-get install -y -qq "./tmp/$(basename "$deb")" >"$root/tmp/install.log" 2>&1 ||
  fail "apt install: $(tail -20 "$root/tmp/install.log")"
in_root dpkg -L morva | sort >"$root/tmp/files"

echo "== both programs, as a user"
in_root useradd -m user
# shellcheck disable=SC2016 # expanded by the user's shell inside the chroot
in_root su user -s /bin/bash -c '
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
cd ~ && mkdir photos && touch photos/beach.jpg
[[ $(morva-cli --version) == "morva-cli "* ]] || fail "morva-cli --version"
morva-cli --set SW_FNM=1 --set FNM_IPN_SEL=1 --set FNM_IPN2=1 --yes run photos >/dev/null
[[ -f photos/BEACH.jpg ]] || fail "the run did not rename"
[[ -f ~/.config/morva/morva.dat && -f ~/.config/morva/mvlogs.txt ]] || fail "settings or log not in ~/.config/morva"
morva-cli --yes undo >/dev/null
[[ -f photos/beach.jpg ]] || fail "the undo did not rename back"
source /usr/share/bash-completion/completions/morva-cli
COMP_WORDS=(morva-cli --set FNM_IPN_S); COMP_CWORD=2; _morva_cli 2>/dev/null || true
[[ " ${COMPREPLY[*]} " == *" FNM_IPN_SEL="* ]] || fail "the completion does not complete a key: ${COMPREPLY[*]}"
[[ $(morva --version 2>/dev/null) == "morva "* ]] || fail "morva --version without a display"
[[ $(morva --help 2>/dev/null) == "usage: morva "* ]] || fail "morva --help without a display"
[[ -f /usr/share/qt6/translations/qtbase_ja.qm ]] || fail "Qt'"'"'s Japanese texts are not installed"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d)
morva photos 2>/tmp/morva.log & pid=$!
for _ in $(seq 200); do [[ -S $XDG_RUNTIME_DIR/morva_mutex ]] && break; sleep 0.05; done
[[ -S $XDG_RUNTIME_DIR/morva_mutex ]] || fail "morva did not start: $(cat /tmp/morva.log)"
timeout 10 morva photos/beach.jpg 2>/dev/null || fail "a second morva did not hand over"
sleep 1
kill -TERM $pid; status=0; wait $pid || status=$?
[[ $status == 0 ]] || fail "morva ended with $status: $(cat /tmp/morva.log)"
'

echo "== apt remove morva"
in_root apt-get remove -y -qq morva >"$root/tmp/remove.log" 2>&1 || fail "apt remove: $(tail -20 "$root/tmp/remove.log")"
left=$(while read -r f; do if [[ -f $root$f || -L $root$f ]]; then echo "$f"; fi; done <"$root/tmp/files")
[[ -z $left ]] || fail "files left after removal: $left"
[[ -f $root/home/user/.config/morva/morva.dat ]] || fail "the removal took the user's settings"
echo "fresh install: ok ($(grep -c . "$root/tmp/files") paths installed and removed)"
