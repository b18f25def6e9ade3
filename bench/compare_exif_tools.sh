#!/bin/bash
# Times exiftool reading DateTimeOriginal from N JPEG files (10000 by default) against exif_bench reading
# the same files, and prints the ratio. The files are N copies of one photo that exiftool itself gave its
# Exif block (IFD0, the Exif IFD, 8 KiB of image data). exiftool runs once over the whole directory with
# -fast, its quickest way through many files. Installs nothing: without exiftool the script stops.
#
#   bench/compare_exif_tools.sh [N] [BUILD_DIR]
#
# BUILD_DIR defaults to the optimised tree of `make bench` (build-bench), else build.
set -u
count=${1:-10000}
. "$(dirname "$0")/compare_support.sh"
bench_bin=$(built_path bench/exif_bench "${2:-}")
have_tool exiftool libimage-exiftool-perl "nothing to compare" || exit 1
require_built "$bench_bin"

dir=$(mktemp -d /tmp/morva-exif-tools-XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/photos"

"$bench_bin" --write_plain="$dir/plain.jpg" || exit 1
exiftool -q -overwrite_original -Make='MORVA' -Model='M-1 Mark II' -Software='firmware 1.02' \
  -ModifyDate='2014:01:02 03:04:05' -DateTimeOriginal='2013:05:04 13:02:09' \
  -CreateDate='2013:05:04 13:02:09' -ExifImageWidth=6000 -ExifImageHeight=4000 "$dir/plain.jpg" || exit 1
"$bench_bin" --template="$dir/plain.jpg" --populate="$dir/photos" --file_count="$count" || exit 1
echo "reading DateTimeOriginal from $count files of $(stat -c %s "$dir/plain.jpg") bytes each"

# Both read from the page cache: one untimed pass first.
exiftool -fast -s3 -DateTimeOriginal "$dir/photos" >/dev/null 2>&1
start=$(date +%s.%N)
dated=$(exiftool -fast -s3 -DateTimeOriginal "$dir/photos" 2>/dev/null | grep -c '^2013:05:04 13:02:09$')
end=$(date +%s.%N)
exiftool_ms=$(elapsed_ms "$start" "$end")
printf '%-28s %10.1f ms   (%d of %d dated)\n' "exiftool -fast" "$exiftool_ms" "$dated" "$count"

morva_ms=$(benchmark_time BM_ReadDateOriginal "$bench_bin" --dir="$dir/photos" --benchmark_filter=BM_ReadDateOriginal)
if [ -z "$morva_ms" ]; then
  echo "exif_bench failed"
  exit 1
fi
printf '%-28s %10.1f ms\n' "ExifReader::ReadDate" "$morva_ms"
printf 'ratio: %.0fx faster (target: at least 20x)\n' "$(echo "$exiftool_ms / $morva_ms" | bc -l)"
