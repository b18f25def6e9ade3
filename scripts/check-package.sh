#!/usr/bin/env bash
# Checks the Debian package: lintian clean but for the two decisions left to the project's owner (the
# licence and the maintainer's address), and both programs built with the hardening features.
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
command -v lintian >/dev/null || fail "lintian is not installed (apt-get install lintian)"

# The tags those two decisions raise, and nothing else.
# Errors and warnings count; lintian's informational tags (an ID3 genre name it takes for a misspelling,
# the compiler's .comment section) are not findings.
owner_decisions='^(bogus-mail-host|bogus-mail-host-in-debian-changelog|maintainer-address-malformed|mail-address-loops-or-bounces|copyright-without-copyright-notice|unknown-license-in-dep5-copyright|missing-license-paragraph-in-dep5-copyright|missing-license-text-in-dep5-copyright)$'
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
tags=$(awk '/^[EW]: /{print $3}' "$work/lintian.log" | sort -u)
others=$(grep -Ev "$owner_decisions" <<<"$tags" || true)
[[ -z $others ]] || fail "lintian: $(cat "$work/lintian.log")"

dpkg-deb -x "$deb" "$work/root"
for program in morva morva-cli; do
  elf=$work/root/usr/bin/$program
  dynamic=$(readelf -d "$elf")
  headers=$(readelf -lW "$elf")
  symbols=$(readelf -sW --dyn-syms "$elf")
  grep -q 'GNU_RELRO' <<<"$headers" || fail "$program: no read-only relocations"
  grep -Eq 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" || fail "$program: relocations not bound at once"
  grep -q 'DYN (Position-Independent Executable' <<<"$(readelf -h "$elf")" || fail "$program: not position-independent"
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program: no stack protector"
  grep -q '_chk@' <<<"$symbols" || fail "$program: no fortified functions"
done
echo "package: lintian clean but for the owner's decisions ($(tr '\n' ' ' <<<"$tags")), hardened"
