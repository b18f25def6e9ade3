#include "media/id3_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/mp3_builder.h"
#include "common/test_util.h"
#include "media/id3_reader.h"
#include "platform/file_system_wrapper.h"
#include "platform/memory_file.h"

namespace morva {
namespace {

using testing::BuildId3v2;
using testing::BuildMp3;
using testing::CommentPayload;
using testing::FakeAudio;
using testing::Id3v1Block;
using testing::Id3v2Frame;
using testing::Mp3Contents;

// What a file holds after a write, as our reader sees it.
struct Written {
  int version = 0;
  Id3Layout layout;
  Id3v2Fields v2;
  bool has_v1 = false;
  std::string v1;  // the raw 128 bytes
  std::string audio;
};

Written Inspect(TextCodec& codec, const std::string& bytes) {
  Written w;
  MemoryReadableFile file(bytes);
  w.version = ReadId3v2(file, codec, false, &w.v2, &w.layout);
  w.has_v1 = ReadId3v1(file, codec, false, nullptr);
  std::size_t begin = 0;
  if (w.version != 0) {
    begin = 10 + w.layout.tag_size;
    if (bytes.compare(begin, 3, "3DI") == 0) begin += 10;
  }
  const std::size_t end = bytes.size() - (w.has_v1 ? 128 : 0);
  if (w.has_v1) w.v1 = bytes.substr(end);
  w.audio = bytes.substr(begin, end - begin);
  return w;
}

Id3Items Items(std::optional<std::string> title, std::optional<std::string> artist = std::nullopt) {
  Id3Items items;
  items[kWriteTitle] = std::move(title);
  items[kWriteArtist] = std::move(artist);
  return items;
}

class Id3WriterTest : public testing::HostFixture {
 protected:
  std::string Sjis(const std::string& utf8) { return testing::Sjis(codec_.get(), utf8); }
  // Every name in the directory but `name` itself: a safety copy left behind shows here.
  std::vector<std::string> Others(const std::string& name) {
    std::vector<std::string> out;
    for (const std::string& n : testing::HostNames(dir_.path())) {
      if (n != name) out.push_back(n);
    }
    return out;
  }
};

// A title of 22 bytes in a version 3 tag with 300 bytes of padding, and an ID3v1.1 block.
Mp3Contents Padded() {
  Mp3Contents c;
  c.v2_version = 3;
  c.frames = {{"TIT2", 0, "Old title of the song"}, {"TPE1", 0, "Artist"}, {"TXXX", 0, std::string("k\0v", 3)}};
  c.padding = 300;
  c.audio_frames = 6;
  c.v1 = Id3v1Block{"Old title", "Artist", "Album", "1999", "note", 4, 17};
  return c;
}

TEST_F(Id3WriterTest, TagsAsTheJobAsksAndAudioUntouched) {
  struct Case {
    const char* name;
    Mp3Contents contents;
    int kinds;
    Id3Items items;
    Id3WriteOptions options;
    std::function<void(const Written&)> check;
    std::string file_name = "a.mp3";
  };
  const std::string grown = "Old title of the song, longer!!";  // 10 bytes more than the old title
  Id3Items all;
  all[kWriteTitle] = "T";
  all[kWriteArtist] = "Ar";
  all[kWriteAlbum] = "Al";
  all[kWriteTrack] = "300";
  all[kWriteYear] = "2013";
  all[kWriteComment] = "c";
  all[kWriteGenre] = "rock";
  Mp3Contents bare;
  bare.audio_frames = 5;
  Mp3Contents v24 = Padded();
  v24.v2_version = 4;
  v24.frames.push_back({"TDRC", 3, "2001-05-06"});
  v24.frames.push_back({"APIC", 0, std::string("image/png\0\x03\0", 12) + std::string(300, '\x89')});
  Mp3Contents v22;
  v22.v2_version = 2;
  v22.frames = {{"TT2", 0, "Old"}, {"COM", 0, CommentPayload(0, "", "old comment")}};
  v22.padding = 10;
  Mp3Contents extended = Padded();
  extended.extended_header = 6;
  // A version 3 tag as other tools write it: plain frame sizes, one of them 200 bytes long.
  Mp3Contents plain = Padded();
  plain.frames.insert(plain.frames.begin(), Id3v2Frame{"TALB", 0, std::string(199, 'a'), 0, true});
  plain.padding = 0;

  const std::vector<Case> cases = {
      {"padding absorbs a grown title", Padded(), kId3ChangeV2, Items(grown), {},
       [&](const Written& w) {
         EXPECT_EQ(w.layout.tag_size, BuildId3v2(Padded()).size() - 10);
         EXPECT_EQ(w.layout.padding_size, 290u);
         EXPECT_EQ(w.v2.title, grown);
         EXPECT_EQ(w.v2.artist, "Artist");
       }},
      {"never use the padding", Padded(), kId3ChangeV2, Items(grown), {256, true},
       [&](const Written& w) {
         EXPECT_EQ(w.layout.tag_size, BuildId3v2(Padded()).size() - 10 + 10);
         EXPECT_EQ(w.layout.padding_size, 300u);
       }},
      {"a shorter title shrinks the tag, padding kept", Padded(), kId3ChangeV2, Items("S"), {},
       [&](const Written& w) {
         EXPECT_EQ(w.layout.tag_size, BuildId3v2(Padded()).size() - 10 - 20);
         EXPECT_EQ(w.layout.padding_size, 300u);
       }},
      {"growth beyond the padding", Padded(), kId3ChangeV2, Items(std::string(400, 'x'), "New artist"), {},
       [&](const Written& w) {
         EXPECT_EQ(w.v2.title, std::string(400, 'x'));
         EXPECT_EQ(w.v2.artist, "New artist");
         EXPECT_EQ(w.layout.padding_size, 300u);
       }},
      {"new tags at both ends", bare, kId3AddV1 | kId3AddV2, all, {100, false},
       [&](const Written& w) {
         EXPECT_EQ(w.version, 3);
         EXPECT_EQ(w.layout.padding_size, 100u);
         EXPECT_EQ(w.v2.genre, "(17)Rock");
         EXPECT_EQ(w.v2.track, "300");
         EXPECT_EQ(w.v2.comment, "c");
         EXPECT_EQ(w.v2.year, "2013");
         ASSERT_TRUE(w.has_v1);
         EXPECT_EQ(w.v1.substr(0, 6), std::string("TAGT\0\0", 6));
         EXPECT_EQ(w.v1[125], 0);
         EXPECT_EQ(w.v1[126], 0);  // track 300 does not fit a byte
         EXPECT_EQ(w.v1[127], 17);
       }},
      {"a new ID3v1 block without a genre says Other", bare, kId3AddV1, Items("T"), {},
       [&](const Written& w) {
         EXPECT_EQ(w.version, 0);
         EXPECT_EQ(w.v1[127], 12);
       }},
      {"ID3v1 change: a two-byte character cut in half is dropped", Padded(), kId3ChangeV1,
       Items(std::string(29, 'a') + Sjis("表"), "B"), {},
       [&](const Written& w) {
         EXPECT_EQ(w.v1.substr(3, 30), std::string(29, 'a') + std::string(1, '\0'));
         EXPECT_EQ(w.v1.substr(33, 2), std::string("B\0", 2));
         EXPECT_EQ(w.v1.substr(63, 5), "Album");  // fields not given stay
         EXPECT_EQ(w.v1[126], 4);
         EXPECT_EQ(w.v2.title, "Old title of the song");
       }},
      {"ID3v1 change of track and genre", Padded(), kId3ChangeV1, [] {
         Id3Items items;
         items[kWriteTrack] = "3/12";
         items[kWriteGenre] = "(20)";
         return items;
       }(), {},
       [&](const Written& w) {
         EXPECT_EQ(w.v1[126], 3);
         EXPECT_EQ(w.v1[127], 20);
         EXPECT_EQ(w.v1.substr(3, 9), "Old title");
       }},
      {"version 4: the year is the recording time, other frames stay", v24, kId3ChangeV2 | kId3ChangeV1, all, {},
       [&](const Written& w) {
         EXPECT_EQ(w.v2.year, "2013");
         EXPECT_EQ(w.v2.genre, "(17)Rock");
         EXPECT_EQ(w.v1[127], 17);
       }},
      {"version 2", v22, kId3ChangeV2, all, {},
       [&](const Written& w) {
         EXPECT_EQ(w.version, 2);
         EXPECT_EQ(w.v2.title, "T");
         EXPECT_EQ(w.v2.comment, "c");
         EXPECT_EQ(w.v2.album, "Al");
       }},
      {"an extended header is kept", extended, kId3ChangeV2, Items("New"), {},
       [&](const Written& w) {
         EXPECT_EQ(w.layout.extended_header_size, 10u);
         EXPECT_EQ(w.v2.title, "New");
       }},
      {"plain frame sizes of another tool", plain, kId3ChangeV2, Items(std::string(150, 't')), {},
       [&](const Written& w) {
         EXPECT_EQ(w.v2.album, std::string(199, 'a'));
         EXPECT_EQ(w.v2.title, std::string(150, 't'));
         EXPECT_EQ(w.v2.artist, "Artist");
       }},
      {"no .mp3 needed by the writer itself", Padded(), kId3ChangeV2, Items("x"), {},
       [&](const Written& w) { EXPECT_EQ(w.v2.title, "x"); }, "a.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string before = BuildMp3(c.contents);
    testing::WriteFile(dir_ / c.file_name, before);
    ASSERT_EQ(WriteId3(*fs_, *codec_, E(c.file_name), c.kinds, c.items, c.options), kId3Written);
    const std::string after = testing::ReadFile(dir_ / c.file_name);
    const Written w = Inspect(*codec_, after);
    EXPECT_EQ(w.audio, FakeAudio(c.contents.audio_frames));
    // Every frame not named by the items is copied as it was.
    for (const Id3v2Frame& f : c.contents.frames) {
      if (f.id == "TXXX" || f.id == "APIC") {
        EXPECT_NE(after.find(testing::BuildFrame(c.contents.v2_version, f)), std::string::npos) << f.id;
      }
    }
    c.check(w);
    EXPECT_EQ(Others(c.file_name), std::vector<std::string>()) << "a safety copy was left";
    unlink((dir_ / c.file_name).c_str());
  }
}

// The encoding of each text follows the tag's version and ID3_ENC, and the tag's size and padding follow
// the bytes actually written: the padding takes a growth exactly as large as it is, and one byte more
// makes the tag grow by the whole growth with its padding kept.
TEST_F(Id3WriterTest, TextEncodingAndSizesFollowTheTagVersion) {
  struct Case {
    const char* name;
    int version;  // of the tag the file has; 0: none, a version 3 tag is added
    bool cp932_text;
    const char* title;        // UTF-8
    const char16_t* title16;  // the same text
    int encoding;             // expected of the new frames
    bool fits;                // the padding is exactly the growth, or one byte less
  };
  const Case cases[] = {
      {"version 3, kanji and a wave dash", 3, false, "曲名・テスト～", u"曲名・テスト～", 1, true},
      {"version 3, full width, grows", 3, false, "ＭＯＲＶＡ１２３", u"ＭＯＲＶＡ１２３", 1, false},
      {"version 2, half-width kana", 2, false, "ｱｲｳ曲", u"ｱｲｳ曲", 1, true},
      {"version 2, grows", 2, false, "ｱｲｳ曲", u"ｱｲｳ曲", 1, false},
      {"version 4, UTF-8", 4, false, "曲名・テスト～", u"曲名・テスト～", 3, true},
      {"version 4, grows", 4, false, "ＭＯＲＶＡ", u"ＭＯＲＶＡ", 3, false},
      {"new tag", 0, false, "曲名", u"曲名", 1, true},
      {"plain ASCII stays one byte a character", 3, false, "Plain title", u"Plain title", 0, false},
      {"code page 932 kept, version 3", 3, true, "曲名・テスト～", u"曲名・テスト～", 0, true},
      {"code page 932 kept, version 4, grows", 4, true, "曲名・テスト～", u"曲名・テスト～", 0, false},
  };
  const std::string comment_utf8 = "コメント";
  const std::u16string comment16 = u"コメント";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int version = c.version == 0 ? 3 : c.version;
    const std::string title_id = version == 2 ? "TT2" : "TIT2";
    const std::string comment_id = version == 2 ? "COM" : "COMM";
    const std::size_t frame_header = version == 2 ? 6 : 10;
    // The payloads as a standard reader expects them: UTF-16 after a byte-order mark (the comment's
    // empty description has one too), UTF-8, or the code page 932 bytes.
    std::string title_payload(1, static_cast<char>(c.encoding));
    std::string comment_payload = title_payload + "jpn";
    if (c.encoding == 1) {
      title_payload += testing::Utf16Le(c.title16, true);
      comment_payload += testing::Utf16Le(u"", true) + std::string(2, '\0') + testing::Utf16Le(comment16, true);
    } else if (c.encoding == 3) {
      title_payload += c.title;
      comment_payload += std::string(1, '\0') + comment_utf8;
    } else {
      title_payload += Sjis(c.title);
      comment_payload += std::string(1, '\0') + (c.cp932_text ? Sjis(comment_utf8) : std::string());
    }
    Id3Items items = Items(Sjis(c.title));
    if (c.encoding != 0 || c.cp932_text) items[kWriteComment] = Sjis(comment_utf8);

    Mp3Contents contents;
    contents.audio_frames = 3;
    std::size_t growth = 0;
    if (c.version != 0) {
      contents.v2_version = version;
      contents.frames = {{title_id, 0, "Old"}, {version == 2 ? "TP1" : "TPE1", 0, "Artist"}};
      growth = title_payload.size() - 4;
      if (items[kWriteComment]) growth += frame_header + comment_payload.size();
      contents.padding = c.fits ? growth : growth - 1;
    }
    const std::string before = BuildMp3(contents);
    testing::WriteFile(dir_ / "a.mp3", before);
    Id3WriteOptions options;
    options.new_tag_padding = 50;
    options.cp932_text = c.cp932_text;
    ASSERT_EQ(WriteId3(*fs_, *codec_, E("a.mp3"), c.version == 0 ? kId3AddV2 | kId3AddV1 : kId3ChangeV2, items,
                       options),
              kId3Written);
    const std::string after = testing::ReadFile(dir_ / "a.mp3");

    MemoryReadableFile file(after);
    Id3v2Frames tag;
    ASSERT_TRUE(ListId3v2Frames(file, &tag));
    std::map<std::string, std::string> payloads;
    for (const Id3v2FrameSpan& f : tag.frames) {
      payloads[f.header.substr(0, version == 2 ? 3 : 4)] = after.substr(f.offset + f.header.size(), f.size);
    }
    EXPECT_EQ(payloads[title_id], title_payload);
    if (items[kWriteComment]) {
      EXPECT_EQ(payloads[comment_id], comment_payload);
    }

    const Written w = Inspect(*codec_, after);
    EXPECT_EQ(w.v2.title, Sjis(c.title));
    EXPECT_EQ(w.v2.comment, items[kWriteComment]);
    EXPECT_EQ(w.v2.artist, c.version == 0 ? std::nullopt : std::optional<std::string>("Artist"));
    EXPECT_EQ(w.audio, FakeAudio(3));
    if (c.version == 0) {
      // Frames and the padding asked for; the ID3v1 block keeps code page 932.
      EXPECT_EQ(w.layout.tag_size, 10 + title_payload.size() + 10 + comment_payload.size() + 50);
      EXPECT_EQ(w.layout.padding_size, 50u);
      EXPECT_EQ(w.v1.substr(3, 30), Sjis(c.title) + std::string(30 - Sjis(c.title).size(), '\0'));
    } else {
      const std::size_t old_size = BuildId3v2(contents).size() - 10;
      EXPECT_EQ(w.layout.tag_size, c.fits ? old_size : old_size + growth);
      EXPECT_EQ(w.layout.padding_size, c.fits ? 0u : contents.padding);
      // A tag that keeps its size leaves the audio where it was.
      if (c.fits) {
        EXPECT_EQ(after.size(), before.size());
      }
    }
    EXPECT_EQ(Others("a.mp3"), std::vector<std::string>());
  }
}

// A reader of a version 2 or 3 tag marked unsynchronised takes out the zero after every 0xFF first.
// UTF-16 text can hold such a pair, and then the mark goes (the tag held no pair before, so without the
// mark it reads the same); otherwise the mark stays.
TEST_F(Id3WriterTest, UnsynchronisationMarkGoesWhenUnicodeTextNeedsIt) {
  struct Case {
    const char* name;
    int version;
    const char* title;
    bool mark_kept;
  };
  const Case cases[] = {
      {"0xFF 0x00 in UTF-16", 3, "ｱﾙﾊﾞﾑ一", false},  // ﾑ一: 91 FF 00 4E
      {"0xFF 0x00 in UTF-16, version 2", 2, "ｱﾙﾊﾞﾑ一", false},
      {"no such pair", 3, "曲名", true},
      {"version 4 frames never hold one", 4, "ｱﾙﾊﾞﾑ一", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mp3Contents contents;
    contents.v2_version = c.version;
    contents.frames = {{c.version == 2 ? "TT2" : "TIT2", 0, "Old"}};
    contents.padding = 8;
    std::string before = BuildMp3(contents);
    before[5] = '\x80';
    testing::WriteFile(dir_ / "a.mp3", before);
    ASSERT_EQ(WriteId3(*fs_, *codec_, E("a.mp3"), kId3ChangeV2, Items(Sjis(c.title)), {}), kId3Written);
    const std::string after = testing::ReadFile(dir_ / "a.mp3");
    const Written w = Inspect(*codec_, after);
    EXPECT_EQ(w.v2.title, Sjis(c.title));
    EXPECT_EQ(after[5] == '\x80', c.mark_kept);
    if (c.version < 4 && c.mark_kept) {
      EXPECT_EQ(after.substr(10, w.layout.tag_size).find(std::string("\xFF\x00", 2)), std::string::npos);
    }
  }
}

// A change the padding absorbs leaves it as small as it comes, shorter than a frame header too, and
// at the very end of a file that is nothing but its tag: it is kept, and the tag reads back.
TEST_F(Id3WriterTest, PaddingLeftShorterThanAFrameHeaderIsKept) {
  const std::string old_title = "Old title of the song";
  constexpr std::size_t kPadding = 20;
  for (const bool tag_alone : {false, true}) {
    for (std::size_t left = 0; left <= 10; ++left) {
      SCOPED_TRACE(std::string(tag_alone ? "tag alone, " : "audio after, ") + std::to_string(left) + " left");
      Mp3Contents contents = Padded();
      contents.padding = kPadding;
      if (tag_alone) {
        contents.audio_frames = 0;
        contents.v1.reset();
      }
      const std::string before = BuildMp3(contents);
      testing::WriteFile(dir_ / "a.mp3", before);
      const std::string title = old_title + std::string(kPadding - left, '+');
      ASSERT_EQ(WriteId3(*fs_, *codec_, E("a.mp3"), kId3ChangeV2, Items(title), {}), kId3Written);
      const Written w = Inspect(*codec_, testing::ReadFile(dir_ / "a.mp3"));
      EXPECT_EQ(w.layout.tag_size, BuildId3v2(contents).size() - 10);
      EXPECT_EQ(w.layout.padding_size, left);
      EXPECT_EQ(w.v2.title, title);
      EXPECT_EQ(w.v2.artist, "Artist");
      EXPECT_EQ(w.audio, FakeAudio(contents.audio_frames));

      // The tag as written takes a further change.
      ASSERT_EQ(WriteId3(*fs_, *codec_, E("a.mp3"), kId3ChangeV2, Items(std::nullopt, "Other"), {}), kId3Written);
      EXPECT_EQ(Inspect(*codec_, testing::ReadFile(dir_ / "a.mp3")).v2.artist, "Other");
    }
  }
}

TEST_F(Id3WriterTest, FooterFollowsTheTag) {
  Mp3Contents c = Padded();
  c.v2_version = 4;
  c.padding = 0;
  std::string tag = BuildId3v2(c);
  tag[5] = '\x10';
  std::string footer = tag.substr(0, 10);
  footer.replace(0, 3, "3DI");
  testing::WriteFile(dir_ / "f.mp3", tag + footer + FakeAudio(3));
  ASSERT_EQ(WriteId3(*fs_, *codec_, E("f.mp3"), kId3ChangeV2, Items("Longer title of the song"), {}), kId3Written);
  const std::string after = testing::ReadFile(dir_ / "f.mp3");
  const Written w = Inspect(*codec_, after);
  EXPECT_EQ(w.v2.title, "Longer title of the song");
  EXPECT_EQ(after.substr(10 + w.layout.tag_size, 10).substr(0, 3), "3DI");
  EXPECT_EQ(after.substr(10 + w.layout.tag_size + 6, 4), after.substr(6, 4));
  EXPECT_EQ(w.audio, FakeAudio(3));
}

TEST_F(Id3WriterTest, SafetyCopyNamesAndReadOnly) {
  const std::string original = BuildMp3(Padded());
  FaultInjectingFileSystem fs(fs_.get());
  testing::WriteFile(dir_ / "a.mp3", original);
  testing::WriteFile(dir_ / "a.mp3.bak", "someone's own file");
  ASSERT_EQ(WriteId3(fs, *codec_, E("a.mp3"), kId3ChangeV2, Items("New"), {}), kId3Written);
  EXPECT_EQ(fs.calls(FsOp::kOpenUpdate), 2) << "a.mp3.bak taken, a.mp3.bak1 used";
  EXPECT_EQ(testing::ReadFile(dir_ / "a.mp3.bak"), "someone's own file");
  EXPECT_EQ(Others("a.mp3"), std::vector<std::string>{"a.mp3.bak"});

  // All ten names taken: nothing is written.
  testing::WriteFile(dir_ / "b.mp3", original);
  for (int n = 0; n < 10; ++n) testing::WriteFile(dir_ / ("b.mp3.bak" + (n ? std::to_string(n) : "")), "x");
  EXPECT_EQ(WriteId3(fs, *codec_, E("b.mp3"), kId3ChangeV2, Items("New"), {}), kId3BackupFailed);
  EXPECT_EQ(testing::ReadFile(dir_ / "b.mp3"), original);

  // A read-only file is written and stays read-only.
  testing::WriteFile(dir_ / "r.mp3", original);
  ASSERT_EQ(chmod((dir_ / "r.mp3").c_str(), 0444), 0);
  ASSERT_EQ(WriteId3(fs, *codec_, E("r.mp3"), kId3ChangeV2 | kId3ChangeV1, Items("New"), {}), kId3Written);
  struct stat st {};
  ASSERT_EQ(stat((dir_ / "r.mp3").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  EXPECT_EQ(Inspect(*codec_, testing::ReadFile(dir_ / "r.mp3")).v2.title, "New");
}

// Whatever fails, the file keeps its bytes and its last-write time, and no safety copy stays behind.
TEST_F(Id3WriterTest, FailuresLeaveTheFileAsItWas) {
  struct Case {
    const char* name;
    int kinds;
    std::string items_title;
    std::function<void(FaultInjectingFileSystem&)> fault;
    int expected;
  };
  const std::string long_title(400, 'x');  // the tag must grow: the file is rewritten
  const std::vector<Case> cases = {
      {"the directory refuses the copy", kId3ChangeV2, "New",
       [](FaultInjectingFileSystem& fs) { fs.FailOn(FsOp::kOpenUpdate, "", EACCES); }, kId3BackupFailed},
      {"no room for the copy", kId3ChangeV2, "New",
       [](FaultInjectingFileSystem& fs) { fs.FailOn(FsOp::kOpenUpdate, "", ENOSPC); }, kId3BackupFailed},
      {"disk full at the tag", kId3ChangeV2, long_title,
       [](FaultInjectingFileSystem& fs) { fs.FailOn(FsOp::kUpdateWrite, "", ENOSPC); }, kId3OpenFailed},
      {"disk full while the audio is copied back", kId3ChangeV2, long_title,
       [](FaultInjectingFileSystem& fs) { fs.FailOn(FsOp::kUpdateWrite, "", ENOSPC, -1, 1); }, kId3OpenFailed},
      {"disk full at the ID3v1 block", kId3ChangeV2 | kId3ChangeV1, long_title,
       [](FaultInjectingFileSystem& fs) { fs.FailOn(FsOp::kUpdateWrite, "", ENOSPC, -1, 2); }, kId3OpenFailed},
      {"the flush fails", kId3ChangeV2, "New",
       [](FaultInjectingFileSystem& fs) { fs.FailOn(FsOp::kUpdateCommit, "", EIO); }, kId3OpenFailed},
      // The first call clears the flag, the second, after the tags are written, fails to set it back.
      {"a read-only file's flag does not come back", kId3ChangeV2 | kId3ChangeV1, "New",
       [this](FaultInjectingFileSystem& fs) {
         ASSERT_EQ(chmod((dir_ / "a.mp3").c_str(), 0444), 0);
         fs.FailOn(FsOp::kSetAttributes, "", EIO, 1, 1);
       },
       kId3OpenFailed},
      {"a tag to add where there is one", kId3AddV2, "New", [](FaultInjectingFileSystem&) {}, kId3TagUnreadable},
      {"an ID3v1 block to add where there is one", kId3AddV1, "New", [](FaultInjectingFileSystem&) {},
       kId3OpenFailed},
      // 0x8540 is no character of code page 932: no Unicode frame, and no ID3v1 change either.
      {"a title without a Unicode form", kId3ChangeV2 | kId3ChangeV1, "ab\x85\x40", [](FaultInjectingFileSystem&) {},
       kId3TextUnconvertible},
  };
  const std::string original = BuildMp3(Padded());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteFile(dir_ / "a.mp3", original);
    ASSERT_EQ(chmod((dir_ / "a.mp3").c_str(), 0644), 0);
    struct timespec old_times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir_ / "a.mp3").c_str(), old_times, 0), 0);
    FaultInjectingFileSystem fs(fs_.get());
    c.fault(fs);
    struct stat before {};
    ASSERT_EQ(stat((dir_ / "a.mp3").c_str(), &before), 0);
    EXPECT_EQ(WriteId3(fs, *codec_, E("a.mp3"), c.kinds, Items(c.items_title), {}), c.expected);
    EXPECT_EQ(testing::ReadFile(dir_ / "a.mp3"), original);
    struct stat st {};
    ASSERT_EQ(stat((dir_ / "a.mp3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mode & 0777, before.st_mode & 0777);
    EXPECT_EQ(Others("a.mp3"), std::vector<std::string>());
  }

  // Tags that cannot be copied frame by frame: a frame running past the tag, bytes that are no frame.
  Mp3Contents overrun = Padded();
  overrun.padding = 0;
  std::string bad = BuildMp3(overrun);
  bad[10 + 7] = 0x7F;  // the first frame's size now reaches past the tag
  std::string junk = BuildMp3(Padded());
  junk[10 + 10 + 22] = 'x';  // where the second frame's identifier starts
  for (const std::string& bytes : {bad, junk}) {
    testing::WriteFile(dir_ / "t.mp3", bytes);
    EXPECT_EQ(WriteId3(*fs_, *codec_, E("t.mp3"), kId3ChangeV2, Items("New"), {}), kId3TagUnreadable);
    EXPECT_EQ(testing::ReadFile(dir_ / "t.mp3"), bytes);
    EXPECT_EQ(Others("t.mp3"), std::vector<std::string>{"a.mp3"});
  }

  // A symbolic link is not written through: neither the link nor its file changes.
  ASSERT_EQ(symlink((dir_ / "a.mp3").c_str(), (dir_ / "l.mp3").c_str()), 0);
  EXPECT_EQ(WriteId3(*fs_, *codec_, E("l.mp3"), kId3ChangeV2, Items("New"), {}), kId3BackupFailed);
  EXPECT_EQ(testing::ReadFile(dir_ / "a.mp3"), original);
}

}  // namespace
}  // namespace morva
