#ifndef MORVA_MEDIA_EXIF_SOURCES_H_
#define MORVA_MEDIA_EXIF_SOURCES_H_

#include <string>

#include "media/byte_view.h"
#include "media/exif_reader.h"

// The containers the Exif reader takes a date from besides JPEG, one reader each. Private to the Exif
// reader; each stays inside the file and the sizes it declares, and fails only by finding nothing.
namespace morva::media {

// The Exif data is copied at most this far; a TIFF structure the date is not found in by then is taken
// as having none.
inline constexpr std::size_t kMaxExifBlock = 1 << 20;

// The Exif block (TIFF header onwards, "Exif\0\0" possibly in front) of an image file: the Exif item of a
// HEIF/HEIC/AVIF file's `meta` box (found through its item information and location tables), a PNG
// file's eXIf chunk, a WebP file's EXIF chunk. False when the file has none.
bool FindHeifExif(FileWindow& file, std::string* block);
bool FindPngExif(FileWindow& file, std::string* block);
bool FindWebpExif(FileWindow& file, std::string* block);

// A TIFF file, TIFF-based raw images among them: the header (also the variants of Olympus and Panasonic
// raw files) and IFD0 and the Exif IFD wherever in the file they are.
ExifParse ParseTiffFile(ReadableFile& file, ExifDateKind which, bool probe_only);

// The dates of an MP4/MOV/3GP movie: the movie header's creation and modification times (UTC, given in
// the local time zone) and the QuickTime creation date of its metadata (as the camera wrote it, in its
// own zone). The modification time is the DateTime; the QuickTime creation date, else the movie header's
// creation time, is the DateTimeOriginal; the movie header's creation time is the DateTimeDigitized.
// has_exif is set when the file has a movie header.
ExifParse ParseQuickTime(FileWindow& file, ExifDateKind which, bool probe_only);

}  // namespace morva::media

#endif  // MORVA_MEDIA_EXIF_SOURCES_H_
