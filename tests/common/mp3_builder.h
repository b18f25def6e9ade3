#ifndef MORVA_TESTS_COMMON_MP3_BUILDER_H_
#define MORVA_TESTS_COMMON_MP3_BUILDER_H_

// Builds MP3-like files in memory: an ID3v2 tag (version 2, 3 or 4) with chosen frames, some fake audio
// frames and an optional ID3v1(.1) block. Frame sizes are written synchsafe in every version, as the
// program's own tag writer does, unless a frame asks for a plain number, as other tools write versions 2
// and 3.
//
//   Mp3Contents contents;
//   contents.v2_version = 3;
//   contents.frames = {{"TIT2", 0, "Title"}, {"TPE1", 1, Utf16Le(u"Artist", true)}};
//   contents.v1 = Id3v1Block{"Old title", "Old artist"};
//   WriteFile(dir / "a.mp3", BuildMp3(contents));

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morva::testing {

struct Id3v2Frame {
  std::string id;        // "TIT2", or "TT2" in a version 2 tag
  int encoding = 0;      // the payload's first byte (0 code page 932, 1/2 UTF-16, 3 UTF-8); -1: none
  std::string payload;   // the bytes after the encoding byte
  std::uint8_t format_flags = 0;  // the second flags byte (versions 3 and 4)
  bool plain_size = false;        // the size as a plain big-endian number instead of a synchsafe one
};

struct Id3v1Block {
  std::string title, artist, album, year, comment;  // cut at their field widths (comment: 28)
  int track = -1;           // 0-255 writes an ID3v1.1 block; -1 a v1.0 block (comment may use 30 bytes)
  std::uint8_t genre = 12;
};

struct Mp3Contents {
  int v2_version = 0;         // 0: no ID3v2 tag
  int v2_revision = 0;
  std::vector<Id3v2Frame> frames;
  std::size_t extended_header = 0;  // bytes of extended header (version 3: counted without its size field)
  std::size_t padding = 0;
  std::size_t audio_frames = 4;     // fake MPEG audio frames of 417 bytes each
  std::optional<Id3v1Block> v1;
};

inline std::string Synchsafe(std::uint32_t value, int digits) {
  std::string out;
  for (int i = digits - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (7 * i)) & 0x7F));
  return out;
}
inline std::string BigEndian(std::uint32_t value, int digits) {
  std::string out;
  for (int i = digits - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

// UTF-16 bytes of `text`, little- or big-endian, with or without the byte-order mark in front.
inline std::string Utf16Le(std::u16string_view text, bool bom) {
  std::string out = bom ? std::string("\xFF\xFE", 2) : std::string();
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}
inline std::string Utf16Be(std::u16string_view text, bool bom) {
  std::string out = bom ? std::string("\xFE\xFF", 2) : std::string();
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u >> 8));
    out.push_back(static_cast<char>(u & 0xFF));
  }
  return out;
}

// A comment payload after the encoding byte: language, description and its terminator (two zero bytes
// for the UTF-16 encodings 1 and 2), then the text.
inline std::string CommentPayload(int encoding, std::string_view description, std::string_view text,
                                  std::string_view language = "jpn") {
  std::string out(language);
  out.append(description);
  out.append(encoding == 1 || encoding == 2 ? 2 : 1, '\0');
  out.append(text);
  return out;
}

// One frame: identifier, size, flags (versions 3 and 4), payload.
inline std::string BuildFrame(int version, const Id3v2Frame& f) {
  std::string body;
  if (f.encoding >= 0) body.push_back(static_cast<char>(f.encoding));
  body += f.payload;
  std::string out = f.id;
  const auto size = static_cast<std::uint32_t>(body.size());
  out += f.plain_size ? BigEndian(size, version == 2 ? 3 : 4) : Synchsafe(size, version == 2 ? 3 : 4);
  if (version != 2) {
    out.push_back('\0');
    out.push_back(static_cast<char>(f.format_flags));
  }
  return out + body;
}

// The ID3v2 tag alone (empty when contents.v2_version is 0).
inline std::string BuildId3v2(const Mp3Contents& contents) {
  if (contents.v2_version == 0) return {};
  std::string body;
  if (contents.extended_header > 0) {
    body += Synchsafe(static_cast<std::uint32_t>(contents.extended_header), 4);
    const std::size_t rest = contents.v2_version == 3 ? contents.extended_header : contents.extended_header - 4;
    body.append(rest, '\0');
  }
  for (const Id3v2Frame& f : contents.frames) body += BuildFrame(contents.v2_version, f);
  body.append(contents.padding, '\0');
  std::string out = "ID3";
  out.push_back(static_cast<char>(contents.v2_version));
  out.push_back(static_cast<char>(contents.v2_revision));
  out.push_back(contents.extended_header > 0 ? '\x40' : '\0');
  out += Synchsafe(static_cast<std::uint32_t>(body.size()), 4);
  return out + body;
}

// The 128-byte ID3v1 block.
inline std::string BuildId3v1(const Id3v1Block& v1) {
  std::string out = "TAG";
  const auto field = [&out](std::string_view text, std::size_t width) {
    std::string f(text.substr(0, width));
    f.resize(width, '\0');
    out += f;
  };
  field(v1.title, 30);
  field(v1.artist, 30);
  field(v1.album, 30);
  field(v1.year, 4);
  if (v1.track >= 0) {
    field(v1.comment, 28);
    out.push_back('\0');
    out.push_back(static_cast<char>(v1.track));
  } else {
    field(v1.comment, 30);
  }
  out.push_back(static_cast<char>(v1.genre));
  return out;
}

// Fake MPEG-1 layer III frames (128 kbit/s, 44.1 kHz): a valid header and zero bytes.
inline std::string FakeAudio(std::size_t frames) {
  std::string out;
  for (std::size_t i = 0; i < frames; ++i) {
    std::string frame("\xFF\xFB\x90\x64", 4);
    frame.resize(417, '\0');
    out += frame;
  }
  return out;
}

inline std::string BuildMp3(const Mp3Contents& contents) {
  std::string out = BuildId3v2(contents) + FakeAudio(contents.audio_frames);
  if (contents.v1) out += BuildId3v1(*contents.v1);
  return out;
}

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_MP3_BUILDER_H_
