#!/bin/bash
# Times exiftool reading the shooting date from N mixed photos and movies (HEIC, MP4, DNG, JPEG; 10000 by
# default) and mutagen reading the tags of N FLAC and M4A files, against media_bench reading the same
# files, and prints the ratios. exiftool runs once over the whole directory with -fast -json, its
# quickest way through many files; mutagen runs in one Python process over the whole directory. Installs
# nothing: without exiftool or mutagen the script stops.
#
#   bench/compare_media_tools.sh [N] [BUILD_DIR]
#
# BUILD_DIR defaults to the optimised tree of `make bench` (build-bench), else build.
set -u
count=${1:-10000}
. "$(dirname "$0")/compare_support.sh"
bench_bin=$(built_path bench/media_bench "${2:-}")
have_tool exiftool libimage-exiftool-perl "nothing to compare" || exit 1
python=/usr/bin/python3
"$python" -c 'import mutagen' 2>/dev/null || { echo "mutagen: not installed (sudo apt-get install python3-mutagen)"; exit 1; }
require_built "$bench_bin"

dir=$(mktemp -d /tmp/morva-media-tools-XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/photos" "$dir/music"
"$bench_bin" --populate_photos="$dir/photos" --file_count="$count" || exit 1
"$bench_bin" --populate_music="$dir/music" --file_count="$count" || exit 1

echo "dates from $count photos and movies (HEIC, MP4, DNG, JPEG)"
# Both read from the page cache: one untimed pass first.
exiftool -fast -json -DateTimeOriginal -CreationDate "$dir/photos" >/dev/null 2>&1
start=$(date +%s.%N)
dated=$(exiftool -fast -json -DateTimeOriginal -CreationDate "$dir/photos" 2>/dev/null |
        grep -c '"\(DateTimeOriginal\|CreationDate\)": "20')
end=$(date +%s.%N)
exiftool_ms=$(elapsed_ms "$start" "$end")
printf '%-28s %10.1f ms   (%d of %d dated)\n' "exiftool -fast -json" "$exiftool_ms" "$dated" "$count"
dates_ms=$(benchmark_time BM_MixedDates "$bench_bin" --file_count="$count" --benchmark_filter=BM_MixedDates)
[ -n "$dates_ms" ] || { echo "media_bench failed"; exit 1; }
printf '%-28s %10.1f ms\n' "ExifReader::ReadDate" "$dates_ms"
printf 'ratio: %.0fx faster (target: at least 50x)\n\n' "$(echo "$exiftool_ms / $dates_ms" | bc -l)"

echo "tags from $count FLAC and M4A files"
read -r -d '' script <<'PY'
import os, sys, mutagen
d = sys.argv[1]
tagged = 0
for name in sorted(os.listdir(d)):
    f = mutagen.File(os.path.join(d, name))
    if f is not None and f.tags is not None and (f.tags.get('title') or f.tags.get('\xa9nam')):
        tagged += 1
print(tagged)
PY
"$python" -c "$script" "$dir/music" >/dev/null
start=$(date +%s.%N)
tagged=$("$python" -c "$script" "$dir/music")
end=$(date +%s.%N)
mutagen_ms=$(elapsed_ms "$start" "$end")
printf '%-28s %10.1f ms   (%d of %d tagged)\n' "mutagen.File" "$mutagen_ms" "$tagged" "$count"
tags_ms=$(benchmark_time BM_MusicTags "$bench_bin" --file_count="$count" --benchmark_filter=BM_MusicTags)
[ -n "$tags_ms" ] || { echo "media_bench failed"; exit 1; }
printf '%-28s %10.1f ms\n' "Id3Reader::Read" "$tags_ms"
printf 'ratio: %.0fx faster (target: at least 10x)\n' "$(echo "$mutagen_ms / $tags_ms" | bc -l)"
