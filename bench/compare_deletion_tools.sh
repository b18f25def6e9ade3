#!/bin/bash
# Times the tools people use for the same deletions beside deletion_bench:
#   - overwriting a file of M MiB (256 by default) with `shred -n 3 -z` (three random passes and one of
#     zeros) beside FileSystem::Overwrite at level 3 (one random pass, one of 0xE5, one of zeros);
#   - deleting N files (10000 by default) into the trash with `gio trash` (GIO's command line, from
#     libglib2.0-bin, which libglib2.0-dev brings) beside FileSystem::Trash, which trashes through GIO too.
# Each tool works on a fresh copy under /tmp, its trash in a temporary home there. Installs nothing.
#
#   bench/compare_deletion_tools.sh [N] [M] [BUILD_DIR]
#
# BUILD_DIR defaults to the optimised tree of `make bench` (build-bench), else build.
set -u
count=${1:-10000}
mib=${2:-256}
. "$(dirname "$0")/compare_support.sh"
bench_bin=$(built_path bench/deletion_bench "${3:-}")
require_built "$bench_bin"

dir=$(mktemp -d /tmp/morva-deletion-tools-XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT

bench_ms() { benchmark_time "$1" "$bench_bin" --file_count="$count" --wipe_mib="$mib" --benchmark_filter="$1"; }

echo "overwriting a file of $mib MiB"
if have_tool shred coreutils skipped; then
  total=0
  for round in 1 2 3; do
    head -c $((mib << 20)) /dev/zero | tr '\0' x >"$dir/wipe.bin" && sync
    start=$(date +%s.%N)
    shred -n 3 -z "$dir/wipe.bin"
    end=$(date +%s.%N)
    total=$(echo "$total + $(elapsed_ms "$start" "$end")" | bc -l)
  done
  shred_ms=$(echo "$total / 3" | bc -l)
  printf '%-36s %10.1f ms\n' "shred -n 3 -z (mean of 3)" "$shred_ms"
  rm -f "$dir/wipe.bin"
fi
wipe_ms=$(bench_ms BM_OverwriteLevel3)
printf '%-36s %10.1f ms\n' "Overwrite level 3 (mean of 3)" "$wipe_ms"
[ -n "${shred_ms:-}" ] && printf 'ratio: %.2f (shred / morva; target: at least 1)\n' "$(echo "$shred_ms / $wipe_ms" | bc -l)"

echo "deleting $count files into the trash"
if have_tool gio libglib2.0-bin skipped; then
  total=0
  for round in 1 2 3; do
    mkdir -p "$dir/home" "$dir/files"
    (cd "$dir/files" && seq -f 'file%07g.txt' 0 $((count - 1)) | xargs touch)
    start=$(date +%s.%N)
    (cd "$dir/files" && seq -f 'file%07g.txt' 0 $((count - 1)) |
      HOME="$dir/home" XDG_DATA_HOME="$dir/home/data" xargs gio trash)
    end=$(date +%s.%N)
    left=$(find "$dir/files" -type f | wc -l)
    [ "$left" -eq 0 ] || echo "gio trash left $left files"
    total=$(echo "$total + $(elapsed_ms "$start" "$end")" | bc -l)
    rm -rf "$dir/home" "$dir/files"
  done
  gio_ms=$(echo "$total / 3" | bc -l)
  printf '%-36s %10.1f ms\n' "gio trash (mean of 3)" "$gio_ms"
fi
trash_ms=$(bench_ms BM_TrashFiles)
printf '%-36s %10.1f ms\n' "FileSystem::Trash (mean of 3)" "$trash_ms"
[ -n "${gio_ms:-}" ] && printf 'ratio: %.2f (gio / morva; target: at least 1)\n' "$(echo "$gio_ms / $trash_ms" | bc -l)"
exit 0
