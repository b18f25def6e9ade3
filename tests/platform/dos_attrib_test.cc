#include "platform/dos_attrib.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morva {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

void Le(std::uint64_t v, int n, std::string* out) {
  for (int i = 0; i < n; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

TEST(DosAttribTest, EncodesVersion4ByteForByte) {
  DosAttrib a;
  a.valid_flags = 0x11;
  a.attributes = 0x22;
  a.itime = 0x0102030405060708ULL;
  a.creation_time = 0x1112131415161718ULL;
  const std::string expected = Bytes({
      0x00, 0x00,                                      // empty text + padding
      0x04, 0x00,                                      // version
      0x04, 0x00, 0x00, 0x00,                          // discriminant
      0x11, 0x00, 0x00, 0x00,                          // valid flags
      0x22, 0x00, 0x00, 0x00,                          // attributes
      0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // itime
      0x18, 0x17, 0x16, 0x15, 0x14, 0x13, 0x12, 0x11,  // creation time
  });
  EXPECT_EQ(EncodeDosAttrib(a), expected);

  DosAttrib back;
  ASSERT_TRUE(DecodeDosAttrib(expected, &back));
  EXPECT_EQ(back.valid_flags, 0x11u);
  EXPECT_EQ(back.attributes, 0x22u);
  EXPECT_EQ(back.itime, a.itime);
  EXPECT_EQ(back.creation_time, a.creation_time);
}

// Version 3 as Samba wrote it, with the attribute text in front: the text pads the version to offset 6
// and the arm starts at the next multiple of 4.
std::string Version3Blob() {
  std::string b = "0x22";
  b.push_back('\0');
  b.push_back('\0');  // align to 2
  Le(3, 2, &b);       // version at 6
  Le(3, 2, &b);       // discriminant at 8
  Le(0x2, 2, &b);     // padding up to 12 (any content is ignored)
  b.resize(12, '\0');
  Le(0x11, 4, &b);  // valid flags
  Le(0x22, 4, &b);  // attributes
  Le(7, 4, &b);     // ea_size
  Le(100, 8, &b);   // size
  Le(4096, 8, &b);  // alloc_size
  Le(0xAABBCCDDEEFF0011ULL, 8, &b);  // creation time
  Le(0x99, 8, &b);                   // change time
  return b;
}

std::string Version5Blob() {
  std::string b;
  Le(0, 2, &b);
  Le(5, 2, &b);
  Le(5, 4, &b);
  Le(0x1, 4, &b);
  Le(0x06, 4, &b);
  Le(0x0123456789ABCDEFULL, 8, &b);
  return b;
}

TEST(DosAttribTest, ReadsVersions3And5AndTheStringForm) {
  DosAttrib a;
  ASSERT_TRUE(DecodeDosAttrib(Version3Blob(), &a));
  EXPECT_EQ(a.valid_flags, 0x11u);
  EXPECT_EQ(a.attributes, 0x22u);
  EXPECT_EQ(a.creation_time, 0xAABBCCDDEEFF0011ULL);
  EXPECT_EQ(a.itime, 0u);

  ASSERT_TRUE(DecodeDosAttrib(Version5Blob(), &a));
  EXPECT_EQ(a.valid_flags, 0x1u);
  EXPECT_EQ(a.attributes, 0x06u);
  EXPECT_EQ(a.creation_time, 0x0123456789ABCDEFULL);

  // The plain text, with and without its NUL.
  ASSERT_TRUE(DecodeDosAttrib(std::string("0x20\0", 5), &a));
  EXPECT_EQ(a.attributes, 0x20u);
  EXPECT_EQ(a.valid_flags, kDosAttribValidAttributes);
  ASSERT_TRUE(DecodeDosAttrib("0x7", &a));
  EXPECT_EQ(a.attributes, 0x7u);

  // Text followed by a version 1 part: the text carries the attributes.
  std::string v1("0x26\0\0", 6);
  Le(1, 2, &v1);
  Le(1, 2, &v1);
  v1.resize(12, '\0');
  Le(0x99, 4, &v1);  // info1.attrib (ignored in favour of the text)
  v1.append(36, '\0');
  ASSERT_TRUE(DecodeDosAttrib(v1, &a));
  EXPECT_EQ(a.attributes, 0x26u);

  // Not a DOSATTRIB value at all.
  EXPECT_FALSE(DecodeDosAttrib("", &a));
  EXPECT_FALSE(DecodeDosAttrib(std::string("\0", 1), &a));
  EXPECT_FALSE(DecodeDosAttrib(std::string("hello\0", 6), &a));
  EXPECT_FALSE(DecodeDosAttrib(std::string("0xZZ\0", 5), &a));
  std::string v9 = Version5Blob();
  v9[2] = 9;
  v9[4] = 9;
  EXPECT_FALSE(DecodeDosAttrib(v9, &a));
  std::string mismatch = Version5Blob();
  mismatch[4] = 4;  // discriminant differs from the version
  EXPECT_FALSE(DecodeDosAttrib(mismatch, &a));
}

// Values as Samba's own NDR code packs them (its Python binding's ndr_pack of xattr.DOSATTRIB): the
// attribute text it fills in for version 3 sets where the version and the fields start.
TEST(DosAttribTest, ReadsValuesAsSambaPacksThem) {
  auto hex = [](std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
      out.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    }
    return out;
  };
  const struct {
    const char* what;
    const char* packed;
    std::uint32_t valid_flags, attributes;
    std::uint64_t itime, creation_time;
  } cases[] = {
      {"version 3, text 0x2: fields from offset 8",
       "30783200030003003f000000020000000000000064000000000000000010000000000000000000000000d001000000000000d101",
       0x11, 0x2, 0, 0x01D0000000000000ULL},
      {"version 3, text 0x20: fields from offset 12",
       "3078323000000300030000003f000000200000000000000064000000000000000010000000000000000000000000d001000000000000d101",
       0x11, 0x20, 0, 0x01D0000000000000ULL},
      {"version 4", "00000400040000005100000022000000000000000000cf01000000000000d001", 0x51, 0x22,
       0x01CF000000000000ULL, 0x01D0000000000000ULL},
      {"version 5", "00000500050000005100000022000000000000000000d001", 0x11, 0x22, 0, 0x01D0000000000000ULL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DosAttrib a;
    ASSERT_TRUE(DecodeDosAttrib(hex(c.packed), &a));
    EXPECT_EQ(a.valid_flags, c.valid_flags);
    EXPECT_EQ(a.attributes, c.attributes);
    EXPECT_EQ(a.itime, c.itime);
    EXPECT_EQ(a.creation_time, c.creation_time);
  }
}

// Every truncation of a valid value is rejected, and decoding never reads past the given bytes: each
// prefix lives in a heap block of exactly its size so the address sanitizer sees any overrun.
TEST(DosAttribTest, TruncatedValuesFailWithoutReadingOutside) {
  DosAttrib sample;
  sample.valid_flags = 0x11;
  sample.attributes = 0x2;
  const std::vector<std::string> blobs = {EncodeDosAttrib(sample), Version3Blob(), Version5Blob()};
  for (const std::string& blob : blobs) {
    for (std::size_t n = 0; n < blob.size(); ++n) {
      auto buffer = std::make_unique<char[]>(n == 0 ? 1 : n);
      std::memcpy(buffer.get(), blob.data(), n);
      DosAttrib out;
      out.attributes = 0xDEAD;
      const bool ok = DecodeDosAttrib(std::string_view(buffer.get(), n), &out);
      // A prefix that ends inside or right after the attribute text is the plain string form of the
      // text it holds ("0x2", "0x22", "0x22\0", "0x22\0\0").
      const bool plain = blob[0] == '0' && n >= 3 && n <= 6;
      if (plain) {
        EXPECT_TRUE(ok) << "prefix " << n;
        EXPECT_EQ(out.attributes, n == 3 ? 0x2u : 0x22u) << "prefix " << n;
      } else {
        EXPECT_FALSE(ok) << "prefix " << n;
        EXPECT_EQ(out.attributes, 0xDEADu) << "output touched on failure, prefix " << n;
      }
    }
  }
}

}  // namespace
}  // namespace morva
