// Tags written by mutagen (mid3v2 and its Python library) read the same with our reader as with
// `mid3v2 -l`. Skipped where mutagen is not installed.

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "common/host_fixture.h"
#include "common/mp3_builder.h"
#include "common/test_util.h"
#include "media/id3_reader.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

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

}  // namespace
}  // namespace morva
