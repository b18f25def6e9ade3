#!/usr/bin/env bash
# Starts of the desktop program at the same moment: exactly one stays and the others hand over to it,
# trial after trial. Two staying would share one settings file and log. Each trial ends the survivor
# with SIGTERM and expects its normal exit.
# Usage: concurrent_starts_test.sh MORVA TRIALS STARTS
set -euo pipefail
morva=$1
trials=$2
starts=$3
work=$(mktemp -d)
pids=()
trap 'kill -KILL "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# The socket and its lock live in the runtime directory: a private one, so that a morva the developer
# has open is not the one that answers.
export QT_QPA_PLATFORM=offscreen TMPDIR=$work XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

for ((trial = 1; trial <= trials; trial++)); do
  pids=()
  for ((i = 0; i < starts; i++)); do
    "$morva" 2>>"$work/morva.log" &
    pids+=($!)
  done
  # Those that hand over end within a second; a second survivor never ends by itself.
  alive=()
  for _ in $(seq 100); do
    alive=()
    for pid in "${pids[@]}"; do
      if kill -0 "$pid" 2>/dev/null; then alive+=("$pid"); fi
    done
    ((${#alive[@]} <= 1)) && break
    sleep 0.1
  done
  ((${#alive[@]} == 1)) || fail "trial $trial: ${#alive[@]} of $starts starts kept running"
  kill -TERM "${alive[0]}"
  for pid in "${pids[@]}"; do
    status=0
    wait "$pid" || status=$?
    [[ $status == 0 ]] || fail "trial $trial: a start ended with $status: $(tail -5 "$work/morva.log")"
  done
done
echo "concurrent starts: one program stayed in each of $trials trials"
