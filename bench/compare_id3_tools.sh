#!/bin/bash
# Times `mid3v2 -l` listing the tags of N MP3 files (10000 by default) against id3_bench reading the
# title of the same files, and prints the ratio. The files are copies of one file of fake audio frames
# tagged by mid3v2 (ID3v2.4, UTF-8, 1 KB of padding), under a fresh directory in /tmp. mid3v2 runs as one
# process over all files (xargs only splits the list past the kernel's argument limit), its fairest
# case. Installs nothing: without mid3v2 the script says how to get it and stops.
#
#   bench/compare_id3_tools.sh [N] [path/to/id3_bench]
#
# id3_bench defaults to the optimised tree of `make bench` (build-bench), else build.
set -u
count=${1:-10000}
. "$(dirname "$0")/compare_support.sh"
bench=${2:-$(built_path bench/id3_bench)}
have_tool mid3v2 python3-mutagen "nothing to compare" || exit 1
require_built "$bench"

dir=$(mktemp -d /tmp/morva-id3-tools-XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT

# 20 MPEG-1 layer III frame headers, each followed by 413 filler bytes: about 8 KB of "audio".
template="$dir/template.bin"
for _ in $(seq 20); do
  printf '\xff\xfb\x90\x64'
  head -c 413 /dev/zero | tr '\0' 'U'
done >"$template"
mid3v2 -t '曲名 Title of the song' -a 'Artist Name' -A 'Album Name' -T 3/12 -y 2013 -g Rock \
  -c 'A comment' "$template" || exit 1
mkdir "$dir/files"
seq -f "$dir/files/song%05g.mp3" 0 $((count - 1)) | xargs -n 200 -P 2 sh -c 'for f; do cp "$0" "$f"; done' "$template"
echo "$(ls "$dir/files" | wc -l) files of $(stat -c %s "$template") bytes in $dir/files"

# Both read from the page cache.
find "$dir/files" -name '*.mp3' -exec cat {} + >/dev/null

start=$(date +%s.%N)
find "$dir/files" -name '*.mp3' -print0 | xargs -0 mid3v2 -l >"$dir/mid3v2.out"
end=$(date +%s.%N)
mid3v2_ms=$(elapsed_ms "$start" "$end")
titles=$(grep -c '^TIT2=' "$dir/mid3v2.out")
printf '%-28s %8.0f ms   (%d titles)\n' "mid3v2 -l" "$mid3v2_ms" "$titles"

ours_ms=$(benchmark_time BM_ReadTitles "$bench" --mp3_dir="$dir/files")
if [ -z "$ours_ms" ]; then
  echo "id3_bench failed"
  exit 1
fi
printf '%-28s %8.1f ms\n' "id3_bench (Id3Reader)" "$ours_ms"
printf 'ratio: %.1fx faster (target: at least 10x)\n' "$(echo "$mid3v2_ms / $ours_ms" | bc -l)"
