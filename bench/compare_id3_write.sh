#!/bin/bash
# Times `mid3v2 -t ... -a ...` setting the title and artist of N MP3 files of 4 MB (1000 by default)
# against id3_write_bench doing the same to the same files with WriteId3, and prints the ratio. The files
# are copies of one file of 4 MB of audio that mid3v2 tagged itself (ID3v2.4, 1 KB of padding), so both
# change every tag within its padding. mid3v2 runs as one process over all files, its fairest case; it
# keeps no safety copy and flushes nothing, where WriteId3 makes a whole copy of every file, flushes the
# file to the disk and removes the copy.
#
#   bench/compare_id3_write.sh [N] [BASE_DIR | xfs] [path/to/id3_write_bench]
#
# The files go to a fresh directory under BASE_DIR (default /tmp). With "xfs" they go to an XFS file
# system with reflinks, made in a file and mounted on a loop device for the run (root and mkfs.xfs from
# xfsprogs needed), where a safety copy shares the file's blocks instead of copying 4 MB. id3_write_bench
# defaults to the optimised tree of `make bench` (build-bench), else build.
set -u
count=${1:-1000}
base=${2:-/tmp}
. "$(dirname "$0")/compare_support.sh"
bench=${3:-$(built_path bench/id3_write_bench)}
have_tool mid3v2 python3-mutagen "nothing to compare" || exit 1
require_built "$bench"

mounted=""
image=""
cleanup() {
  [ -n "${dir:-}" ] && rm -rf "$dir"
  if [ -n "$mounted" ]; then
    umount "$mounted" && rmdir "$mounted"
  fi
  [ -n "$image" ] && rm -f "$image"
}
trap cleanup EXIT

if [ "$base" == "xfs" ]; then
  have_tool mkfs.xfs xfsprogs || exit 1
  image=$(mktemp /tmp/morva-xfs-XXXXXX.img) || exit 1
  # Room for the files, their copies in mid3v2's run (none) and ours (shared blocks), and the template.
  truncate -s $(((count * 5 + 512) * 1024 * 1024)) "$image"
  mkfs.xfs -q -m reflink=1 "$image" || exit 1
  mounted=$(mktemp -d /tmp/morva-xfs-mount-XXXXXX) || exit 1
  if ! mount -o loop "$image" "$mounted"; then
    rmdir "$mounted"
    mounted=""
    echo "cannot mount an XFS image here"
    exit 1
  fi
  base=$mounted
fi

dir=$(mktemp -d "$base/morva-id3-write-XXXXXX") || exit 1
template="$dir/template.bin"
# 4 MB of MPEG-1 layer III frames: a frame header, then 413 bytes of filler.
frame=$(mktemp) && { printf '\xff\xfb\x90\x64'; head -c 413 /dev/zero | tr '\0' 'U'; } >"$frame"
for _ in $(seq 10045); do cat "$frame"; done >"$template"
rm -f "$frame"
mid3v2 -t 'Old title of the song' -a 'Old artist' -A 'Album Name' "$template" || exit 1
mkdir "$dir/files"
# Files of their own, as songs are: copies sharing the template's blocks would make every write a
# copy-on-write of shared blocks.
seq -f "$dir/files/song%05g.mp3" 0 $((count - 1)) | xargs -n 100 -P 2 sh -c 'for f; do cp --reflink=never "$0" "$f"; done' "$template"
echo "$(ls "$dir/files" | wc -l) files of $(stat -c %s "$template") bytes in $dir/files ($(stat -f -c %T "$dir"))"
sync
# Both read from the page cache.
find "$dir/files" -name '*.mp3' -exec cat {} + >/dev/null

start=$(date +%s.%N)
# A tag that shrinks is written anew with the whole file after it, and mid3v2 ends each text with a
# zero byte that WriteId3 does not write: mid3v2's texts are one character shorter than those of
# id3_write_bench ('New title A', 'New artist'), so that the tags stay within their padding.
find "$dir/files" -name '*.mp3' -print0 | xargs -0 mid3v2 -t 'New title' -a 'New artis'
end=$(date +%s.%N)
mid3v2_ms=$(elapsed_ms "$start" "$end")
printf '%-40s %8.0f ms\n' "mid3v2 -t -a (no copy, no flush)" "$mid3v2_ms"
# What mid3v2 left unwritten is not charged to the next run (a reflink waits for it).
sync

ours_ms=$(benchmark_time BM_WriteTitleAndArtist "$bench" --mp3_dir="$dir/files")
if [ -z "$ours_ms" ]; then
  echo "id3_write_bench failed"
  exit 1
fi
printf '%-40s %8.0f ms\n' "WriteId3 (safety copy, flush)" "$ours_ms"
printf 'ratio: %.2fx as fast as mid3v2 (target: at least 3x)\n' "$(echo "$mid3v2_ms / $ours_ms" | bc -l)"
left=$(find "$dir/files" -name '*.bak*' | wc -l)
[ "$left" -eq 0 ] || echo "$left safety copies left behind"
