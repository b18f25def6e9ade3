#!/usr/bin/env bash
# The desktop program under a real X server and window manager (Xvfb and openbox) on a 1366x768 screen:
# a first start fits the screen with its frame, a window the person moved comes back to the same place
# at every start, and a start in which nothing moved leaves the settings file as it was.
# Usage: window_manager_check.sh MORVA   (make check-window-manager; exits 77 without Xvfb, openbox or xdotool)
set -euo pipefail
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# A copy of the program keeps its settings beside it, in the scratch directory.
cp "$1" "$work/morva"
settings=$work/morva.dat
export TMPDIR=$work HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
unset XDG_RUNTIME_DIR WAYLAND_DISPLAY

Xvfb -screen 0 1366x768x24 -nolisten tcp -displayfd 3 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
# openbox names itself before it has finished starting; a window mapped meanwhile is placed by nobody.
sleep 1

morva_pid=
window=
start() {
  "$work/morva" 2>>"$work/morva.log" &
  morva_pid=$!
  pids+=("$morva_pid")
  window=
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^MORVA$' 2>/dev/null | head -1) || true
    [[ -n $window ]] && xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' && break
    sleep 0.1
  done
  [[ -n $window ]] || fail "no main window: $(tail -5 "$work/morva.log")"
  sleep 1  # the window manager has placed and framed it
}
stop() {
  kill -TERM "$morva_pid"
  wait "$morva_pid" || fail "the program ended with $?"
}
# "x y": where the client area stands.
client_position() {
  xdotool getwindowgeometry "$window" | awk '/Position:/ { split($2, p, ","); print p[1], p[2] }'
}
# "left top right bottom" of the frame, the window manager's decorations included.
frame() {
  local x y width height left right top bottom
  read -r x y < <(client_position)
  read -r width height < <(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { split($2, g, "x"); print g[1], g[2] }')
  read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo $((x - left)) $((y - top)) $((x + width + right)) $((y + height + bottom))
}

start
read -r left top right bottom < <(frame)
((left >= 0 && top >= 0 && right <= 1366 && bottom <= 768)) ||
  fail "first start: the frame $left,$top-$right,$bottom leaves the 1366x768 screen"
xdotool windowmove "$window" 300 200
sleep 1
moved=$(client_position)
stop
[[ -f $settings ]] || fail "a moved window was not saved"
saved=$(md5sum <"$settings")

for restart in 1 2 3; do
  start
  position=$(client_position)
  [[ $position == "$moved" ]] || fail "restart $restart: the window stands at $position, not at $moved"
  stop
  [[ $(md5sum <"$settings") == "$saved" ]] || fail "restart $restart: the settings file was rewritten"
done
echo "window manager: fits 1366x768, stays at $moved over 3 restarts, settings untouched"
