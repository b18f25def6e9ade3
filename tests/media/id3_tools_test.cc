// Tags written by mutagen (mid3v2 and its Python library) read the same with our reader as with
// `mid3v2 -l`. Skipped where mutagen is not installed.

#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <memory>
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

TEST_F(Id3ToolsTest, MutagenVersion3Utf16) {
  const std::string python = MutagenPython();
  if (python.empty()) GTEST_SKIP() << "no Python with mutagen";
  // mutagen writes version 3 frame sizes as plain numbers. A title of 130 characters (265 bytes, 00 00 01 09)
  // reads as 137 synchsafe, so the frames after it are only found with the plain size.
  std::string title;
  for (int i = 0; i < 32; ++i) title += "タイトル";
  title += "ab";
  testing::WriteFile(dir_ / "cover.png", std::string(300, '\x01'));
  testing::WriteFile(dir_ / "v23.mp3", testing::FakeAudio(8));
  const std::string file = dir_ / "v23.mp3";
  ASSERT_TRUE(RunTool("mid3v2 -p '" + dir_ / "cover.png" + "' '" + file + "'"));
  ASSERT_TRUE(RunTool("mid3v2 -t '" + title + "' -a 'アーティスト' -A Album -T 3/12 -y 2013 -c 'desc:comment text:eng' '" +
                  file + "'"));
  ASSERT_TRUE(RunTool(python + " -c 'import sys, mutagen.id3 as m; t = m.ID3(sys.argv[1]); t.update_to_v23(); "
                           "t.save(sys.argv[1], v2_version=3)' '" + file + "'"));
  ASSERT_EQ(testing::ReadFile(file)[3], '\3');
  ExpectSameAsMid3v2("v23.mp3", 3);
}

}  // namespace
}  // namespace morva
