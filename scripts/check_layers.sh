#!/bin/bash
# Checks that every folder of src/ includes only itself and the folders it is declared to stand on (the
# morva_layer() and morva_qt_layer() lines of src/CMakeLists.txt, followed transitively), and that the
# engine, the log and the undo never call a front end for what the job record holds or the verdict of
# validation reports (the file list, the target path shown, the directory flags cleared, the setting to
# focus). Prints each offence and exits 1 when there is one. Run by the test suite.
#
#   scripts/check_layers.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
declare -A direct
while read -r name deps; do
  direct[$name]=$deps
done < <(sed -nE 's/^morva_(qt_)?layer\(([a-z]+) ?([a-z ]*)\)$/\2 \3/p' "$root/src/CMakeLists.txt")

# The folders `name` may include: itself and everything below it.
allowed() {
  local seen=" $1 " queue=$1 next dep
  while [ -n "$queue" ]; do
    next=
    for dep in $queue; do
      for d in ${direct[$dep]:-}; do
        case "$seen" in *" $d "*) ;; *) seen+="$d "; next+=" $d" ;; esac
      done
    done
    queue=$next
  done
  echo "$seen"
}

status=0
for folder in "${!direct[@]}"; do
  ok=$(allowed "$folder")
  while IFS=: read -r file line include; do
    used=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$include")
    case "$ok" in
      *" $used "*) ;;
      *) echo "$file:$line: $folder may not include $used (${include})"; status=1 ;;
    esac
  done < <(grep -nE '^#include "[a-z_]+/' "$root/src/$folder"/*.h "$root/src/$folder"/*.cc 2>/dev/null || true)
done
# Front-end functions the engine must not call: their inputs and outputs pass through the job and the
# verdict instead.
while IFS=: read -r file line call; do
  echo "$file:$line: calls a front-end function: ${call}"
  status=1
done < <(grep -nE '(\.|->)[[:space:]]*(ListItems|SetTargetPath|ClearDirectoryTargets|FocusSetting)[[:space:]]*\(' \
           "$root"/src/engine/*.h "$root"/src/engine/*.cc "$root"/src/log/*.h "$root"/src/log/*.cc \
           "$root"/src/undo/*.h "$root"/src/undo/*.cc 2>/dev/null || true)
for dir in "$root"/src/*/; do
  folder=$(basename "$dir")
  [ -n "${direct[$folder]+set}" ] || { echo "src/$folder has no morva_layer() line"; status=1; }
done
exit $status
