#!/bin/bash
# Times other renaming tools doing the renames of conversion_run_bench (file0000000.txt ->
# FILE0000000.txt, the base name upper-cased, the extension kept) on a fresh directory of N files
# (100000 by default) under /tmp, one fresh directory per tool. Installs nothing: a missing tool is
# skipped with the command that installs it.
#
#   bench/compare_rename_tools.sh [N]      (ROUNDS=k repeats the comparison k times, interleaved)
set -u
count=${1:-100000}
. "$(dirname "$0")/compare_support.sh"

# A fresh directory of `count` empty files; its path on stdout.
make_tree() {
  local dir
  dir=$(mktemp -d /tmp/morva-tools-bench-XXXXXX) || exit 1
  (cd "$dir" && seq -f 'file%07g.txt' 0 $((count - 1)) | xargs touch)
  echo "$dir"
}

# Runs "$@" inside a fresh tree, prints the wall time and checks that every name was changed.
time_in_tree() {
  local label=$1
  shift
  local dir start end renamed
  dir=$(make_tree)
  sync
  start=$(date +%s.%N)
  (cd "$dir" && "$@") >/dev/null 2>&1
  end=$(date +%s.%N)
  renamed=$(find "$dir" -maxdepth 1 -name 'FILE*.txt' | wc -l)
  printf '%-28s %8.0f ms   (%d of %d renamed)\n' "$label" "$(elapsed_ms "$start" "$end")" "$renamed" "$count"
  rm -rf "$dir"
}

run_mmv() { mmv 'file*.txt' 'FILE#1.txt'; }
# The shell's own printf lists the names, so no argument list grows past the kernel's limit.
run_perl_rename() { printf '%s\0' file*.txt | rename -0 's/^file/FILE/'; }

# morva-cli as a person runs it, the log on (in a fresh home, so the log starts empty): MORVA_CLI, else
# the optimised one of `make bench` (build-bench), else the one of build.
cli=$(realpath -m "${MORVA_CLI:-$(built_path src/morva-cli)}")
run_morva() {
  local home
  home=$(mktemp -d /tmp/morva-tools-bench-home-XXXXXX)
  "$cli" --home "$home" --set SW_FNM=1 --set FNM_IPN_SEL=1 --set FNM_IPN2=1 --set FNM_01=1 --yes run .
  rm -rf "$home"
}

# The floor: renameat2 over the known names, built beside morva-cli.
loop=$(dirname "$cli")/../bench/plain_rename_loop
run_loop() { "$loop" "$count"; }

rounds=${ROUNDS:-1}
echo "renaming $count files in one directory, $rounds round(s)"
for ((round = 0; round < rounds; ++round)); do
if [ -x "$loop" ]; then
  time_in_tree "plain renameat2 loop" run_loop
else
  echo "plain_rename_loop: not built (make bench); skipped"
fi
if [ -x "$cli" ]; then
  time_in_tree "morva-cli (log on)" run_morva
else
  echo "morva-cli: not built at $cli (make bench, or set MORVA_CLI); skipped"
fi
if have_tool mmv mmv skipped; then
  time_in_tree "mmv" run_mmv
fi
if rename --version 2>/dev/null | grep -qi 'File::Rename'; then
  time_in_tree "rename (perl)" run_perl_rename
else
  echo "rename: perl rename not installed (sudo apt-get install rename); skipped"
fi
done
echo "compare with: $(realpath -m "$(dirname "$cli")/../bench/conversion_run_bench")" \
  "--benchmark_filter='BM_Run|BM_PlainRenameLoop'"
