#include "media/exif_tiff.h"

#include <optional>

#include "fileops/date_time_text.h"

namespace morva::exif {
namespace {

constexpr std::uint16_t kTypeAscii = 2;

constexpr std::uint16_t kTagImageDescription = 0x010E;
constexpr std::uint16_t kTagMake = 0x010F;
constexpr std::uint16_t kTagModel = 0x0110;
constexpr std::uint16_t kTagSoftware = 0x0131;
constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagArtist = 0x013B;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::uint16_t kTagDateTimeDigitized = 0x9004;
constexpr std::uint16_t kTagPixelX = 0xA002;
constexpr std::uint16_t kTagPixelY = 0xA003;

constexpr std::size_t kEntrySize = 12;

// The bytes of one value of `type`; 0 for a type whose entries are skipped.
unsigned UnitSize(std::uint16_t type) {
  switch (type) {
    case 1:  // BYTE
    case 2:  // ASCII
      return 1;
    case 3:  // SHORT
      return 2;
    case 4:  // LONG
    case 9:  // SLONG
      return 4;
    case 5:   // RATIONAL
    case 10:  // SRATIONAL
      return 8;
    default:
      return 0;
  }
}

std::uint16_t Get16(std::string_view bytes, std::size_t pos, bool big_endian) {
  const auto b0 = static_cast<unsigned char>(bytes[pos]);
  const auto b1 = static_cast<unsigned char>(bytes[pos + 1]);
  return static_cast<std::uint16_t>(big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0);
}

std::uint32_t Get32(std::string_view bytes, std::size_t pos, bool big_endian) {
  const std::uint32_t hi = Get16(bytes, pos + (big_endian ? 0 : 2), big_endian);
  const std::uint32_t lo = Get16(bytes, pos + (big_endian ? 2 : 0), big_endian);
  return (hi << 16) | lo;
}

// Collects the values of one Exif block; an IFD walk of one level at a time.
class IfdWalker {
 public:
  IfdWalker(std::string_view tiff, bool big_endian, ExifDateKind which, ExifValues* values,
            std::string* date_text, std::uint64_t* reach)
      : tiff_(tiff), big_endian_(big_endian), which_(which), values_(values), date_text_(date_text), reach_(reach) {}

  // Level 0 is IFD0, level 1 the Exif IFD; nothing deeper is followed, so offsets that point back at an
  // IFD already seen cannot make the walk loop.
  void Walk(std::uint64_t offset, int level) {
    if (!Inside(offset, 2)) return;
    const std::uint16_t entry_count = Get16(tiff_, offset, big_endian_);
    // Each level knows a fixed set of tags; once every one has been seen the rest of the table is skipped.
    const unsigned all_met = level == 0 ? 0x7F : 0x0F;
    unsigned met = 0;
    for (std::uint32_t i = 0; i < entry_count; ++i) {
      const std::uint64_t entry = offset + 2 + std::uint64_t{kEntrySize} * i;
      if (!Inside(entry, kEntrySize)) return;  // the table runs out of the segment: the rest is absent
      const std::uint16_t tag = Get16(tiff_, entry, big_endian_);
      const int bit = TagBit(tag, level);
      if (bit < 0) continue;
      const std::uint16_t type = Get16(tiff_, entry + 2, big_endian_);
      const unsigned unit = UnitSize(type);
      if (unit == 0) continue;
      met |= 1u << bit;
      const std::uint32_t count = Get32(tiff_, entry + 4, big_endian_);
      const std::uint32_t field = Get32(tiff_, entry + 8, big_endian_);
      // At most (2^32 - 1) * 8: no overflow in 64 bits.
      const std::uint64_t size = std::uint64_t{count} * unit;
      const std::uint64_t at = (tag == kTagExifIfd || size > 4) ? field : entry + 8;
      if (Inside(at, size)) {
        Store(tag, type, tiff_.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(size)), field);
      }
      if (met == all_met) return;
    }
  }

 private:
  // The bit a recognised tag of `level` takes in the walk's record of tags seen; -1 for any other tag.
  static int TagBit(std::uint16_t tag, int level) {
    if (level == 0) {
      switch (tag) {
        case kTagImageDescription: return 0;
        case kTagMake: return 1;
        case kTagModel: return 2;
        case kTagSoftware: return 3;
        case kTagArtist: return 4;
        case kTagDateTime: return 5;
        case kTagExifIfd: return 6;
        default: return -1;
      }
    }
    switch (tag) {
      case kTagDateTimeOriginal: return 0;
      case kTagDateTimeDigitized: return 1;
      case kTagPixelX: return 2;
      case kTagPixelY: return 3;
      default: return -1;
    }
  }

  bool Inside(std::uint64_t offset, std::uint64_t size) const {
    if (offset <= tiff_.size() && size <= tiff_.size() - offset) return true;
    // Both are below 2^36: no overflow.
    if (reach_ != nullptr && offset + size > *reach_) *reach_ = offset + size;
    return false;
  }

  // ASCII values end at their first zero byte (or at the value's end when there is none); other values
  // of 2 or 4 bytes are unsigned numbers in the file's byte order, and of any other size give no text.
  std::string Text(std::uint16_t type, std::string_view value) const {
    if (type == kTypeAscii) return std::string(value.substr(0, value.find('\0')));
    if (value.size() == 2) return std::to_string(Get16(value, 0, big_endian_));
    if (value.size() == 4) return std::to_string(Get32(value, 0, big_endian_));
    return std::string();
  }

  void Store(std::uint16_t tag, std::uint16_t type, std::string_view value, std::uint32_t field) {
    switch (tag) {
      case kTagExifIfd:
        if (!exif_ifd_walked_) {
          exif_ifd_walked_ = true;
          Walk(field, 1);
        }
        return;
      case kTagDateTime:
        exif::StoreDate(kExifDateTime, Text(type, value), which_, values_, date_text_);
        return;
      case kTagDateTimeOriginal:
        exif::StoreDate(kExifDateTimeOriginal, Text(type, value), which_, values_, date_text_);
        return;
      case kTagDateTimeDigitized:
        exif::StoreDate(kExifDateTimeDigitized, Text(type, value), which_, values_, date_text_);
        return;
      case kTagPixelX:
        return StoreText(Text(type, value), &values_->pixel_x);
      case kTagPixelY:
        return StoreText(Text(type, value), &values_->pixel_y);
      case kTagImageDescription:
        return StoreDescriptive(type, value, &values_->image_description);
      case kTagMake:
        return StoreDescriptive(type, value, &values_->make);
      case kTagModel:
        return StoreDescriptive(type, value, &values_->model);
      case kTagSoftware:
        return StoreDescriptive(type, value, &values_->software);
      case kTagArtist:
        return StoreDescriptive(type, value, &values_->artist);
      default:
        return;
    }
  }

  void StoreText(std::string text, std::optional<std::string>* slot) {
    *slot = std::move(text);
    values_->found = true;
  }

  // A value of another type than ASCII keeps its raw bytes; the two zero bytes end it as text in either
  // single-byte or two-byte units.
  void StoreDescriptive(std::uint16_t type, std::string_view value, std::optional<std::string>* slot) {
    if (type == kTypeAscii) return StoreText(Text(type, value), slot);
    std::string raw(value);
    raw.append(2, '\0');
    StoreText(std::move(raw), slot);
  }

  std::string_view tiff_;
  bool big_endian_;
  ExifDateKind which_;
  ExifValues* values_;
  std::string* date_text_;
  std::uint64_t* reach_;
  // Only the first Exif IFD pointer is followed: a table full of them must not multiply the work.
  bool exif_ifd_walked_ = false;
};

}  // namespace

bool ReadTiffHeader(std::string_view tiff, TiffHeader* header) {
  if (tiff.size() < 8) return false;
  bool big_endian;
  if (tiff.substr(0, 2) == "II") {
    big_endian = false;
  } else if (tiff.substr(0, 2) == "MM") {
    big_endian = true;
  } else {
    return false;
  }
  if (Get16(tiff, 2, big_endian) != 42) return false;
  header->big_endian = big_endian;
  header->ifd0_offset = Get32(tiff, 4, big_endian);
  return true;
}

void WalkIfds(std::string_view tiff, const TiffHeader& header, ExifDateKind which, ExifValues* values,
              std::string* date_text, std::uint64_t* reach) {
  if (reach != nullptr) *reach = 0;
  IfdWalker(tiff, header.big_endian, which, values, date_text, reach).Walk(header.ifd0_offset, 0);
}

// A date counts only as a valid "YYYY:MM:DD hh:mm:ss"; cameras that do not know the time write
// "0000:00:00 00:00:00" or blanks, and those must not name a file.
bool StoreDate(ExifDateKind kind, std::string_view text, ExifDateKind which, ExifValues* values,
               std::string* date_text) {
  if (text.size() < 19) return false;
  if (!validate_date_time(text.substr(0, 10), text.substr(11, 8), false)) return false;
  std::string compact;
  compact.reserve(14);
  compact.append(text.substr(0, 4));
  for (std::size_t at : {5, 8, 11, 14, 17}) compact.append(text.substr(at, 2));
  std::optional<std::string>* slot = kind == kExifDateTime           ? &values->date_time
                                     : kind == kExifDateTimeOriginal ? &values->date_time_original
                                                                     : &values->date_time_digitized;
  *slot = std::move(compact);
  values->found = true;
  if (kind == which) date_text->assign(text.substr(0, 19));
  return true;
}

ExifParse ParseExifBlock(std::string_view block, ExifDateKind which, bool probe_only) {
  ExifParse parse;
  constexpr std::string_view kExifHeader("Exif\0\0", 6);
  if (block.substr(0, kExifHeader.size()) == kExifHeader) block.remove_prefix(kExifHeader.size());
  TiffHeader header;
  if (!ReadTiffHeader(block, &header)) return parse;
  parse.has_exif = true;
  if (!probe_only) WalkIfds(block, header, which, &parse.values, &parse.date_text);
  return parse;
}

}  // namespace morva::exif
