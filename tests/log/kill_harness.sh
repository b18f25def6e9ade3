#!/bin/bash
# Kills morva-cli with SIGKILL at random moments and checks that a plain undo brings the tree back
# exactly: names, permission bits (read-only) and last-write times of the files, and the names of the
# directories.
# Usage: kill_harness.sh MORVA_CLI [TRIALS] [FILES] [KIND] [MAX_DELAY_MS]
#   KIND rename:     a run renaming every file is killed, then undone
#        attributes: a run making every file read-only and hidden is killed, then undone
#        times:      a run setting every file's last-write time is killed, then undone
#        undo:       a finished renaming run's undo is killed, then the plain undo goes on with it
#        foreign:    as rename, over names holding up to 1,800 different characters without a code page
#                    932 form, so that the kill also lands while their codes are being given; the table
#                    of codes must stay whole (one code per character, one character per code)
#   MAX_DELAY_MS: the latest kill after the run's header (or the undo's start), 800 by default.
# Prints one line per trial and "N of N restored"; exits 1 when a tree did not come back.
set -u
cli=$1
trials=${2:-20}
files=${3:-20000}
kind=${4:-rename}
max_delay=${5:-800}
name_job="--set SW_FNM=1 --set FNM_IPN_SEL=1 --set FNM_IPN2=1 --set FNM_01=1"
case "$kind" in
  rename | undo | foreign) job="$name_job" ;;
  attributes) job="--set SW_FNM=0 --set SW_ATR=1100 --set ATR_ONB=3" ;;
  times) job="--set SW_FNM=0 --set SW_DTT=01000 --set DTT_21=2000/01/01 --set DTT_22=12:34:56" ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac

# Files with their mode and last-write time; directories by name (renaming inside one changes its times).
snapshot() {
  (cd "$1" && find . -type f -printf '%p %m %T@\n' && find . -type d -printf '%p/\n') | sort
}

# Sleeps a random part of max_delay milliseconds.
random_sleep() {
  local ms=$(( (RANDOM * 32768 + RANDOM) % (max_delay + 1) ))
  sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
}

restored=0
interrupted=0
for trial in $(seq 1 "$trials"); do
  work=$(mktemp -d)
  mkdir "$work/tree" "$work/tree/sub" "$work/home"
  if [ "$kind" == foreign ]; then
    # Hangul syllables, which code page 932 lacks: file000000-가.txt, file000001-각.txt, ...
    python3 -c 'import os, sys
for i in range(int(sys.argv[2])):
    path = os.path.join(sys.argv[1], "file%06d-%s.txt" % (i, chr(0xAC00 + i % 1800)))
    open(path, "w").close()
    os.utime(path, (1262304000, 1262304000))' "$work/tree" "$files"
  else
    (cd "$work/tree" && seq -f 'file%06g.txt' 0 $((files - 1)) | xargs touch -d '2010-01-01 00:00:00')
  fi
  (cd "$work/tree/sub" && seq -f 'inner%04g.dat' 0 99 | xargs touch -d '2010-01-01 00:00:00')
  before=$(snapshot "$work/tree")

  if [ "$kind" == undo ]; then
    "$cli" --home "$work/home" $job --set SW_SET=001100000000 --yes run "$work/tree" >/dev/null 2>&1
    "$cli" --home "$work/home" --yes undo >/dev/null 2>&1 &
    pid=$!
  else
    "$cli" --home "$work/home" $job --set SW_SET=001100000000 --yes run "$work/tree" >/dev/null 2>&1 &
    pid=$!
    # From the run's header (written before the targets are listed) on.
    for _ in $(seq 1 500); do
      [ -e "$work/home/mvlogs.txt" ] && break
      sleep 0.01
    done
  fi
  random_sleep
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null

  during=$(snapshot "$work/tree")
  changed=$(comm -13 <(echo "$before") <(echo "$during") | wc -l)
  [ "$changed" -gt 0 ] && interrupted=$((interrupted + 1))
  "$cli" --home "$work/home" --yes undo >/dev/null 2>&1
  after=$(snapshot "$work/tree")
  # A run that changed something is undone completely now, and the log says so.
  states=$(LANGUAGE= LC_ALL=ja_JP.UTF-8 "$cli" --home "$work/home" runs 2>/dev/null | cut -f2 | sort -u | tr '\n' ' ')
  marked=yes
  if [ "$changed" -gt 0 ] || [ "$kind" == undo ]; then [ "$states" == "済み " ] || marked=no; fi
  table=whole
  if [ -e "$work/home/mvchars.txt" ]; then
    python3 -c 'import sys
codes, chars = set(), set()
for line in open(sys.argv[1], encoding="utf-8").read().split("\n")[:-1]:
    if line.startswith("#"): continue
    code, char = line.split("\t")[:2]
    if code in codes or char in chars: sys.exit(1)
    codes.add(code); chars.add(char)' "$work/home/mvchars.txt" || table=broken
  fi
  if [ "$before" == "$after" ] && [ "$marked" == yes ] && [ "$table" == whole ]; then
    restored=$((restored + 1))
    echo "trial $trial: $changed changed before the kill, restored"
  else
    echo "trial $trial: $changed changed before the kill, NOT restored (runs: $states, table: $table):"
    diff <(echo "$before") <(echo "$after") | head -5
  fi
  chmod -R u+w "$work"
  rm -rf "$work"
done
echo "$kind: $restored of $trials restored ($interrupted killed after changing something)"
[ "$restored" -eq "$trials" ]
