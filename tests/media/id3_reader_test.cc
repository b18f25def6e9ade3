#include "media/id3_reader.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/mp3_builder.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::BuildId3v1;
using testing::BuildId3v2;
using testing::BuildMp3;
using testing::CommentPayload;
using testing::Id3v1Block;
using testing::Id3v2Frame;
using testing::Mp3Contents;
using testing::Utf16Be;
using testing::Utf16Le;

class Id3ReaderTest : public testing::HostFixture {
 protected:

  int ReadV2(const std::string& bytes, Id3v2Fields* fields, bool first_comment_wins = false,
             Id3Layout* layout = nullptr) {
    MemoryReadableFile file(bytes);
    return ReadId3v2(file, *codec_, first_comment_wins, fields, layout);
  }
  bool ReadV1(const std::string& bytes, Id3v1Fields* fields, bool unicode = false) {
    MemoryReadableFile file(bytes);
    return ReadId3v1(file, *codec_, unicode, fields);
  }
  std::string Sjis(const std::string& utf8) { return testing::Sjis(codec_.get(), utf8); }
  // Writes `bytes` as `name` in the temporary directory and gives its engine path.
  std::string Put(const std::string& name, const std::string& bytes) {
    testing::WriteFile(dir_ / name, bytes);
    return testing::EnginePath(codec_.get(), dir_ / name);
  }
};

TEST_F(Id3ReaderTest, BothTagsAndItemPriority) {
  Mp3Contents contents;
  contents.v2_version = 3;
  contents.frames = {{"TIT2", 0, "v2 title"}, {"TPE1", 0, "v2 artist"}, {"TRCK", 0, "3/12"}};
  contents.padding = 64;
  contents.v1 = Id3v1Block{"v1 title", " v1 artist", "", "1999", "note", 7, 17};
  const std::string path = Put("both.mp3", BuildMp3(contents));

  Id3Reader reader(*fs_, *codec_);
  EXPECT_EQ(reader.version_string(), "000");
  ASSERT_EQ(reader.Read(path, {}, false), 3);
  EXPECT_EQ(reader.version_string(), "123");
  EXPECT_EQ(reader.loaded_path(), path);

  std::string out;
  EXPECT_EQ(reader.GetItem(3, kId3Title, false, &out), 2);
  EXPECT_EQ(out, "v2 title");
  EXPECT_EQ(reader.GetItem(3, kId3Title, true, &out), 1);
  EXPECT_EQ(out, "v1 title");
  EXPECT_EQ(reader.GetItem(1, kId3Title, false, &out), 1);
  EXPECT_EQ(reader.GetItem(2, kId3Title, true, &out), 2);
  // An ID3v1 value starting with a space, or empty, counts as absent even with ID3v1 first.
  EXPECT_EQ(reader.GetItem(3, kId3Artist, true, &out), 2);
  EXPECT_EQ(out, "v2 artist");
  EXPECT_EQ(reader.GetItem(1, kId3Artist, true, &out), 0);
  EXPECT_EQ(reader.GetItem(3, kId3Album, true, &out), 0);
  // A frame missing from ID3v2 falls back to ID3v1.
  EXPECT_EQ(reader.GetItem(3, kId3Year, false, &out), 1);
  EXPECT_EQ(out, "1999");
  EXPECT_EQ(reader.GetItem(3, kId3Track, false, &out), 2);
  EXPECT_EQ(out, "3/12");
  EXPECT_EQ(reader.GetItem(1, kId3Track, false, &out), 1);
  EXPECT_EQ(out, "7");
  EXPECT_EQ(reader.GetItem(1, kId3Comment, false, &out), 1);
  EXPECT_EQ(out, "note");
  out = "kept";
  EXPECT_EQ(reader.GetItem(3, 7, false, &out), 0);
  EXPECT_EQ(reader.GetItem(0, kId3Title, false, &out), 0);
  EXPECT_EQ(out, "kept");
}

TEST_F(Id3ReaderTest, ExtensionTestProbeAndReload) {
  Mp3Contents contents;
  contents.v2_version = 4;
  contents.frames = {{"TIT2", 3, "first"}};
  const std::string first = Put("first.MP3", BuildMp3(contents));
  contents.frames = {{"TIT2", 3, "second"}};
  const std::string other = Put("second.dat", BuildMp3(contents));
  const std::string plain = Put("plain.mp3", std::string(500, 'x'));

  Id3Reader reader(*fs_, *codec_);
  ASSERT_EQ(reader.Read(first, {}, false), 2);
  EXPECT_EQ(reader.version_string(), "024");

  // Without the ".mp3" suffix nothing is read unless the test is switched off.
  EXPECT_EQ(reader.Read(other, {}, true), 0);
  EXPECT_EQ(reader.version_string(), "000");
  Id3ReadOptions skip;
  skip.skip_extension_test = true;
  EXPECT_EQ(reader.Read(other, skip, true), 2);
  EXPECT_EQ(reader.version_string(), "024");
  // A probe decides presence only: the values of the last read stay, and no file counts as loaded.
  EXPECT_TRUE(reader.loaded_path().empty());
  std::string out;
  EXPECT_EQ(reader.GetItem(2, kId3Title, false, &out), 2);
  EXPECT_EQ(out, "first");

  EXPECT_EQ(reader.Read(other, skip, false), 2);
  EXPECT_EQ(reader.GetItem(2, kId3Title, false, &out), 2);
  EXPECT_EQ(out, "second");

  // A file without tags clears what the previous one left.
  EXPECT_EQ(reader.Read(plain, {}, false), 0);
  EXPECT_EQ(reader.version_string(), "000");
  EXPECT_EQ(reader.GetItem(3, kId3Title, false, &out), 0);
  EXPECT_EQ(reader.Read(testing::EnginePath(codec_.get(), dir_ / "missing.mp3"), {}, false), 0);
}

TEST_F(Id3ReaderTest, FramesAcrossTheFirstFourKilobytes) {
  // The reader serves the start of a file from one read; frames on and past its edge read the same.
  for (std::size_t filler : {4060, 4070, 4080, 4086, 4100}) {
    Mp3Contents contents;
    contents.v2_version = 3;
    contents.frames = {{"TIT1", 0, std::string(filler, 'g')}, {"TIT2", 0, "title"}, {"TPE1", 0, "artist"}};
    contents.audio_frames = 40;
    contents.v1 = Id3v1Block{"v1 title", "", "", "", "", 1, 12};
    Id3Reader reader(*fs_, *codec_);
    ASSERT_EQ(reader.Read(Put("big.mp3", BuildMp3(contents)), {}, false), 3) << filler;
    EXPECT_EQ(reader.v2().title, "title") << filler;
    EXPECT_EQ(reader.v2().artist, "artist") << filler;
    EXPECT_EQ(reader.v1().title, "v1 title") << filler;
  }
}

TEST_F(Id3ReaderTest, Version2FramesAndAllSlots) {
  Mp3Contents contents;
  contents.v2_version = 2;
  contents.frames = {{"TT2", 0, "title"},   {"TP1", 0, "artist"},  {"TAL", 0, "album"}, {"TYE", 0, "2001"},
                 {"TRK", 0, "4"},       {"COM", 0, CommentPayload(0, "", "remark")},
                 {"TCO", 0, "(17)"},    {"TT1", 0, "group"},   {"TT3", 0, "sub"},   {"TP2", 0, "band"},
                 {"TP3", 0, "conductor"}, {"TP4", 0, "remixer"}, {"TXX", 0, "ignored"}};
  contents.padding = 20;
  Id3v2Fields f;
  Id3Layout layout;
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, false, &layout), 2);
  EXPECT_EQ(f.title, "title");
  EXPECT_EQ(f.artist, "artist");
  EXPECT_EQ(f.album, "album");
  EXPECT_EQ(f.year, "2001");
  EXPECT_EQ(f.track, "4");
  EXPECT_EQ(f.comment, "remark");
  EXPECT_EQ(f.genre, "(17)");
  EXPECT_EQ(f.content_group, "group");
  EXPECT_EQ(f.subtitle, "sub");
  EXPECT_EQ(f.band, "band");
  EXPECT_EQ(f.conductor, "conductor");
  EXPECT_EQ(f.remixer, "remixer");
  EXPECT_EQ(layout.version, 2);
  EXPECT_EQ(layout.padding_size, 20u);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kTitle], 6);

  // Four-letter identifiers mean nothing in a version 2 tag, and three-letter ones nothing in later ones.
  contents.frames = {{"TIT2", 0, "title"}};
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f), 2);
  EXPECT_FALSE(f.title);
  contents.v2_version = 3;
  contents.frames = {{"TT2", 0, "title"}};
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f), 3);
  EXPECT_FALSE(f.title);
}

TEST_F(Id3ReaderTest, ExtendedHeadersAndRevision) {
  Mp3Contents contents;
  contents.v2_version = 4;
  contents.extended_header = 6;
  contents.frames = {{"TIT2", 3, "four"}};
  contents.padding = 10;
  Id3v2Fields f;
  Id3Layout layout;
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, false, &layout), 4);
  EXPECT_EQ(f.title, "four");
  EXPECT_EQ(layout.extended_header_size, 6u);
  EXPECT_EQ(layout.padding_size, 10u);
  EXPECT_EQ(layout.tag_size, 6u + 15u + 10u);

  // Version 3 counts the extended header without its own size field.
  contents.v2_version = 3;
  contents.frames = {{"TIT2", 0, "three"}};
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, false, &layout), 3);
  EXPECT_EQ(f.title, "three");
  EXPECT_EQ(layout.extended_header_size, 10u);

  // Version 3 revision 1 is read as version 4; other versions are no tag at all.
  contents.v2_revision = 1;
  EXPECT_EQ(ReadV2(BuildMp3(contents), &f), 4);
  contents.extended_header = 0;
  for (int v : {0, 1, 5, 255}) {
    contents.v2_version = v;
    EXPECT_EQ(ReadV2(BuildId3v2(contents) + testing::FakeAudio(1), &f), 0) << v;
  }
}

TEST_F(Id3ReaderTest, TextEncodings) {
  const std::string kana = Sjis("曲名テスト");
  Mp3Contents contents;
  contents.v2_version = 3;
  contents.frames = {{"TIT2", 1, Utf16Be(u"曲名テスト", true)},   {"TPE1", 1, Utf16Le(u"曲名テスト", true)},
                 {"TALB", 1, Utf16Le(u"曲名テスト", false)},  {"TIT1", 2, Utf16Be(u"曲名テスト", false)},
                 {"TIT3", 3, "\xE6\x9B\xB2\xE5\x90\x8D\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"},
                 {"TPE2", 0, kana},
                 // Terminators end the text; an odd trailing byte of UTF-16 is no character.
                 {"TPE3", 1, Utf16Le(u"ab", true) + std::string("\0\0zz", 4)},
                 {"TPE4", 2, Utf16Be(u"ab", false) + "c"},
                 {"TYER", 0, std::string("2013\0junk", 9)}};
  Id3v2Fields f;
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f), 3);
  EXPECT_EQ(f.title, kana);
  EXPECT_EQ(f.artist, kana);
  EXPECT_EQ(f.album, kana);
  EXPECT_EQ(f.content_group, kana);
  EXPECT_EQ(f.subtitle, kana);
  EXPECT_EQ(f.band, kana);
  EXPECT_EQ(f.conductor, "ab");
  EXPECT_EQ(f.remixer, "ab");
  EXPECT_EQ(f.year, "2013");
}

TEST_F(Id3ReaderTest, DecodeStaysInsideItsInput) {
  // The input is a heap block of its exact size, so any read past it is caught by the address checks.
  const auto decode = [this](int encoding, const std::string& bytes) {
    std::unique_ptr<char[]> exact = std::make_unique<char[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return DecodeId3Text(*codec_, encoding, std::string_view(exact.get(), bytes.size()));
  };
  EXPECT_EQ(decode(1, "\xFF"), "");
  EXPECT_EQ(decode(1, "\xFF\xFE"), "");
  EXPECT_EQ(decode(2, Utf16Be(u"x", false) + std::string(1, '\0')), "x");
  // Unpaired surrogates and characters without a code page 932 form become "?" one by one; a pair is
  // one character.
  EXPECT_EQ(decode(1, Utf16Le(u"a\xD800" u"b\xDC00" u"c", true)), "a?b?c");
  EXPECT_EQ(decode(2, Utf16Be(u"é曲\U0001F600z", false)), "?" + Sjis("曲") + "?z");
  EXPECT_EQ(decode(3, "\xC3\xA9\xE6\x9B\xB2\xF0\x9F\x98\x80z"), "?" + Sjis("曲") + "?z");
  // Malformed UTF-8: stray continuation, cut sequence, overlong form, encoded surrogate.
  EXPECT_EQ(decode(3, "a\x80" "b"), "a?b");
  EXPECT_EQ(decode(3, "a\xE6\x9B"), "a??");
  EXPECT_EQ(decode(3, "\xC0\xAF"), "??");
  EXPECT_EQ(decode(3, "\xED\xA0\x80"), "???");
  EXPECT_EQ(decode(3, std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(decode(0, std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(decode(0, "\x82"), "\x82");
  EXPECT_EQ(decode(7, "raw"), "raw");
  EXPECT_EQ(decode(0, ""), "");
  EXPECT_EQ(decode(3, ""), "");
}

// A codec that gives "é", which code page 932 lacks, the user-defined code F040.
class UserDefinedCodec : public TextCodecWrapper {
 public:
  using TextCodecWrapper::TextCodecWrapper;
  Status Utf16ToCp932(std::u16string_view in, std::string* out) override {
    out->clear();
    std::string part;
    for (std::size_t from = 0; from < in.size();) {
      const std::size_t at = std::min(in.find(u'é', from), in.size());
      if (Status s = target()->Utf16ToCp932(in.substr(from, at - from), &part); !s.ok()) return s;
      *out += part;
      if (at < in.size()) *out += "\xF0\x40";
      from = at + 1;
    }
    return Status::Ok();
  }
};

// UTF-16 (either byte order) and UTF-8 texts are converted by the codec, character by character where
// it refuses one: a character it gives a form (a user-defined code) is kept, one it refuses becomes "?".
TEST_F(Id3ReaderTest, UnicodeTextsGoThroughTheCodec) {
  UserDefinedCodec user_defined(codec_.get());
  const std::string kanji = Sjis("曲");
  struct Case {
    const char* name;
    int version;
    Id3v2Frame frame;
  };
  const Case cases[] = {
      {"UTF-16 with a mark", 3, {"TIT2", 1, Utf16Le(u"é曲", true)}},
      {"UTF-16, version 2", 2, {"TT2", 1, Utf16Be(u"é曲", true)}},
      {"UTF-16 big-endian", 4, {"TIT2", 2, Utf16Be(u"é曲", false)}},
      {"UTF-8", 4, {"TIT2", 3, "\xC3\xA9\xE6\x9B\xB2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mp3Contents contents;
    contents.v2_version = c.version;
    contents.frames = {c.frame};
    MemoryReadableFile file(BuildMp3(contents));
    Id3v2Fields kept, refused;
    ASSERT_EQ(ReadId3v2(file, user_defined, false, &kept, nullptr), c.version);
    EXPECT_EQ(kept.title, "\xF0\x40" + kanji);
    ASSERT_EQ(ReadId3v2(file, *codec_, false, &refused, nullptr), c.version);
    EXPECT_EQ(refused.title, "?" + kanji);
  }
}

TEST_F(Id3ReaderTest, CommentFrames) {
  Mp3Contents contents;
  contents.v2_version = 3;
  contents.frames = {{"COMM", 0, CommentPayload(0, "desc", "first")},
                 {"COMM", 1, CommentPayload(1, Utf16Le(u"d", true), Utf16Le(u"second", true))},
                 // Without a terminator after the description there is no text.
                 {"COMM", 0, "jpnno terminator"}};
  Id3v2Fields f;
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, false), 3);
  EXPECT_EQ(f.comment, "second");
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, true), 3);
  EXPECT_EQ(f.comment, "first");

  // Big-endian UTF-16 descriptions and an empty text.
  contents.frames = {{"COMM", 2, CommentPayload(2, Utf16Be(u"dd", false), Utf16Be(u"third", false))},
                 {"COMM", 1, CommentPayload(1, "", "")}};
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, true), 3);
  EXPECT_EQ(f.comment, "third");
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f, false), 3);
  EXPECT_EQ(f.comment, "");
}

TEST_F(Id3ReaderTest, RecordingModeLayout) {
  Mp3Contents contents;
  contents.v2_version = 3;
  contents.frames = {{"TPE1", 0, "artist"}, {"TIT2", 0, "title"},    {"TIT2", 0, "second title"},
                 {"COMM", 0, CommentPayload(0, "", "c")}, {"TCON", 0, "Rock"}, {"APIC", 0, "picture"}};
  contents.padding = 300;
  const std::string bytes = BuildMp3(contents);
  Id3Layout layout;
  layout.padding_size = 99;
  ASSERT_EQ(ReadV2(bytes, nullptr, false, &layout), 3);
  EXPECT_EQ(layout.version, 3);
  EXPECT_EQ(layout.tag_size, bytes.size() - 10 - testing::FakeAudio(contents.audio_frames).size());
  EXPECT_EQ(layout.extended_header_size, 0u);
  EXPECT_EQ(layout.padding_size, 300u);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kTitle], 6);  // the first of the two
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kArtist], 7);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kAlbum], -1);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kTrack], -1);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kYear], -1);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kComment], 6);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kGenre], 5);

  // Not a tag: the record is reset all the same.
  EXPECT_EQ(ReadV2("ID3", nullptr, false, &layout), 0);
  EXPECT_EQ(layout.version, 0);
  EXPECT_EQ(layout.padding_size, 0u);
  EXPECT_EQ(layout.frame_sizes[Id3Layout::kTitle], -1);
}

TEST_F(Id3ReaderTest, Id3v1Blocks) {
  Id3v1Fields f;
  f.title = "stale";
  const std::string audio = testing::FakeAudio(1);
  ASSERT_TRUE(ReadV1(audio + BuildId3v1({"title  ", "artist", "album", "2020", "comment", 5, 255}), &f));
  EXPECT_EQ(f.title, "title  ");  // trailing spaces are kept
  EXPECT_EQ(f.artist, "artist");
  EXPECT_EQ(f.album, "album");
  EXPECT_EQ(f.year, "2020");
  EXPECT_EQ(f.comment, "comment");
  EXPECT_EQ(f.track, "5");
  EXPECT_EQ(f.genre, "-1");

  // Full-width fields, a track read as a signed byte, and ID3v1.0 without a track.
  ASSERT_TRUE(ReadV1(BuildId3v1({std::string(30, 'T'), "", "", "1", std::string(28, 'c'), 200, 17}), &f));
  EXPECT_EQ(f.title, std::string(30, 'T'));
  EXPECT_EQ(f.comment, std::string(28, 'c'));
  EXPECT_EQ(f.track, "-56");
  EXPECT_EQ(f.genre, "17");
  ASSERT_TRUE(ReadV1(BuildId3v1({"t", "", "", "", std::string(30, 'c'), -1, 0}), &f));
  EXPECT_EQ(f.comment, std::string(28, 'c'));
  EXPECT_EQ(f.track, "");
  EXPECT_TRUE(ReadV1(BuildId3v1({}), nullptr));

  EXPECT_FALSE(ReadV1(std::string(127, 'x'), &f));
  EXPECT_FALSE(ReadV1("TAG", &f));
  EXPECT_FALSE(ReadV1(BuildId3v1({}) + "x", &f));

  // An ID3v1 block alone gives 1 and "100".
  Mp3Contents contents;
  contents.v1 = Id3v1Block{"only v1", "", "", "", "", -1, 12};
  Id3Reader reader(*fs_, *codec_);
  ASSERT_EQ(reader.Read(Put("v1.mp3", BuildMp3(contents)), {}, false), 1);
  EXPECT_EQ(reader.version_string(), "100");
  std::string out;
  EXPECT_EQ(reader.GetItem(3, kId3Title, false, &out), 1);
  EXPECT_EQ(out, "only v1");
  // Zero bytes where the comment ends read as ID3v1.1 with track 0.
  EXPECT_EQ(reader.GetItem(3, kId3Track, false, &out), 1);
  EXPECT_EQ(out, "0");
}

TEST_F(Id3ReaderTest, UnicodeId3v1) {
  const std::string kana = Sjis("曲名");
  Id3v1Block block;
  block.title = Utf16Le(u"曲名", true);
  block.artist = Utf16Be(u"曲名", true);
  block.album = "\x8A\x9E";              // no mark: big-endian U+8A9E
  block.year = "\xFE\xFF";               // a mark alone: empty
  block.comment = Utf16Le(u"ab", true);  // a 28-byte field never reaches the track byte
  block.track = 65;
  const std::string bytes = BuildId3v1(block);
  Id3v1Fields f;
  ASSERT_TRUE(ReadV1(bytes, &f, true));
  EXPECT_EQ(f.title, kana);
  EXPECT_EQ(f.artist, kana);
  EXPECT_EQ(f.album, Sjis("語"));
  EXPECT_EQ(f.year, "");
  EXPECT_EQ(f.comment, "ab");

  // Without the flag the bytes are taken as they are.
  ASSERT_TRUE(ReadV1(bytes, &f, false));
  EXPECT_EQ(f.title, block.title);
  EXPECT_EQ(f.album, "\x8A\x9E");
}

TEST_F(Id3ReaderTest, FrameSizesInEitherReading) {
  // Other tools write version 2 and 3 sizes as plain numbers, this program writes them synchsafe, and a
  // tag of another tool that this program rewrote holds both. From 128 on, a size whose bytes are all
  // below 0x80 reads both ways; the wrong reading ends the frame inside its payload, on a zero byte or on
  // capitals that pass for an identifier.
  const auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  // UTF-16 text of 263 bytes (00 00 01 07, synchsafe 135): payload byte 135 is the low byte, zero, of
  // unit 66.
  const auto utf16_text = [&](const char* unit66) {
    return repeat("曲", 66) + unit66 + repeat("曲", 63);
  };
  const auto utf16_payload = [](const std::u16string& unit66) {
    return Utf16Le(std::u16string(66, u'曲') + unit66 + std::u16string(63, u'曲'), true);
  };
  // Text of 300 bytes with its encoding byte (00 00 01 2C, synchsafe 172): capitals at payload byte 172.
  std::string capitals;
  while (capitals.size() < 299) capitals += "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  capitals.resize(299);
  // A picture frame of 300 bytes (synchsafe 172) whose bytes are zero there but not up to the tag's end.
  const std::string picture = std::string("image/png\0\3\0", 12) + std::string(250, '\0') + std::string(37, '\x89');
  // This program's title of 300 bytes: 00 00 02 2C synchsafe, 556 read plain, which ends in the padding.
  const std::string long_title(299, 't');
  const Id3v2Frame plain_artist{"TPE1", 0, "artist", 0, true};
  const Id3v2Frame plain_album{"TALB", 0, "album", 0, true};

  struct Case {
    const char* name;
    int version;
    std::vector<Id3v2Frame> frames;
    std::string after_frames;  // padding, or other bytes
    std::optional<std::string> title, artist, album;
    std::uint32_t padding_size;
  };
  const std::vector<Case> cases = {
      {"version 3, zero low byte of U+3000",
       3,
       {{"TIT2", 1, utf16_payload(u"　"), 0, true}, plain_artist, plain_album},
       std::string(100, '\0'),
       Sjis(utf16_text("　")),
       "artist",
       "album",
       100},
      {"version 2, zero low byte of U+4E00",
       2,
       {{"TT2", 1, utf16_payload(u"一"), 0, true}, {"TP1", 0, "artist", 0, true}, {"TAL", 0, "album", 0, true}},
       std::string(20, '\0'),
       Sjis(utf16_text("一")),
       "artist",
       "album",
       20},
      {"version 3, capitals", 3, {{"TIT2", 0, capitals, 0, true}, plain_artist}, std::string(10, '\0'), capitals,
       "artist", std::nullopt, 10},
      {"version 3, picture with zero bytes", 3, {{"APIC", 0, picture, 0, true}, plain_artist, plain_album},
       std::string(64, '\0'), std::nullopt, "artist", "album", 64},
      // A picture frame of 200 (00 00 00 C8) has one reading; one of 300 whose bytes are no frame either.
      {"version 3, pictures", 3,
       {{"APIC", -1, std::string(200, '\x01'), 0, true}, {"APIC", -1, std::string(300, '\x01'), 0, true}, plain_artist},
       std::string(16, '\0'), std::nullopt, "artist", std::nullopt, 16},
      // This program's own tag: both readings of the title end in the padding; the synchsafe one holds.
      {"version 3, this program's sizes", 3, {{"TIT2", 0, long_title}}, std::string(300, '\0'), long_title,
       std::nullopt, std::nullopt, 300},
      {"version 2, this program's sizes", 2, {{"TT2", 0, long_title}, {"TP1", 0, "artist"}}, std::string(300, '\0'),
       long_title, "artist", std::nullopt, 300},
      // Another tool's tag in which this program replaced the title.
      {"version 3, both kinds", 3,
       {{"APIC", 0, picture, 0, true}, {"TIT2", 0, long_title}, plain_artist, plain_album},
       std::string(300, '\0'), long_title, "artist", "album", 300},
      // Bytes other than zero after the frames: no reading keeps in step to the end; the plain one keeps in
      // step further.
      {"version 3, no padding", 3, {{"TIT2", 1, utf16_payload(u"　"), 0, true}, plain_artist},
       "\x01\x02", Sjis(utf16_text("　")), "artist", std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string tag;
    for (const Id3v2Frame& f : c.frames) tag += testing::BuildFrame(c.version, f);
    tag += c.after_frames;
    const std::string bytes = std::string("ID3") + static_cast<char>(c.version) + std::string(2, '\0') +
                              testing::Synchsafe(static_cast<std::uint32_t>(tag.size()), 4) + tag +
                              testing::FakeAudio(2);
    Id3v2Fields f;
    Id3Layout layout;
    ASSERT_EQ(ReadV2(bytes, &f, false, &layout), c.version);
    EXPECT_EQ(f.title, c.title);
    for (const Id3v2Frame& frame : c.frames) {
      if (frame.id == "TIT2" || frame.id == "TT2") {
        EXPECT_EQ(layout.frame_sizes[Id3Layout::kTitle], static_cast<std::int32_t>(frame.payload.size() + 1));
      }
    }
    EXPECT_EQ(f.artist, c.artist);
    EXPECT_EQ(f.album, c.album);
    EXPECT_EQ(layout.padding_size, c.padding_size);
  }
}

TEST_F(Id3ReaderTest, Version4YearFromTheRecordingTime) {
  // Version 4 tags carry the year as the recording time; a year frame wins over it.
  Mp3Contents contents;
  contents.v2_version = 4;
  contents.frames = {{"TDRC", 3, "2013"}};
  Id3v2Fields f;
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f), 4);
  EXPECT_EQ(f.year, "2013");
  contents.frames = {{"TDRC", 3, "2013"}, {"TYER", 0, "1999"}};
  ASSERT_EQ(ReadV2(BuildMp3(contents), &f), 4);
  EXPECT_EQ(f.year, "1999");
}

TEST_F(Id3ReaderTest, FormatFlagsOfVersion4) {
  // In front of the data: a group identifier (0x40), an encryption method (0x04) and a data length
  // indicator (0x01, four synchsafe bytes), which compression (0x08) comes with. Unsynchronisation (0x02,
  // or the header's 0x80 for every frame) put a zero byte after every 0xFF.
  const std::string length = testing::Synchsafe(11, 4);
  const std::string text = std::string(1, '\0') + "title";
  const std::string utf16 = std::string(1, '\1') + Utf16Le(u"title", true);
  const std::string unsynchronised = std::string("\1\xFF\0\xFE", 4) + Utf16Le(u"title", false);
  struct Case {
    int version;
    std::uint8_t header_flags;
    std::uint8_t format_flags;
    std::string payload;
  };
  const std::vector<Case> cases = {
      {4, 0, 0x01, length + text},
      {4, 0, 0x01, length + utf16},
      {4, 0, 0x09, length + text},
      {4, 0, 0x08, "1234" + text},  // compressed without the indicator its writer owed
      {4, 0, 0x40, "g" + text},
      {4, 0, 0x04, "e" + text},
      {4, 0, 0x45, "ge" + length + text},
      {4, 0, 0x02, unsynchronised},
      {4, 0, 0x03, length + unsynchronised},
      {4, 0x80, 0, unsynchronised},
      // Version 3 has neither flag.
      {3, 0, 0x03, text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.version) + "/" + std::to_string(c.header_flags) + "/" +
                 std::to_string(c.format_flags));
    Mp3Contents contents;
    contents.v2_version = c.version;
    contents.frames = {{"TIT2", -1, c.payload, c.format_flags}, {"TPE1", 0, "artist"}};
    std::string bytes = BuildMp3(contents);
    bytes[5] = static_cast<char>(c.header_flags);
    Id3v2Fields f;
    ASSERT_EQ(ReadV2(bytes, &f), c.version);
    EXPECT_EQ(f.title, "title");
    EXPECT_EQ(f.artist, "artist");
  }
}

TEST_F(Id3ReaderTest, BadInputLeavesValuesAbsent) {
  Id3v2Fields f;
  // Truncated headers and sizes of 0.
  EXPECT_EQ(ReadV2("", &f), 0);
  EXPECT_EQ(ReadV2("ID3\3\0\0\0\0", &f), 0);
  EXPECT_EQ(ReadV2(std::string("ID3\3\0\0\0\0\0\0", 10), &f), 3);
  EXPECT_FALSE(f.title);
  const std::string title = testing::BuildFrame(3, {"TIT2", 0, "title"});
  EXPECT_EQ(ReadV2(std::string("ID3\3\0\0\0\0\0\0", 10) + title, &f), 3);
  EXPECT_FALSE(f.title);

  // The largest size, 2^28 - 1, over a short file: the frames that are there are read.
  const std::string big = std::string("ID3\4\0\0\x7F\x7F\x7F\x7F", 10);
  EXPECT_EQ(ReadV2(big + testing::BuildFrame(4, {"TIT2", 0, "title"}) + "TPE", &f), 4);
  EXPECT_EQ(f.title, "title");
  EXPECT_FALSE(f.artist);
  // Size bytes with the high bit set are masked, not taken for 2^28 and more.
  EXPECT_EQ(ReadV2(std::string("ID3\4\0\0\xFF\xFF\xFF\xFF", 10) + title, &f), 4);

  // A frame running past the end of the file ends the walk; its value is absent.
  Mp3Contents contents;
  contents.v2_version = 3;
  contents.frames = {{"TIT2", 0, "title"}, {"TPE1", 0, std::string(100, 'a')}};
  std::string tag = BuildId3v2(contents);
  EXPECT_EQ(ReadV2(tag.substr(0, tag.size() - 1), &f), 3);
  EXPECT_EQ(f.title, "title");
  EXPECT_FALSE(f.artist);
  // A tag ending in the middle of a frame header: the frames before it count.
  EXPECT_EQ(ReadV2(tag.substr(0, 10 + title.size() + 5), &f), 3);
  EXPECT_EQ(f.title, "title");
  // A frame that runs past the tag's declared end but not past the file is read as it stands.
  std::string shrunk = tag;
  shrunk.replace(6, 4, testing::Synchsafe(title.size() + 3, 4));
  EXPECT_EQ(ReadV2(shrunk, &f), 3);
  EXPECT_EQ(f.title, "title");
  EXPECT_EQ(f.artist, std::string(100, 'a'));

  // Flag extras larger than the frame, zero-size frames and empty payloads are stepped over.
  contents.frames = {{"TIT2", -1, "ab", 0x80},  {"TALB", -1, ""}, {"TYER", -1, ""},
                 {"TPE1", 0, "artist", 0x20}, {"TCON", 0, "xxxxRock", 0x80}};
  contents.padding = 4;
  EXPECT_EQ(ReadV2(BuildMp3(contents), &f), 3);
  EXPECT_FALSE(f.title);
  EXPECT_FALSE(f.album);
  EXPECT_FALSE(f.year);
  EXPECT_EQ(f.artist, "rtist");  // the group byte is not text
  EXPECT_EQ(f.genre, "Rock");

  // Extended headers that cannot hold their size or do not fit the tag leave the tag unreadable.
  EXPECT_EQ(ReadV2(std::string("ID3\4\0\x40\0\0\0\x0A\0\0\0\3", 14) + title, &f), 0);
  EXPECT_EQ(ReadV2(std::string("ID3\4\0\x40\0\0\0\x0A\0\0\0\x0B", 14) + title, &f), 0);
  EXPECT_EQ(ReadV2(std::string("ID3\4\0\x40\0\0\0\x0A\0\0", 12), &f), 0);

  // Payloads are read up to 511 bytes: the encoding byte and 510 bytes of text; the frame after a long
  // one is still found.
  contents.v2_version = 3;
  contents.frames = {{"TIT2", 0, std::string(2000, 'a')}, {"TPE1", 1, Utf16Le(std::u16string(600, u'b'), true)},
                 {"TALB", 0, "album"}};
  EXPECT_EQ(ReadV2(BuildMp3(contents), &f), 3);
  EXPECT_EQ(f.title, std::string(510, 'a'));
  EXPECT_EQ(f.artist, std::string(254, 'b'));
  EXPECT_EQ(f.album, "album");
}

}  // namespace
}  // namespace morva
