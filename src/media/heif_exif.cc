// The Exif item of a HEIF file (HEIC, AVIF): its number from the item information box, its place from
// the item location box, both in the file's `meta` box.

#include <optional>
#include <vector>

#include "media/exif_sources.h"
#include "media/iso_box.h"

namespace morva::media {
namespace {

// The item tables are read this far; a phone's photo has tables of a few kilobytes.
constexpr std::size_t kMaxTableRead = 1 << 20;
constexpr std::size_t kFullBoxHeader = 4;  // version, flags
constexpr std::size_t kMaxInfeRead = 16;

struct Extent {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

struct ItemLocation {
  int construction_method = 0;  // 0 offsets in the file, 1 offsets in the idat box
  std::vector<Extent> extents;  // offsets with the base offset added
};

// The number of the first item of type "Exif" in the item information box `iinf`.
std::optional<std::uint32_t> ExifItemId(FileWindow& file, const Box& iinf) {
  std::string_view head;
  if (!BoxBody(file, iinf, kFullBoxHeader + 4, &head) || head.size() < kFullBoxHeader + 2) return std::nullopt;
  const std::size_t count_size = head[0] == 0 ? 2 : 4;
  BoxWalk entries(file, iinf.body + kFullBoxHeader + count_size, iinf.end);
  Box infe;
  while (entries.Find(FourCc("infe"), &infe)) {
    std::string_view e;
    // Versions 2 and 3: id (16 or 32 bits), protection index (16 bits), item type.
    if (!BoxBody(file, infe, kMaxInfeRead, &e) || e.size() < 12 || (e[0] != 2 && e[0] != 3)) continue;
    const bool wide_id = e[0] == 3;
    if (e.size() < (wide_id ? 14u : 12u)) continue;
    if (Be32(e, wide_id ? 10 : 8) == FourCc("Exif")) return wide_id ? Be32(e, 4) : Be16(e, 4);
  }
  return std::nullopt;
}

// Reads the fields of an item location table one after the other; any field past the table's end makes
// the table unreadable.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}
  bool Read(std::size_t width, std::uint64_t* value) {
    if (width > bytes_.size() - pos_) return false;
    *value = BeN(bytes_, pos_, width);
    pos_ += width;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// Where item `id` lies according to the item location box `iloc`.
std::optional<ItemLocation> LocateItem(FileWindow& file, const Box& iloc, std::uint32_t id) {
  std::string_view table;
  if (!BoxBody(file, iloc, kMaxTableRead, &table)) return std::nullopt;
  FieldReader r(table);
  std::uint64_t version = 0, flags = 0, sizes = 0, sizes2 = 0, count = 0;
  if (!r.Read(1, &version) || !r.Read(3, &flags) || !r.Read(1, &sizes) || !r.Read(1, &sizes2)) return std::nullopt;
  if (version > 2) return std::nullopt;
  const std::size_t offset_size = sizes >> 4, length_size = sizes & 0xF, base_size = sizes2 >> 4;
  const std::size_t index_size = version == 0 ? 0 : sizes2 & 0xF;
  // Field widths are 0, 4 or 8 bytes; anything else is no table this reader understands.
  for (std::size_t w : {offset_size, length_size, base_size, index_size}) {
    if (w != 0 && w != 4 && w != 8) return std::nullopt;
  }
  if (!r.Read(version < 2 ? 2 : 4, &count)) return std::nullopt;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t item = 0, method = 0, reference = 0, base = 0, extent_count = 0;
    if (!r.Read(version < 2 ? 2 : 4, &item)) return std::nullopt;
    if (version != 0 && !r.Read(2, &method)) return std::nullopt;
    if (!r.Read(2, &reference) || !r.Read(base_size, &base) || !r.Read(2, &extent_count)) return std::nullopt;
    // Extents of no bytes at all could only repeat one another: a count of them is a damaged table.
    if (index_size + offset_size + length_size == 0 && extent_count > 1) return std::nullopt;
    ItemLocation location;
    location.construction_method = static_cast<int>(method & 0xF);
    for (std::uint64_t k = 0; k < extent_count; ++k) {
      std::uint64_t index = 0;
      Extent extent;
      if (!r.Read(index_size, &index) || !r.Read(offset_size, &extent.offset) || !r.Read(length_size, &extent.length)) {
        return std::nullopt;
      }
      if (item == id) {
        extent.offset += base;
        location.extents.push_back(extent);
      }
    }
    // Data in another file (a data reference other than this one) is not read.
    if (item == id) return reference == 0 ? std::optional<ItemLocation>(std::move(location)) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

bool FindHeifExif(FileWindow& file, std::string* block) {
  Box meta, box, iinf, iloc, idat;
  BoxWalk top(file, 0, file.size());
  if (!top.Find(FourCc("meta"), &meta)) return false;
  bool have_iinf = false, have_iloc = false, have_idat = false;
  BoxWalk children(file, meta.body + kFullBoxHeader, meta.end);
  while (children.Next(&box)) {
    if (box.type == FourCc("iinf") && !have_iinf) iinf = box, have_iinf = true;
    if (box.type == FourCc("iloc") && !have_iloc) iloc = box, have_iloc = true;
    if (box.type == FourCc("idat") && !have_idat) idat = box, have_idat = true;
  }
  if (!have_iinf || !have_iloc) return false;
  const std::optional<std::uint32_t> id = ExifItemId(file, iinf);
  if (!id) return false;
  const std::optional<ItemLocation> location = LocateItem(file, iloc, *id);
  if (!location || location->extents.empty()) return false;
  if (location->construction_method > 1 || (location->construction_method == 1 && !have_idat)) return false;

  // The item's bytes: its extents one after the other. A length of 0 runs to the end of the file (or of
  // the idat box).
  const std::uint64_t area_start = location->construction_method == 0 ? 0 : idat.body;
  const std::uint64_t area_end = location->construction_method == 0 ? file.size() : idat.end;
  std::string item;
  for (const Extent& extent : location->extents) {
    if (extent.offset > area_end - area_start) return false;
    const std::uint64_t at = area_start + extent.offset;
    std::uint64_t length = extent.length == 0 ? area_end - at : extent.length;
    if (length > area_end - at) return false;
    if (length > kMaxExifBlock - item.size()) length = kMaxExifBlock - item.size();
    std::string_view bytes;
    if (!file.Bytes(at, static_cast<std::size_t>(length), &bytes)) return false;
    item.append(bytes);
    if (item.size() == kMaxExifBlock) break;
  }
  // The item starts with the offset of the TIFF header counted from the end of that field; writers put
  // "Exif\0\0" in between.
  constexpr std::size_t kOffsetField = 4;
  if (item.size() < kOffsetField) return false;
  const std::uint64_t skip = Be32(item, 0);
  if (skip > item.size() - kOffsetField) return false;
  block->assign(item, kOffsetField + static_cast<std::size_t>(skip));
  return true;
}

}  // namespace morva::media
