#!/bin/bash
# Kills runs of morva-cli with SIGKILL at random moments, undoes each killed run from the log and checks
# that the tree comes back exactly. Usage: kill_harness.sh MORVA_CLI [TRIALS] [FILES]
# Prints one line per trial and "N of N restored"; exits 1 when a tree did not come back.
set -u
cli=$1
trials=${2:-20}
files=${3:-20000}
job="--set SW_FNM=1 --set FNM_IPN_SEL=1 --set FNM_IPN2=1 --set FNM_01=1"

restored=0
interrupted=0
for trial in $(seq 1 "$trials"); do
  work=$(mktemp -d)
  mkdir "$work/tree" "$work/tree/sub" "$work/home"
  (cd "$work/tree" && seq -f 'file%06g.txt' 0 $((files - 1)) | xargs touch)
  (cd "$work/tree/sub" && seq -f 'inner%04g.dat' 0 99 | xargs touch)
  before=$(cd "$work/tree" && find . | sort)

  "$cli" --home "$work/home" $job --set SW_SET=001100000000 --yes run "$work/tree" >/dev/null 2>&1 &
  pid=$!
  # Anywhere from the run's header (written before the targets are listed) to near the end of the run.
  for _ in $(seq 1 500); do
    [ -e "$work/home/mvlogs.txt" ] && break
    sleep 0.01
  done
  sleep "0.$(printf "%03d" $((RANDOM % 800)))"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null

  during=$(cd "$work/tree" && find . | sort)
  changed=$(comm -13 <(echo "$before") <(echo "$during") | wc -l)
  [ "$changed" -gt 0 ] && interrupted=$((interrupted + 1))
  "$cli" --home "$work/home" --yes undo >/dev/null 2>&1
  after=$(cd "$work/tree" && find . | sort)
  if [ "$before" == "$after" ]; then
    restored=$((restored + 1))
    echo "trial $trial: $changed renamed before the kill, restored"
  else
    echo "trial $trial: $changed renamed before the kill, NOT restored:"
    diff <(echo "$before") <(echo "$after") | head -5
  fi
  rm -rf "$work"
done
echo "$restored of $trials restored ($interrupted killed after renaming something)"
[ "$restored" -eq "$trials" ]
