#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR (prefix /usr/local, as `make install` does) and runs
# both installed programs from there, as a user whose settings must go to ~/.config/morva.
# Usage: installed_programs_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR=$work/root cmake --install "$build" --prefix /usr/local >"$work/install.log" || fail "install: $(cat "$work/install.log")"
prefix=$work/root/usr/local
for f in bin/morva bin/morva-cli share/morva/morva.html share/morva/morva-en.html share/applications/morva.desktop \
  share/icons/hicolor/scalable/apps/morva.svg share/icons/hicolor/256x256/apps/morva.png \
  share/man/man1/morva-cli.1.gz share/man/ja/man1/morva-cli.1.gz share/man/man1/morva.1.gz share/bash-completion/completions/morva-cli share/doc/morva/README.md; do
  [[ -f $prefix/$f ]] || fail "$f is not installed"
done
[[ $(ls "$prefix/bin") == $'morva\nmorva-cli' ]] || fail "bin holds more than the two programs: $(ls "$prefix/bin")"

# The icon bitmap is 256 x 256: the width and height of the PNG header, big-endian, at bytes 16-23.
[[ $(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/256x256/apps/morva.png" | tr -d ' \n') == 0000010000000100 ]] ||
  fail "the PNG icon is not 256 x 256"
desktop-file-validate "$prefix/share/applications/morva.desktop" || fail "the desktop entry does not validate"
grep -qx 'Exec=morva %F' "$prefix/share/applications/morva.desktop" || fail "the desktop entry does not take files"
# File managers offer "Open with MORVA" for folders, pictures, music and any file.
for type in inode/directory image/jpeg audio/mpeg application/octet-stream; do
  grep -q "^MimeType=.*$type;" "$prefix/share/applications/morva.desktop" || fail "the desktop entry does not take $type"
done
appstreamcli validate --no-net "$prefix/share/metainfo/io.morva.morva.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  fail "the metainfo file does not validate: $(cat "$work/appstream.log")"
for f in share/kio/servicemenus/morva.desktop share/nemo/actions/morva.nemo_action share/file-manager/actions/morva.desktop; do
  grep -q 'MORVAで一括変換' "$prefix/$f" || fail "$f does not offer MORVAで一括変換"
  grep -q '^Exec=morva %F$' "$prefix/$f" || fail "$f does not pass the selection to morva"
done
[[ -x "$prefix/share/morva/MORVAで一括変換" ]] || fail "the file managers' script is not installed"
for page in man1/morva-cli ja/man1/morva-cli man1/morva; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -E UTF-8 -l "$prefix/share/man/$page.1.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "the manual page $page does not format cleanly: $warnings"
done
# The English page describes the keys in English (no kanji left), the Japanese one in the window's words.
english_page=$(zcat "$prefix/share/man/man1/morva-cli.1.gz")
japanese_page=$(zcat "$prefix/share/man/ja/man1/morva-cli.1.gz")
kanji=$(grep -P '[\x{4E00}-\x{9FFF}]' <<<"$english_page" || true)
[[ -z $kanji ]] || fail "the English manual page of morva-cli holds Japanese: $kanji"
grep -q '^Rename > Case and characters: ' <<<"$english_page" ||
  fail "the English manual page does not name the keys' pages in English"
grep -q '^名称変換 > 名称一般変換: ' <<<"$japanese_page" ||
  fail "the Japanese manual page does not name the keys' pages in Japanese"

# A user of the installed programs: no XDG_CONFIG_HOME, a home of its own.
export HOME=$work/home
unset XDG_CONFIG_HOME
mkdir -p "$HOME" "$work/tree"
echo a >"$work/tree/a.txt"
cli=$prefix/bin/morva-cli

[[ $("$cli" --version) == "morva-cli "[0-9]* ]] || fail "morva-cli --version"
# Captured first: grep -q leaves early, and the writer's broken pipe would fail the pipeline.
keys=$(LANGUAGE= LC_ALL=ja_JP.UTF-8 "$cli" keys)
grep -q $'^FNM_IPN_SEL\t名称変換 > 名称一般変換\t' <<<"$keys" || fail "keys does not list FNM_IPN_SEL with its page"
"$cli" --set SW_FNM=1 --set FNM_IPN_SEL=1 --set FNM_IPN2=1 --yes --save run "$work/tree" >"$work/run.log" 2>&1 ||
  fail "the run failed: $(cat "$work/run.log")"
[[ -f $work/tree/A.txt ]] || fail "the run did not rename a.txt"
[[ -f $HOME/.config/morva/morva.dat ]] || fail "the settings were not saved in ~/.config/morva"
[[ $(ls "$prefix/bin") == $'morva\nmorva-cli' ]] || fail "the run wrote beside the executable"
# The job a run saves (--save) is the next one's.
grep -qx 'SW_FNM = 1' <<<"$("$cli" show)" || fail "show does not print the saved job"
grep -q $'\t未\t' <<<"$(LANGUAGE= LC_ALL=ja_JP.UTF-8 "$cli" runs)" || fail "the run is not in the log of ~/.config/morva"

# $XDG_CONFIG_HOME wins over ~/.config and is created when missing.
XDG_CONFIG_HOME=$work/xdg "$cli" show >/dev/null || fail "show with XDG_CONFIG_HOME"
[[ -d $work/xdg/morva ]] || fail "\$XDG_CONFIG_HOME/morva was not created"

# --version and --help need no display: they are answered before Qt looks for one (the xcb platform
# without DISPLAY would end the program).
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/morva" --version 2>/dev/null) == "morva "[0-9]* ]] ||
  fail "morva --version without a display"
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/morva" --help 2>/dev/null) == "usage: morva "* ]] ||
  fail "morva --help without a display"

# Opened on a directory, as the menu entry's %F does; a second start hands over to it and ends; SIGTERM,
# as a logout sends it, ends it through its normal shutdown, not by the signal's default kill. Its socket
# lives in its own private runtime directory, so a morva the developer has open is not the one that
# answers.
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/desktop-config
mkdir -m 0700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=offscreen "$prefix/bin/morva" "$work/tree" 2>"$work/morva.log" &
desktop=$!
socket=$XDG_RUNTIME_DIR/morva_mutex
for _ in $(seq 200); do
  [[ -S $socket ]] && break
  kill -0 "$desktop" 2>/dev/null || fail "morva ended by itself: $(cat "$work/morva.log")"
  sleep 0.05
done
[[ -S $socket ]] || fail "morva did not start within 10 s"
QT_QPA_PLATFORM=offscreen timeout 10 "$prefix/bin/morva" "$work/tree" 2>/dev/null || fail "a second morva did not hand over"
kill -0 "$desktop" 2>/dev/null || fail "the first morva ended when the second started"
kill -TERM "$desktop"
status=0
wait "$desktop" || status=$?
[[ $status == 0 ]] || fail "morva ended with $status on SIGTERM: $(cat "$work/morva.log")"
[[ ! -e $socket ]] || fail "morva left its socket behind"
echo "installed programs: ok"
