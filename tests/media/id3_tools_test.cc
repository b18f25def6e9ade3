// Tags written by mutagen (mid3v2 and its Python library) read the same with our reader as with
// `mid3v2 -l`; tags our writer changes or adds read the same with mutagen as with our reader, and keep
// every other frame byte for byte. Skipped where mutagen is not installed.

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/mp3_builder.h"
#include "common/test_util.h"
#include "media/id3_reader.h"
#include "media/id3_writer.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"
#include "platform/user_area_table.h"

namespace morva {
namespace {

// Runs a shell command; its standard output, or nullopt when it could not run or failed.
std::optional<std::string> RunTool(const std::string& command) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), &pclose);
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe.get())) > 0) out.append(buffer, n);
  const int status = pclose(pipe.release());
  if (status != 0) return std::nullopt;
  return out;
}

// The frames `mid3v2 -l` lists, by identifier ("COMM" maps to the comment text alone).
std::map<std::string, std::string> ListFrames(const std::string& path) {
  std::map<std::string, std::string> frames;
  const std::optional<std::string> out = RunTool("mid3v2 -l '" + path + "'");
  if (!out) return frames;
  std::size_t start = 0;
  while (start < out->size()) {
    std::size_t end = out->find('\n', start);
    if (end == std::string::npos) end = out->size();
    const std::string line = out->substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    if (eq != 4) continue;
    std::string value = line.substr(eq + 1);
    if (line.compare(0, 4, "COMM") == 0) {
      // COMM=description=language=text
      for (int i = 0; i < 2 && value.find('=') != std::string::npos; ++i) value.erase(0, value.find('=') + 1);
    }
    frames[line.substr(0, 4)] = value;
  }
  return frames;
}

// A Python interpreter with mutagen, or empty.
std::string MutagenPython() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    if (RunTool(std::string(python) + " -c 'import mutagen'")) return python;
  }
  return {};
}

class Id3ToolsTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    if (!RunTool("mid3v2 --version")) GTEST_SKIP() << "mid3v2 (python3-mutagen) is not installed";
    testing::HostFixture::SetUp();
  }

  // Reads `name` with our reader and checks every item against what mid3v2 lists.
  void ExpectSameAsMid3v2(const std::string& name, int version) {
    const std::string path = dir_ / name;
    const std::map<std::string, std::string> listed = ListFrames(path);
    ASSERT_FALSE(listed.empty()) << name;
    Id3Reader reader(*fs_, *codec_);
    ASSERT_EQ(reader.Read(testing::EnginePath(codec_.get(), path), {}, false), 2) << name;
    EXPECT_EQ(reader.version_string(), "02" + std::to_string(version));
    const auto utf8 = [this](const std::optional<std::string>& cp932) -> std::string {
      if (!cp932) return "(absent)";
      std::string out;
      EXPECT_TRUE(codec_->Cp932ToUtf8(*cp932, &out).ok());
      return out;
    };
    const auto listed_or_absent = [&listed](const std::string& id) {
      const auto it = listed.find(id);
      return it == listed.end() ? std::string("(absent)") : it->second;
    };
    EXPECT_EQ(utf8(reader.v2().title), listed_or_absent("TIT2")) << name;
    EXPECT_EQ(utf8(reader.v2().artist), listed_or_absent("TPE1")) << name;
    EXPECT_EQ(utf8(reader.v2().album), listed_or_absent("TALB")) << name;
    EXPECT_EQ(utf8(reader.v2().track), listed_or_absent("TRCK")) << name;
    EXPECT_EQ(utf8(reader.v2().comment), listed_or_absent("COMM")) << name;
    EXPECT_EQ(utf8(reader.v2().genre), listed_or_absent("TCON")) << name;
    EXPECT_EQ(utf8(reader.v2().year), listed.count("TYER") ? listed.at("TYER") : listed_or_absent("TDRC")) << name;
  }
};

TEST_F(Id3ToolsTest, Mid3v2Version4Utf8) {
  testing::WriteFile(dir_ / "plain.mp3", testing::FakeAudio(8));
  ASSERT_TRUE(RunTool("mid3v2 -t Title -a Artist -A Album -T 3/12 -y 2013 '" + dir_ / "plain.mp3" + "'"));
  ExpectSameAsMid3v2("plain.mp3", 4);

  testing::WriteFile(dir_ / "kana.mp3", testing::FakeAudio(8));
  ASSERT_TRUE(RunTool("mid3v2 -t 'タイトル' -a 'アーティスト' -A '曲集' -T 1 -y 2020 -g Rock -c 'コメント' '" +
                  dir_ / "kana.mp3" + "'"));
  ExpectSameAsMid3v2("kana.mp3", 4);
}

// What `mid3v2 -l` shows of code page 932 bytes under encoding 0: each byte as a Latin-1 character.
std::string Latin1AsUtf8(const std::string& bytes) {
  std::string out;
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

// Japanese and accented texts our writer puts into new and existing tags of every version read back exactly with
// mid3v2: as UTF-16 in versions 2 and 3, as UTF-8 in version 4, in a tag marked unsynchronised too
// (whose reader takes out the zero after every 0xFF, and UTF-16 has such pairs). With code page 932
// kept (ID3_ENC), mid3v2 shows the bytes of code page 932 as Latin-1, as it always did.
TEST_F(Id3ToolsTest, Mid3v2ReadsTheJapaneseAndAccentedTextsWeWrite) {
  struct Case {
    const char* name;
    int version;  // of the tag the file has; 0: none, a version 3 tag is added
    bool cp932_text;
    bool unsynchronised = false;
  };
  const Case cases[] = {
      {"new tag", 0, false},
      {"version 2", 2, false},
      {"version 3", 3, false},
      {"version 3 marked unsynchronised", 3, false, true},
      {"version 4", 4, false},
      {"version 3, code page 932 kept", 3, true},
      {"version 4, code page 932 kept", 4, true},
  };
  // Kanji and kana, full-width letters and digits, half-width kana, the wave dash, whose code page 932
  // form is the full-width tilde U+FF5E, and accented letters, which take user-defined codes. "ﾑ一" is
  // 91 FF 00 4E in UTF-16.
  const std::map<std::string, std::string> texts = {{"TIT2", "曲名・テスト～"},
                                                    {"TPE1", "Motörhead ＭＯＲＶＡ１２３"},
                                                    {"TALB", "ｱﾙﾊﾞﾑ一"},
                                                    {"COMM", "コメント café"}};
  std::unique_ptr<UserAreaTable> table;
  ASSERT_TRUE(UserAreaTable::Open(dir_ / "mvchars.txt", &table).ok());
  const std::unique_ptr<TextCodec> codec = NewIconvTextCodec(table.get());
  Id3Items items;
  items[kWriteTitle] = testing::Sjis(codec.get(), texts.at("TIT2"));
  items[kWriteArtist] = testing::Sjis(codec.get(), texts.at("TPE1"));
  items[kWriteAlbum] = testing::Sjis(codec.get(), texts.at("TALB"));
  items[kWriteComment] = testing::Sjis(codec.get(), texts.at("COMM"));
  items[kWriteTrack] = "7";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::Mp3Contents contents;
    contents.v2_version = c.version;
    if (c.version != 0) {
      contents.frames = {{c.version == 2 ? "TT2" : "TIT2", 0, "Old"}};
      contents.padding = 20;
    }
    const std::string path = dir_ / "song.mp3";
    std::string bytes = testing::BuildMp3(contents);
    if (c.unsynchronised) bytes[5] = '\x80';
    testing::WriteFile(path, bytes);
    Id3WriteOptions options;
    options.cp932_text = c.cp932_text;
    ASSERT_EQ(WriteId3(*fs_, *codec, testing::EnginePath(codec_.get(), path),
                       c.version == 0 ? kId3AddV2 : kId3ChangeV2, items, options),
              kId3Written);
    const std::map<std::string, std::string> listed = ListFrames(path);
    for (const auto& [id, text] : texts) {
      const std::string expected = c.cp932_text ? Latin1AsUtf8(testing::Sjis(codec.get(), text)) : text;
      EXPECT_EQ(listed.count(id) ? listed.at(id) : "(absent)", expected) << id;
    }
    EXPECT_EQ(listed.count("TRCK") ? listed.at("TRCK") : "(absent)", "7");
  }
}

// What the synchsafe reading of the size of frame `id` lands on in the version 3 tag at the start of
// `file`, whose sizes are plain numbers: the four bytes there, or nothing when the frame is missing or
// its size reads one way only.
std::string SynchsafeLanding(const std::string& file, const std::string& id) {
  const auto number = [&file](std::size_t at, int bits) {
    std::uint32_t v = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
      v = (v << bits) | (static_cast<unsigned char>(file[i]) & ((1u << bits) - 1));
    }
    return v;
  };
  if (file.size() < 10 || file.compare(0, 4, "ID3\3") != 0) return {};
  const std::size_t end = 10 + number(6, 7);
  for (std::size_t at = 10; at + 10 <= end && at + 10 <= file.size() && file[at] != 0;) {
    const std::uint32_t plain = number(at + 4, 8);
    if (file.compare(at, 4, id) == 0) {
      const std::uint32_t synchsafe = number(at + 4, 7);
      const bool one_way = synchsafe == plain || (plain & 0x80808080u) != 0;
      return one_way ? std::string() : file.substr(at + 10 + synchsafe, 4);
    }
    at += 10 + plain;
  }
  return {};
}

TEST_F(Id3ToolsTest, MutagenVersion3SizesThatReadBothWays) {
  const std::string python = MutagenPython();
  if (python.empty()) GTEST_SKIP() << "no Python with mutagen";
  // mutagen writes version 3 sizes as plain numbers. Each tag has a frame of 128 bytes or more whose size
  // also reads as a smaller synchsafe number, which ends the frame inside its payload: on the zero low
  // byte of a UTF-16 "　" or "一", on picture bytes that are zero, on capitals that pass for a frame
  // identifier, or on other bytes. The frames after it are only found with the plain size.
  enum Landing { kZero, kCapitals, kOther };
  struct Case {
    const char* name;
    const char* frames;  // Python statements adding frames to the tag t, with mutagen.id3 as m
    const char* ambiguous;
    Landing landing;
  };
  const Case cases[] = {
      {"ideographic_space", R"(
t.add(m.TIT2(encoding=1, text="曲" * 67 + "　" + "曲" * 62))
t.add(m.TPE1(encoding=1, text="アーティスト"))
t.add(m.TALB(encoding=0, text="Album"))
t.add(m.TRCK(encoding=0, text="3/12"))
t.add(m.TYER(encoding=0, text="2013"))
t.add(m.COMM(encoding=1, lang="jpn", desc="", text="コメント"))
)",
       "TIT2", kZero},
      {"kanji_one", R"(
t.add(m.TIT2(encoding=1, text="曲名"))
t.add(m.TALB(encoding=1, text="曲" * 67 + "一" + "曲" * 62))
t.add(m.TCON(encoding=0, text="Rock"))
t.add(m.TYER(encoding=0, text="2020"))
t.add(m.COMM(encoding=1, lang="jpn", desc="", text="コメント"))
)",
       "TALB", kZero},
      {"capitals", R"(
t.add(m.TIT2(encoding=0, text=("ABCDEFGHIJKLMNOPQRSTUVWXYZ" * 12)[:298]))
t.add(m.TPE1(encoding=0, text="ARTIST"))
t.add(m.TRCK(encoding=0, text="7"))
)",
       "TIT2", kCapitals},
      {"picture", R"(
t.add(m.TIT2(encoding=0, text="Title"))
t.add(m.APIC(encoding=0, mime="image/png", type=3, desc="", data=b"\x89PNG\r\n\x1a\n" + bytes(279)))
t.add(m.COMM(encoding=1, lang="jpn", desc="", text="長いコメント" * 40))
)",
       "APIC", kZero},
      {"utf16_and_picture", R"(
t.add(m.TIT2(encoding=1, text="タイトル" * 32 + "ab"))
t.add(m.TPE1(encoding=1, text="アーティスト"))
t.add(m.TALB(encoding=0, text="Album"))
t.add(m.APIC(encoding=0, mime="image/png", type=3, desc="", data=bytes([1]) * 300))
t.add(m.COMM(encoding=0, lang="eng", desc="desc", text="comment text"))
)",
       "TIT2", kOther},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir_ / (std::string(c.name) + ".mp3");
    const std::string script = dir_ / "tag.py";
    testing::WriteFile(file, testing::FakeAudio(8));
    testing::WriteFile(script, std::string("import sys\nimport mutagen.id3 as m\nt = m.ID3()\n") + c.frames +
                                   "t.save(sys.argv[1], v2_version=3)\n");
    ASSERT_TRUE(RunTool(python + " '" + script + "' '" + file + "'"));
    const std::string landing = SynchsafeLanding(testing::ReadFile(file), c.ambiguous);
    ASSERT_EQ(landing.size(), 4u) << "the size of " << c.ambiguous << " reads one way only";
    const bool zero = landing[0] == '\0';
    const bool capitals = std::all_of(landing.begin(), landing.end(), [](char ch) {
      return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
    });
    ASSERT_EQ(zero ? kZero : capitals ? kCapitals : kOther, c.landing);
    ExpectSameAsMid3v2(std::string(c.name) + ".mp3", 3);
  }
}


// What mutagen reads from a file: "key=value" lines of the items (texts of encoding 0 taken as code page
// 932, as this program writes them), the tag's size and the payloads of the frames no item names.
constexpr char kMutagenDump[] = R"(import sys
import mutagen.id3 as m
t = m.ID3(sys.argv[1])
def text(f):
    s = str(f.text[0])
    if f.encoding == 0:
        s = s.encode('latin-1').decode('cp932')
    return s
for key, fid in [('title', 'TIT2'), ('artist', 'TPE1'), ('album', 'TALB'), ('track', 'TRCK'), ('year', 'TDRC'),
                 ('genre', 'TCON')]:
    if fid in t:
        print(key + '=' + text(t[fid]))
comments = t.getall('COMM')
if comments:
    print('comment=' + text(comments[0]))
print('size=%d' % t.size)
print('others=' + ','.join([a.data.hex() for a in t.getall('APIC')] + [p.data.hex() for p in t.getall('PRIV')] +
                           [str(x.text[0]) for x in t.getall('TXXX')] + [d.hex() for d in t.unknown_frames]))
)";

std::map<std::string, std::string> MutagenView(const std::string& python, const std::string& script,
                                               const std::string& file) {
  std::map<std::string, std::string> out;
  const std::optional<std::string> text = RunTool(python + " '" + script + "' '" + file + "'");
  if (!text) return out;
  std::size_t start = 0;
  while (start < text->size()) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    const std::string line = text->substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) out[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return out;
}

// The frames of the tag at the start of `bytes` whose identifiers no item writes, as raw bytes in order.
std::vector<std::string> OtherFrames(const std::string& bytes) {
  MemoryReadableFile file(bytes);
  Id3v2Frames tag;
  std::vector<std::string> out;
  if (!ListId3v2Frames(file, &tag)) return out;
  for (const Id3v2FrameSpan& f : tag.frames) {
    const std::string id = f.header.substr(0, 4);
    if (id == "TIT2" || id == "TPE1" || id == "TYER" || id == "TDRC" || id == "TCON") continue;
    out.push_back(bytes.substr(static_cast<std::size_t>(f.offset), f.header.size() + f.size));
  }
  return out;
}

class Id3WriterToolsTest : public testing::HostFixture {
 protected:
  void SetUp() override {
    python_ = MutagenPython();
    if (python_.empty()) GTEST_SKIP() << "no Python with mutagen";
    testing::HostFixture::SetUp();
    script_ = dir_ / "dump.py";
    testing::WriteFile(script_, kMutagenDump);
  }
  std::string U(const std::string& cp932) {
    std::string out;
    EXPECT_TRUE(codec_->Cp932ToUtf8(cp932, &out).ok());
    return out;
  }
  std::string python_, script_;
};

// Our tags, new or changed, read the same with mutagen: every item, and the audio after the tag.
TEST_F(Id3WriterToolsTest, MutagenReadsTheTagsWeWrite) {
  using testing::Mp3Contents;
  Id3Items items;
  items[kWriteTitle] = testing::Sjis(codec_.get(), "曲名・長い題名") + std::string(180, 't');  // a frame over 127 bytes
  items[kWriteArtist] = testing::Sjis(codec_.get(), "アーティスト");
  items[kWriteAlbum] = "Album";
  items[kWriteTrack] = "3/12";
  items[kWriteYear] = "2013";
  items[kWriteComment] = testing::Sjis(codec_.get(), "コメント");
  items[kWriteGenre] = "Rock";
  struct Case {
    const char* name;
    int version;  // of the tag the file has; 0 none
    int kinds;
  };
  const Case cases[] = {
      {"new tag", 0, kId3AddV2 | kId3AddV1}, {"version 2", 2, kId3ChangeV2}, {"version 3", 3, kId3ChangeV2},
      {"version 4", 4, kId3ChangeV2 | kId3AddV1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mp3Contents contents;
    contents.v2_version = c.version;
    if (c.version != 0) {
      contents.frames = {{c.version == 2 ? "TT2" : "TIT2", 0, "Old"}, {c.version == 2 ? "TP1" : "TPE1", 0, "Old"}};
      contents.padding = 50;
    }
    contents.audio_frames = 9;
    const std::string path = dir_ / "song.mp3";
    testing::WriteFile(path, testing::BuildMp3(contents));
    ASSERT_EQ(WriteId3(*fs_, *codec_, testing::EnginePath(codec_.get(), path), c.kinds, items, {}), kId3Written);

    std::map<std::string, std::string> seen = MutagenView(python_, script_, path);
    EXPECT_EQ(seen["title"], U(*items[kWriteTitle]));
    EXPECT_EQ(seen["artist"], U(*items[kWriteArtist]));
    EXPECT_EQ(seen["album"], "Album");
    EXPECT_EQ(seen["track"], "3/12");
    EXPECT_EQ(seen["year"], "2013");
    EXPECT_EQ(seen["comment"], U(*items[kWriteComment]));
    EXPECT_EQ(seen["genre"], "Rock");  // mutagen names the genre of "(17)Rock"
    const std::string bytes = testing::ReadFile(path);
    const std::size_t audio_at = static_cast<std::size_t>(std::stoul(seen["size"]));
    const std::size_t v1 = (c.kinds & kId3AddV1) ? 128 : 0;
    EXPECT_EQ(bytes.substr(audio_at, bytes.size() - audio_at - v1), testing::FakeAudio(9));

    Id3Reader reader(*fs_, *codec_);
    ASSERT_GE(reader.Read(testing::EnginePath(codec_.get(), path), {}, false), 2);
    EXPECT_EQ(reader.v2().title, items[kWriteTitle]);
    EXPECT_EQ(reader.v2().comment, items[kWriteComment]);
  }
}

// Tags mutagen wrote, in versions 3 and 4 with UTF-16 texts, a picture, private and unknown frames:
// after our change mutagen reads the new items, and every frame we did not name is the same bytes in
// the same order.
TEST_F(Id3WriterToolsTest, OtherFramesOfMutagenTagsStay) {
  for (const int version : {3, 4}) {
    SCOPED_TRACE(version);
    const std::string path = dir_ / "tagged.mp3";
    const std::string tagger = dir_ / "tag.py";
    testing::WriteFile(path, testing::FakeAudio(2400));  // 1 MB of audio
    testing::WriteFile(tagger, R"(import sys
import mutagen.id3 as m
t = m.ID3()
t.add(m.TIT2(encoding=1, text='古い曲名'))
t.add(m.TPE1(encoding=1, text='古いアーティスト'))
t.add(m.APIC(encoding=0, mime='image/png', type=3, desc='', data=bytes(range(256)) * 40))
t.add(m.PRIV(owner='morva.test', data=b'\x00\xff\x10' * 50))
t.add(m.TXXX(encoding=1, desc='mood', text='静か'))
t.add(m.COMM(encoding=1, lang='eng', desc='', text='長いコメント' * 30))
t.add(m.TDRC(encoding=0, text='2001'))
t.save(sys.argv[1], v2_version=int(sys.argv[2]))
)");
    ASSERT_TRUE(RunTool(python_ + " '" + tagger + "' '" + path + "' " + std::to_string(version)));
    // A frame mutagen does not know, at the front of the tag: it must come through as it is.
    std::string bytes = testing::ReadFile(path);
    const std::string unknown = std::string("XMRV") + std::string("\0\0\0\x05\0\0", 6) + "hello";
    std::uint32_t size = 0;
    for (int i = 6; i < 10; ++i) size = (size << 7) | (static_cast<unsigned char>(bytes[i]) & 0x7F);
    size += static_cast<std::uint32_t>(unknown.size());
    bytes = bytes.substr(0, 6) + testing::Synchsafe(size, 4) + unknown + bytes.substr(10);
    testing::WriteFile(path, bytes);
    std::map<std::string, std::string> before = MutagenView(python_, script_, path);
    ASSERT_FALSE(before["others"].empty());

    Id3Items items;
    items[kWriteTitle] = testing::Sjis(codec_.get(), "新しい曲名");
    items[kWriteArtist] = "New artist";
    items[kWriteYear] = "2020";
    items[kWriteGenre] = "17";
    ASSERT_EQ(WriteId3(*fs_, *codec_, testing::EnginePath(codec_.get(), path), kId3ChangeV2, items, {}), kId3Written);

    const std::string after_bytes = testing::ReadFile(path);
    std::map<std::string, std::string> after = MutagenView(python_, script_, path);
    EXPECT_EQ(after["title"], "新しい曲名");
    EXPECT_EQ(after["artist"], "New artist");
    EXPECT_EQ(after["year"], "2020");
    EXPECT_EQ(after["genre"], "Rock");
    EXPECT_EQ(after["comment"], before["comment"]);
    EXPECT_EQ(after["others"], before["others"]);
    EXPECT_EQ(OtherFrames(after_bytes), OtherFrames(bytes));
    EXPECT_EQ(after_bytes.substr(std::stoul(after["size"])), bytes.substr(std::stoul(before["size"])));
  }
}

}  // namespace
}  // namespace morva
