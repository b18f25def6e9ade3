#ifndef MORVA_TESTS_COMMON_MEDIA_BUILDER_H_
#define MORVA_TESTS_COMMON_MEDIA_BUILDER_H_

// Builds small photo, movie and audio files in memory for the tests of the media readers: the
// containers (ISO base media boxes, PNG and RIFF chunks, Ogg pages, FLAC blocks, APE tags) with just
// enough inside for exiftool and mutagen to take them for the real thing. Header-only and free of
// GoogleTest, so that the benchmarks and the fuzz corpus use it too.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morva::testing {

namespace media_builder_internal {

inline void Be(std::string* out, std::uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void Le(std::string* out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace media_builder_internal

// An ISO base media box: size, type, body.
inline std::string IsoBox(std::string_view type, std::string_view body) {
  std::string out;
  media_builder_internal::Be(&out, 8 + body.size(), 4);
  out.append(type);
  out.append(body);
  return out;
}

// A full box: version and flags before the body.
inline std::string IsoFullBox(std::string_view type, int version, std::string_view body) {
  std::string head;
  media_builder_internal::Be(&head, static_cast<std::uint64_t>(version) << 24, 4);
  return IsoBox(type, head + std::string(body));
}

inline std::string Ftyp(std::string_view major, std::vector<std::string_view> compatible) {
  std::string body(major);
  media_builder_internal::Be(&body, 0, 4);
  for (std::string_view b : compatible) body.append(b);
  return IsoBox("ftyp", body);
}

// A HEIC file with one coded image item and an Exif item holding "Exif\0\0" and `tiff`, stored in the
// idat box (construction method 1, iloc version 1) or after the meta box in mdat (version 0). Without
// `tiff`, the file has only the image item, which is what exiftool adds an Exif item to.
inline std::string BuildHeic(const std::optional<std::string>& tiff, bool in_idat) {
  using namespace media_builder_internal;
  const std::string ftyp = Ftyp("heic", {"mif1", "heic"});
  std::string exif_item;
  if (tiff) {
    Be(&exif_item, 6, 4);  // the TIFF header follows "Exif\0\0"
    exif_item += std::string("Exif\0\0", 6) + *tiff;
  }
  const std::string image_data(64, '\x55');
  auto infe = [](std::uint32_t id, std::string_view type) {
    std::string body;
    Be(&body, id, 2);
    Be(&body, 0, 2);
    body.append(type);
    body.append("\0", 1);
    return IsoFullBox("infe", 2, body);
  };
  std::string iinf_body;
  Be(&iinf_body, tiff ? 2 : 1, 2);
  iinf_body += infe(1, "hvc1");
  if (tiff) iinf_body += infe(2, "Exif");
  std::string hdlr_body(4, '\0');
  hdlr_body += "pict" + std::string(12, '\0') + std::string(1, '\0');
  std::string pitm_body;
  Be(&pitm_body, 1, 2);
  // iloc: offsets and lengths of 4 bytes, no base offset; each item one extent. The absolute offsets are
  // known once the meta box's size is: lay the box out once with zero offsets to measure it.
  auto meta = [&](std::uint32_t image_offset, std::uint32_t exif_offset) {
    const int version = in_idat ? 1 : 0;
    std::string iloc;
    iloc.push_back('\x44');
    iloc.push_back('\0');
    Be(&iloc, tiff ? 2 : 1, 2);
    auto item = [&](std::uint32_t id, int method, std::uint32_t offset, std::size_t length) {
      Be(&iloc, id, 2);
      if (version == 1) Be(&iloc, method, 2);
      Be(&iloc, 0, 2);  // this file
      Be(&iloc, 1, 2);  // one extent
      Be(&iloc, offset, 4);
      Be(&iloc, length, 4);
    };
    item(1, 0, image_offset, image_data.size());
    if (tiff) item(2, in_idat ? 1 : 0, exif_offset, exif_item.size());
    std::string body = IsoFullBox("hdlr", 0, hdlr_body) + IsoFullBox("pitm", 0, pitm_body) +
                       IsoFullBox("iinf", 0, iinf_body) + IsoFullBox("iloc", version, iloc);
    if (in_idat && tiff) body += IsoBox("idat", exif_item);
    return IsoFullBox("meta", 0, body);
  };
  const std::size_t meta_size = meta(0, 0).size();
  const std::size_t mdat_body = ftyp.size() + meta_size + 8;
  const std::uint32_t image_offset = static_cast<std::uint32_t>(mdat_body);
  const std::uint32_t exif_offset = in_idat ? 0 : static_cast<std::uint32_t>(mdat_body + image_data.size());
  return ftyp + meta(image_offset, exif_offset) + IsoBox("mdat", image_data + (in_idat ? "" : exif_item));
}

// What a movie's moov box holds.
struct MovieContents {
  std::string_view brand = "qt  ";
  bool wide_times = false;  // a version 1 movie header with 64-bit times
  std::uint64_t created = 0, modified = 0;  // seconds since 1904-01-01 00:00:00 UTC
  std::optional<std::string> creation_date;  // the QuickTime creation date text
  bool moov_last = false;                    // the movie box after the media data, as cameras write it
};

// Seconds since 1904-01-01 UTC of a Unix time.
constexpr std::uint64_t MovieTime(std::int64_t unix_seconds) {
  return static_cast<std::uint64_t>(unix_seconds + 2082844800LL);
}

inline std::string BuildMovie(const MovieContents& m) {
  using namespace media_builder_internal;
  std::string mvhd;
  const int width = m.wide_times ? 8 : 4;
  Be(&mvhd, m.created, width);
  Be(&mvhd, m.modified, width);
  Be(&mvhd, 600, 4);  // time scale
  Be(&mvhd, 0, width);  // duration
  Be(&mvhd, 0x00010000, 4);  // rate 1.0
  Be(&mvhd, 0x0100, 2);      // volume 1.0
  mvhd.append(10, '\0');
  for (std::uint32_t v : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u}) Be(&mvhd, v, 4);
  mvhd.append(24, '\0');
  Be(&mvhd, 2, 4);  // next track id
  std::string moov_body = IsoFullBox("mvhd", m.wide_times ? 1 : 0, mvhd);
  if (m.creation_date) {
    std::string hdlr(4, '\0');
    hdlr += "mdta" + std::string(12, '\0') + std::string(1, '\0');
    std::string keys;
    Be(&keys, 1, 4);
    const std::string key = "com.apple.quicktime.creationdate";
    Be(&keys, 8 + key.size(), 4);
    keys += "mdta" + key;
    std::string data;
    Be(&data, 1, 4);  // UTF-8
    Be(&data, 0, 4);
    data += *m.creation_date;
    std::string item = IsoBox("data", data);
    std::string ilst;
    Be(&ilst, 8 + item.size(), 4);
    Be(&ilst, 1, 4);  // the item of key 1
    ilst += item;
    moov_body += IsoBox("meta", IsoFullBox("hdlr", 0, hdlr) + IsoFullBox("keys", 0, keys) + IsoBox("ilst", ilst));
  }
  const std::string ftyp = Ftyp(m.brand, {m.brand});
  const std::string moov = IsoBox("moov", moov_body);
  const std::string mdat = IsoBox("mdat", std::string(256, '\x11'));
  return m.moov_last ? ftyp + mdat + moov : ftyp + moov + mdat;
}

// A PNG file of one 1x1 grey pixel, with an eXIf chunk holding `tiff` (none when empty) before or after
// the image data.
inline std::string BuildPng(std::string_view tiff, bool exif_after_idat) {
  using namespace media_builder_internal;
  auto crc = [](std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : bytes) {
      c ^= static_cast<unsigned char>(ch);
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
  };
  auto chunk = [&](std::string_view type, std::string_view data) {
    std::string out;
    Be(&out, data.size(), 4);
    const std::string typed = std::string(type) + std::string(data);
    out += typed;
    Be(&out, crc(typed), 4);
    return out;
  };
  std::string ihdr;
  Be(&ihdr, 1, 4);
  Be(&ihdr, 1, 4);
  ihdr += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit greyscale
  // zlib stream of the one scanline "\0\x80".
  const std::string idat("\x78\x01\x63\x68\x00\x00\x00\x82\x00\x81", 10);
  std::string out("\x89PNG\r\n\x1a\n", 8);
  out += chunk("IHDR", ihdr);
  if (!tiff.empty() && !exif_after_idat) out += chunk("eXIf", tiff);
  out += chunk("IDAT", idat);
  if (!tiff.empty() && exif_after_idat) out += chunk("eXIf", tiff);
  out += chunk("IEND", "");
  return out;
}

// A lossless WebP file of one pixel, as an extended file (VP8X) with an EXIF chunk holding `tiff`.
inline std::string BuildWebp(std::string_view tiff) {
  using namespace media_builder_internal;
  auto chunk = [](std::string_view type, std::string_view data) {
    std::string out(type);
    Le(&out, data.size(), 4);
    out.append(data);
    if (data.size() % 2 != 0) out.push_back('\0');
    return out;
  };
  std::string vp8x;
  vp8x.push_back('\x08');  // Exif present
  vp8x.append(3, '\0');
  Le(&vp8x, 0, 3);  // width - 1
  Le(&vp8x, 0, 3);  // height - 1
  const std::string vp8l("\x2f\x00\x00\x00\x00\x07\x10\x11\x10\x88\x88\xfe\x07\x00", 14);
  const std::string body = "WEBP" + chunk("VP8X", vp8x) + chunk("VP8L", vp8l) + chunk("EXIF", tiff);
  std::string out = "RIFF";
  Le(&out, body.size(), 4);
  return out + body;
}

// The Vorbis comment block of `entries` ("KEY=value").
inline std::string VorbisComment(const std::vector<std::string>& entries) {
  using namespace media_builder_internal;
  const std::string vendor = "morva test";
  std::string out;
  Le(&out, vendor.size(), 4);
  out += vendor;
  Le(&out, entries.size(), 4);
  for (const std::string& e : entries) {
    Le(&out, e.size(), 4);
    out += e;
  }
  return out;
}

// A FLAC stream of no audio frames: STREAMINFO (44.1 kHz, 16-bit stereo), then a Vorbis comment block of
// `entries` when there are any, behind an ID3v2 tag of `id3_prefix` bytes when that is not 0.
inline std::string BuildFlac(const std::vector<std::string>& entries, std::size_t id3_prefix = 0) {
  using namespace media_builder_internal;
  std::string streaminfo;
  Be(&streaminfo, 4096, 2);
  Be(&streaminfo, 4096, 2);
  Be(&streaminfo, 0, 3);
  Be(&streaminfo, 0, 3);
  // 20 bits rate, 3 bits channels - 1, 5 bits bits per sample - 1, 36 bits samples.
  Be(&streaminfo, (std::uint64_t{44100} << 44) | (std::uint64_t{1} << 41) | (std::uint64_t{15} << 36), 8);
  streaminfo.append(16, '\0');
  std::string out;
  if (id3_prefix != 0) {
    out = std::string("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0}) out.push_back(static_cast<char>((id3_prefix >> shift) & 0x7F));
    out.append(id3_prefix, '\0');
  }
  out += "fLaC";
  const bool comments = !entries.empty();
  out.push_back(comments ? '\0' : '\x80');
  Be(&out, streaminfo.size(), 3);
  out += streaminfo;
  if (comments) {
    const std::string block = VorbisComment(entries);
    out.push_back('\x84');
    Be(&out, block.size(), 3);
    out += block;
  }
  return out;
}

// One Ogg page of stream 0x4D4F5256 holding `packets` whole (each laced), with its checksum.
inline std::string OggPage(const std::vector<std::string>& packets, std::uint32_t sequence, std::uint8_t flags,
                           std::uint64_t granule) {
  using namespace media_builder_internal;
  std::string lacing, data;
  for (const std::string& p : packets) {
    std::size_t n = p.size();
    while (n >= 255) {
      lacing.push_back('\xFF');
      n -= 255;
    }
    lacing.push_back(static_cast<char>(n));
    data += p;
  }
  std::string page = "OggS";
  page.push_back('\0');
  page.push_back(static_cast<char>(flags));
  Le(&page, granule, 8);
  Le(&page, 0x4D4F5256, 4);
  Le(&page, sequence, 4);
  Le(&page, 0, 4);  // checksum, set below
  page.push_back(static_cast<char>(lacing.size()));
  page += lacing + data;
  std::uint32_t crc = 0;
  for (char ch : page) {
    crc ^= std::uint32_t{static_cast<unsigned char>(ch)} << 24;
    for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  for (int i = 0; i < 4; ++i) page[22 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
  return page;
}

// An Ogg Vorbis or Opus file: the identification header on the first page, the comment header of
// `entries` (and Vorbis's setup header) on the second, one audio packet on the last.
inline std::string BuildOgg(bool opus, const std::vector<std::string>& entries) {
  using namespace media_builder_internal;
  std::string id, comment;
  std::vector<std::string> second;
  if (opus) {
    id = "OpusHead";
    id.push_back('\x01');
    id.push_back('\x02');
    Le(&id, 312, 2);
    Le(&id, 48000, 4);
    Le(&id, 0, 2);
    id.push_back('\0');
    second = {"OpusTags" + VorbisComment(entries)};
  } else {
    id = std::string("\x01vorbis", 7);
    Le(&id, 0, 4);
    id.push_back('\x02');
    Le(&id, 44100, 4);
    Le(&id, 0, 4);
    Le(&id, 128000, 4);
    Le(&id, 0, 4);
    id.push_back('\xB8');
    id.push_back('\x01');
    second = {std::string("\x03vorbis", 7) + VorbisComment(entries) + "\x01", std::string("\x05vorbis\x00", 8)};
  }
  return OggPage({id}, 0, 0x02, 0) + OggPage(second, 1, 0, 0) + OggPage({std::string(32, '\x42')}, 2, 0x04, 48000);
}

// An M4A file with one audio track and no samples, the shape mutagen reads and writes tags in.
inline std::string BuildM4aSkeleton() {
  using namespace media_builder_internal;
  auto zeros = [](std::size_t n) { return std::string(n, '\0'); };
  std::string mvhd = zeros(12);
  Be(&mvhd, 44100, 4);
  Be(&mvhd, 44100, 4);
  mvhd += zeros(80);
  std::string tkhd = zeros(80);
  std::string mdhd;
  Be(&mdhd, 0, 8);
  Be(&mdhd, 44100, 4);
  Be(&mdhd, 44100, 4);
  Be(&mdhd, 0x55C40000, 4);  // language "und"
  const std::string hdlr = zeros(4) + "soun" + zeros(12) + std::string("\0", 1);
  std::string stsd;
  Be(&stsd, 0, 4);
  std::string stco;
  Be(&stco, 0, 4);
  const std::string stbl = IsoBox("stbl", IsoFullBox("stsd", 0, stsd) + IsoFullBox("stco", 0, stco));
  const std::string mdia =
      IsoBox("mdia", IsoFullBox("mdhd", 0, mdhd) + IsoFullBox("hdlr", 0, hdlr) + IsoBox("minf", stbl));
  const std::string trak = IsoBox("trak", IsoFullBox("tkhd", 0, tkhd) + mdia);
  const std::string moov = IsoBox("moov", IsoFullBox("mvhd", 0, mvhd) + trak);
  return Ftyp("M4A ", {"M4A ", "mp42", "isom"}) + moov + IsoBox("mdat", std::string(64, '\x22'));
}

// The M4A skeleton with iTunes items in moov/udta/meta/ilst: text items (type "\xA9nam" and so on, UTF-8)
// and a track number. The skeleton's chunk offset table is empty, so nothing else moves.
inline std::string BuildTaggedM4a(const std::vector<std::pair<std::string, std::string>>& texts, int track) {
  using namespace media_builder_internal;
  auto data = [](int type, std::string_view value) {
    std::string body;
    Be(&body, static_cast<std::uint64_t>(type), 4);
    Be(&body, 0, 4);
    body.append(value);
    return IsoBox("data", body);
  };
  std::string ilst;
  for (const auto& [type, value] : texts) ilst += IsoBox(type, data(1, value));
  if (track > 0) {
    std::string number;
    Be(&number, 0, 2);
    Be(&number, static_cast<std::uint64_t>(track), 2);
    Be(&number, 0, 4);
    ilst += IsoBox("trkn", data(0, number));
  }
  const std::string hdlr = std::string(4, '\0') + "mdirappl" + std::string(9, '\0');
  const std::string udta = IsoBox("udta", IsoFullBox("meta", 0, IsoFullBox("hdlr", 0, hdlr) + IsoBox("ilst", ilst)));
  std::string file = BuildM4aSkeleton();
  // The skeleton is ftyp, moov, mdat: the user data goes at the end of moov, whose size grows by as much.
  const std::size_t moov_at = file.find("moov") - 4;
  const std::size_t moov_size = (static_cast<unsigned char>(file[moov_at]) << 24) |
                                (static_cast<unsigned char>(file[moov_at + 1]) << 16) |
                                (static_cast<unsigned char>(file[moov_at + 2]) << 8) |
                                static_cast<unsigned char>(file[moov_at + 3]);
  file.insert(moov_at + moov_size, udta);
  std::string size;
  Be(&size, moov_size + udta.size(), 4);
  file.replace(moov_at, 4, size);
  return file;
}

// An APE tag (version 2, with its footer) of text `items` (key, UTF-8 value).
inline std::string ApeTag(const std::vector<std::pair<std::string, std::string>>& items) {
  using namespace media_builder_internal;
  std::string body;
  for (const auto& [key, value] : items) {
    Le(&body, value.size(), 4);
    Le(&body, 0, 4);
    body += key + std::string("\0", 1) + value;
  }
  std::string footer = "APETAGEX";
  Le(&footer, 2000, 4);
  Le(&footer, body.size() + 32, 4);
  Le(&footer, items.size(), 4);
  Le(&footer, 0, 4);
  footer.append(8, '\0');
  return body + footer;
}

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_MEDIA_BUILDER_H_
