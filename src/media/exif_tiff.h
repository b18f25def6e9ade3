#ifndef MORVA_MEDIA_EXIF_TIFF_H_
#define MORVA_MEDIA_EXIF_TIFF_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "media/exif_reader.h"

// The TIFF structure inside an Exif block: its header and the walk over IFD0 and the Exif IFD. Private to
// the Exif reader; every function here works on bytes already in memory and never reads outside them.
namespace morva::exif {

struct TiffHeader {
  bool big_endian = false;
  std::uint32_t ifd0_offset = 0;  // relative to the start of the TIFF header
};

// Reads the 8-byte TIFF header at the start of `tiff`: "II" or "MM", the value 42 in that byte order and
// the offset of IFD0. False when `tiff` is shorter or any of the three is wrong.
bool ReadTiffHeader(std::string_view tiff, TiffHeader* header);

// Walks IFD0 of `tiff` and the Exif IFD it points to, storing every recognised tag into *values (which the
// caller passes empty) and the requested date's 19 stored bytes into *date_text. `tiff` is everything from
// the TIFF header to the end of the segment: an entry table, a value or a count reaching past it is taken
// as absent.
//
// With `reach` not null, *reach receives the end of the furthest entry table or value that lay past the
// end of `tiff` (0 when none did): a reader of a whole TIFF file that read only its head learns how much
// more a second walk would need.
void WalkIfds(std::string_view tiff, const TiffHeader& header, ExifDateKind which, ExifValues* values,
              std::string* date_text, std::uint64_t* reach = nullptr);

// Stores the date `text` of kind `kind` as every Exif source does: only a valid "YYYY:MM:DD hh:mm:ss"
// (the first 19 bytes of `text`) counts; it goes into its slot of *values as 14 digits and, when `kind`
// is the requested `which`, its 19 bytes into *date_text. False when the text is no valid date.
bool StoreDate(ExifDateKind kind, std::string_view text, ExifDateKind which, ExifValues* values,
               std::string* date_text);

// The Exif data of a container other than JPEG: `block` is the TIFF structure with or without the
// "Exif\0\0" header JPEG puts before it. Parses it as ParseJpegExif parses an APP1 payload.
ExifParse ParseExifBlock(std::string_view block, ExifDateKind which, bool probe_only);

}  // namespace morva::exif

#endif  // MORVA_MEDIA_EXIF_TIFF_H_
