#include "platform/dos_attrib.h"

#include <cstddef>
#include <cstdint>

namespace morva {
namespace {

// The valid flags of the fields versions 3 and 5 share with version 4, the one written.
constexpr std::uint32_t kDosAttribValidKept = kDosAttribValidAttributes | kDosAttribValidCreationTime;

// A bounds-checked little-endian reader over a DOSATTRIB value. NDR aligns every scalar to its size
// (4 at most for the types used here) relative to the start of the value; a read that would leave the
// value fails and poisons the reader.
class NdrReader {
 public:
  explicit NdrReader(std::string_view data) : data_(data) {}

  bool ok() const { return ok_; }
  std::size_t offset() const { return offset_; }
  bool AtEnd() const { return offset_ >= data_.size(); }

  void Align(std::size_t n) {
    const std::size_t aligned = (offset_ + n - 1) / n * n;
    if (aligned > data_.size()) {
      ok_ = false;
    } else {
      offset_ = aligned;
    }
  }

  std::uint16_t ReadU16() {
    Align(2);
    return static_cast<std::uint16_t>(ReadBytes(2));
  }
  std::uint32_t ReadU32() {
    Align(4);
    return static_cast<std::uint32_t>(ReadBytes(4));
  }
  // NTTIME and udlong are 8-byte values on a 4-byte alignment.
  std::uint64_t ReadU64() {
    Align(4);
    return ReadBytes(8);
  }

  // A NUL-terminated ASCII string; false (and poisoned) when the value ends before the NUL.
  bool ReadCString(std::string_view* out) {
    if (!ok_) return false;
    const std::size_t nul = data_.find('\0', offset_);
    if (nul == std::string_view::npos) {
      ok_ = false;
      return false;
    }
    *out = data_.substr(offset_, nul - offset_);
    offset_ = nul + 1;
    return true;
  }

 private:
  std::uint64_t ReadBytes(std::size_t n) {
    if (!ok_ || data_.size() - offset_ < n) {
      ok_ = false;
      return 0;
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(data_[offset_ + i])) << (8 * i);
    }
    offset_ += n;
    return v;
  }

  std::string_view data_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

// The attribute text of the oldest writers: "0x" followed by hexadecimal digits.
bool ParseHexAttributes(std::string_view text, std::uint32_t* out) {
  if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return false;
  }
  std::uint32_t v = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    const char c = text[i];
    std::uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else {
      return false;
    }
    v = (v << 4) | digit;
  }
  *out = v;
  return true;
}

void PutLe(std::uint64_t v, std::size_t n, std::string* out) {
  for (std::size_t i = 0; i < n; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

bool DecodeDosAttrib(std::string_view blob, DosAttrib* out) {
  NdrReader r(blob);
  std::string_view hex;
  std::uint32_t hex_attributes = 0;
  bool hex_ok = false;
  if (!r.ReadCString(&hex)) {
    // Some writers stored the attribute text without its terminating NUL.
    if (!ParseHexAttributes(blob, &hex_attributes)) return false;
    *out = DosAttrib{};
    out->valid_flags = kDosAttribValidAttributes;
    out->attributes = hex_attributes;
    return true;
  }
  hex_ok = ParseHexAttributes(hex, &hex_attributes);

  // Only the text (and perhaps the alignment padding after it): the plain string form.
  NdrReader probe = r;
  probe.Align(2);
  if (!probe.ok() || probe.AtEnd()) {
    if (!hex_ok) return false;
    *out = DosAttrib{};
    out->valid_flags = kDosAttribValidAttributes;
    out->attributes = hex_attributes;
    return true;
  }

  const std::uint16_t version = r.ReadU16();
  // The union's discriminant repeats the version; the arm that follows is 4-byte aligned.
  const std::uint16_t discriminant = r.ReadU16();
  if (!r.ok() || discriminant != version) return false;

  DosAttrib result;
  switch (version) {
    case 1:
    case 2: {
      // Versions 1 and 2 predate the valid flags; their writers always filled in the attribute text.
      if (!hex_ok) return false;
      result.valid_flags = kDosAttribValidAttributes;
      result.attributes = hex_attributes;
      *out = result;
      return true;
    }
    case 3: {
      // Of the fields version 3 flags, the sizes and the change time have no place in the version 4
      // value a change writes: their flags go with them.
      result.valid_flags = r.ReadU32() & kDosAttribValidKept;
      result.attributes = r.ReadU32();
      r.ReadU32();  // ea_size
      r.ReadU64();  // size
      r.ReadU64();  // alloc_size
      result.creation_time = r.ReadU64();
      r.ReadU64();  // change_time
      break;
    }
    case 4: {
      result.valid_flags = r.ReadU32();
      result.attributes = r.ReadU32();
      result.itime = r.ReadU64();
      result.creation_time = r.ReadU64();
      break;
    }
    case 5: {
      // Version 5 has no itime: a flag for one would claim the zero a rewrite stores.
      result.valid_flags = r.ReadU32() & kDosAttribValidKept;
      result.attributes = r.ReadU32();
      result.creation_time = r.ReadU64();
      break;
    }
    default:
      return false;
  }
  if (!r.ok()) return false;
  *out = result;
  return true;
}

std::string EncodeDosAttrib(const DosAttrib& value) {
  std::string out;
  out.reserve(32);
  PutLe(0, 2, &out);  // empty attribute text: its NUL and one byte of padding
  PutLe(4, 2, &out);  // version
  PutLe(4, 4, &out);  // union discriminant, padded to the arm's alignment
  PutLe(value.valid_flags, 4, &out);
  PutLe(value.attributes, 4, &out);
  PutLe(value.itime, 8, &out);
  PutLe(value.creation_time, 8, &out);
  return out;
}

}  // namespace morva
