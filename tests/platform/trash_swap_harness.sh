#!/bin/bash
# Deletes a tree into the trash with morva-cli while its directories are swapped for links to a directory
# outside, over and over. Nothing outside may reach the trash or go missing, and every .trashinfo must
# name a place in the tree. Usage: trash_swap_harness.sh MORVA_CLI SWAPPER [TRIALS] [DIRS] [FILES]
# Prints one line per trial and a total; exits 1 when anything outside was touched.
set -u
cli=$1
swapper=$2
trials=${3:-10}
dirs=${4:-8}
files=${5:-400}

lost_total=0
leaked_total=0
misnamed_total=0
trashed_total=0
for trial in $(seq 1 "$trials"); do
  work=$(mktemp -d)
  mkdir "$work/tree" "$work/outside" "$work/home" "$work/morva"
  (cd "$work/outside" && seq -f 'f%05g' 1 "$files" | while read -r f; do echo outside > "$f"; done)
  swapped=()
  for d in $(seq 1 "$dirs"); do
    mkdir "$work/tree/d$d"
    (cd "$work/tree/d$d" && seq -f 'f%05g' 1 "$files" | while read -r f; do echo tree > "$f"; done)
    swapped+=("$work/tree/d$d")
  done

  # The test's own trash on the tree's file system: never the real user's.
  HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$swapper" "$work/outside" "${swapped[@]}" >/dev/null &
  swapper_pid=$!
  HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$cli" --home "$work/morva" --set SW_DEL=100 \
    --set SW_SET=001000000000 --yes run "$work/tree" >/dev/null 2>&1
  kill -TERM "$swapper_pid"
  wait "$swapper_pid"

  left=$(find "$work/outside" -type f | wc -l)
  lost=$((files - left))
  trash="$work/home/data/Trash"
  leaked=0
  [ -d "$trash/files" ] && leaked=$(grep -rlx outside "$trash/files" 2>/dev/null | wc -l)
  trashed=0
  [ -d "$trash/files" ] && trashed=$(find "$trash/files" -type f | wc -l)
  misnamed=0
  if [ -d "$trash/info" ]; then
    misnamed=$(grep -h '^Path=' "$trash/info"/*.trashinfo 2>/dev/null | grep -vc "^Path=$work/tree/")
  fi
  echo "trial $trial: $trashed in the trash, $lost lost outside, $leaked outside files in the trash, $misnamed .trashinfo naming a place outside the tree"
  lost_total=$((lost_total + lost))
  leaked_total=$((leaked_total + leaked))
  misnamed_total=$((misnamed_total + misnamed))
  trashed_total=$((trashed_total + trashed))
  rm -rf "$work"
done
echo "$trials trials: $trashed_total in the trash, $lost_total lost outside, $leaked_total outside files in the trash, $misnamed_total misnamed"
[ "$lost_total" -eq 0 ] && [ "$leaked_total" -eq 0 ] && [ "$misnamed_total" -eq 0 ]
