#ifndef MORVA_PLATFORM_DOS_ATTRIB_H_
#define MORVA_PLATFORM_DOS_ATTRIB_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_time.h"

namespace morva {

// The extended attribute in which Samba and the kernel's SMB server keep the DOS attributes and the
// creation time, so a share exported from here shows what the engine set to Windows clients.
inline constexpr const char kDosAttribXattrName[] = "user.DOSATTRIB";

// Which fields of a DOSATTRIB value hold information (the "valid flags" of versions 3 to 5).
inline constexpr std::uint32_t kDosAttribValidAttributes = 0x1;
inline constexpr std::uint32_t kDosAttribValidCreationTime = 0x10;

// The decoded content of a DOSATTRIB value. Fields this program does not use (itime, other valid
// flags) are carried so that rewriting the value keeps them.
struct DosAttrib {
  std::uint32_t valid_flags = 0;
  std::uint32_t attributes = 0;  // the kAttr* bits
  FileTime itime = 0;
  FileTime creation_time = 0;
};

// Reads a DOSATTRIB value: the NDR forms of versions 3, 4 and 5 (laid out as Samba's NDR lays out its
// xattr_DOSATTRIB: the attribute text, the version at the next even offset, the union's uint16 copy of
// it, the version's fields from the next multiple of 4, 8-byte times on 4-byte alignment), and the plain
// "0x<hex>" string form of the oldest writers (attributes only). Valid flags of fields that version 4
// has no place for are dropped. False when the value is none of these; every read stays inside `blob`.
bool DecodeDosAttrib(std::string_view blob, DosAttrib* out);

// The version 4 form of `value` (32 bytes, little-endian): the empty hex string padded to 2 bytes,
// uint16 version 4, uint32 version 4, uint32 valid flags, uint32 attributes, uint64 itime, uint64
// creation time.
std::string EncodeDosAttrib(const DosAttrib& value);

}  // namespace morva

#endif  // MORVA_PLATFORM_DOS_ATTRIB_H_
