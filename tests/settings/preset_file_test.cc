#include "settings/preset_file.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::ReadFile;
using testing::TempDir;

class PresetFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    fs_ = NewPosixFileSystem(codec_.get());
    ASSERT_TRUE(dir_.ok());
    home_ = EnginePath(codec_.get(), dir_.path());
  }
  std::string Cp(std::string_view utf8) { return Cp932Text(*codec_, utf8); }
  // The names of the named slots, in slot order, and their payloads.
  static std::vector<std::string> Names(const PresetTable& table) {
    std::vector<std::string> names;
    for (const PresetSlot& slot : table.entries) {
      if (!slot.free()) names.push_back(slot.name + (slot.text.empty() ? "" : "=" + slot.text));
    }
    return names;
  }

  TempDir dir_;
  std::unique_ptr<TextCodec> codec_;
  std::unique_ptr<FileSystem> fs_;
  std::string home_;
};

TEST_F(PresetFileTest, EachKindIsWrittenByteForByteAndReadBack) {
  Presets presets;
  presets.job.entries[0].name = "abc";
  presets.job.entries[0].job = std::make_unique<ConversionSettings>();
  presets.job.entries[0].job->sw_fnm = 7;
  presets.statement.entries[0].name = Cp("大文字");
  presets.statement.entries[0].text = "\\UPPER<F>";
  presets.replacement.entries[3].name = "r";  // a gap before it is not written
  presets.replacement.entries[3].text = "a\tb";

  std::string keys;
  presets.job.entries[0].job->WriteKeys(&keys);
  const struct {
    PresetKind kind;
    std::string bytes;
  } files[] = {
      {PresetKind::kJob, Cp("MORVA - 変換設定保存ファイル Version 6.1b \n\n<abc>\n") + keys},
      {PresetKind::kStatement, Cp("MORVA - 変換制御文保存ファイル Version 6.1b \n\n<大文字> \\UPPER<F>\n")},
      {PresetKind::kReplacement, Cp("MORVA - 文字列置換設定保存ファイル Version 6.1b \n\n<r> a\tb\n")},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(std::string(PresetFileName(file.kind)));
    ASSERT_TRUE(WritePresets(*fs_, *codec_, home_, presets.of(file.kind)).ok());
    EXPECT_EQ(ReadFile(dir_ / std::string(PresetFileName(file.kind))), file.bytes);
  }

  Presets read;
  LoadAllPresets(*fs_, *codec_, home_, &read);
  EXPECT_EQ(Names(read.job), std::vector<std::string>{"abc"});
  ASSERT_NE(read.job.entries[0].job, nullptr);
  EXPECT_EQ(read.job.entries[0].job->sw_fnm, 7);
  EXPECT_EQ(Names(read.statement), std::vector<std::string>{Cp("大文字") + "=\\UPPER<F>"});
  EXPECT_EQ(Names(read.replacement), std::vector<std::string>{"r=a\tb"});
}

TEST_F(PresetFileTest, HandEditedStatementAndReplacementFilesKeepOnlyWholeEntries) {
  std::string forty_one_entries;
  for (int i = 0; i < 41; ++i) forty_one_entries += "<n" + std::to_string(i) + "> x\n";
  const struct {
    const char* what;
    PresetKind kind;
    std::string body;  // after the header line
    std::vector<std::string> names;
  } cases[] = {
      {"comments and blank lines", PresetKind::kStatement, "# note\n\n<a> x\r\n", {"a=x"}},
      {"no blank after '>' ends the file", PresetKind::kStatement, "<a> x\n<b>y\n<c> z\n", {"a=x"}},
      {"empty or over-long names", PresetKind::kStatement, "<> x\n<" + std::string(41, 'n') + "> y\n<c> z\n", {"c=z"}},
      {"a 40-byte name", PresetKind::kStatement, "<" + std::string(40, 'n') + "> y\n", {std::string(40, 'n') + "=y"}},
      {"over-long payload dropped, not cut", PresetKind::kStatement, "<a> " + std::string(201, 'x') + "\n<b> ok\n",
       {"b=ok"}},
      {"a 200-byte payload", PresetKind::kStatement, "<a> " + std::string(200, 'x') + "\n", {"a=" + std::string(200, 'x')}},
      {"a replacement needs its tab", PresetKind::kReplacement, "<a> x\n<b> x\ty\n", {"b=x\ty"}},
      {"forty slots at most", PresetKind::kStatement, forty_one_entries, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PresetTable table(c.kind);
    const std::string header = c.kind == PresetKind::kStatement ? Cp("MORVA - 変換制御文保存ファイル Version 9 \n")
                                                                : Cp("MORVA - 文字列置換設定保存ファイル Version 6.1b \n");
    ASSERT_TRUE(ParsePresetText(*codec_, header + "\n" + c.body, &table));
    if (c.names.empty()) {
      EXPECT_EQ(Names(table).size(), kPresetSlotCount);
      EXPECT_EQ(table.entries.back().name, "n39");
    } else {
      EXPECT_EQ(Names(table), c.names);
    }
  }

  // Another kind's file, or something else altogether, leaves the table empty.
  PresetTable table(PresetKind::kStatement);
  table.entries[0].name = "stale";
  EXPECT_FALSE(ParsePresetText(*codec_, Cp("MORVA - 文字列置換設定保存ファイル Version 6.1b \n\n<a> x\n"), &table));
  EXPECT_TRUE(Names(table).empty());
  EXPECT_FALSE(LoadPresets(*fs_, *codec_, home_, &table));  // no file
  EXPECT_TRUE(Names(table).empty());
}

TEST_F(PresetFileTest, AJobEntryWithARefusedLineIsDroppedWhole) {
  const std::string text = Cp("MORVA - 変換設定保存ファイル Version 6.1b \n\n") +
                           "<two-byte value>\nSW_FNM = 12\n"
                           "<bad value>\nFNM_IPN2 = 1\nSW_FNM = 9\n"
                           "<long text>\nFNM_USR1 = " + std::string(201, 'x') + "\nSW_FNM = 1\n"
                           "<unknown key>\nNOT_A_KEY = 1\n"
                           "<no keys>\n# only a comment\n"
                           "<last>\nsw_fnm = 2\n";
  PresetTable table(PresetKind::kJob);
  ASSERT_TRUE(ParsePresetText(*codec_, text, &table));
  EXPECT_EQ(Names(table), (std::vector<std::string>{"bad value", "last"}));
  // A value the key reader refuses leaves the default; the entry itself stands.
  EXPECT_EQ(table.entries[0].job->sw_fnm, ConversionSettings().sw_fnm);
  EXPECT_EQ(table.entries[1].job->sw_fnm, 2);
}

TEST(SortPresetsTest, OrdersByNameIgnoringCaseFreeSlotsLast) {
  PresetTable table(PresetKind::kStatement);
  const char* names[] = {"b", "", "abc", "ABC", "a"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    table.entries[i].name = names[i];
    if (*names[i] != '\0') table.entries[i].text = std::string("payload of ") + names[i];
  }
  SortPresets(&table);
  const char* sorted[] = {"a", "abc", "ABC", "b"};
  for (std::size_t i = 0; i < std::size(sorted); ++i) {
    EXPECT_EQ(table.entries[i].name, sorted[i]);
    EXPECT_EQ(table.entries[i].text, std::string("payload of ") + sorted[i]);
  }
  EXPECT_TRUE(table.entries[4].free());
  // Distinct presets for the overwrite check: names are compared byte for byte.
  EXPECT_EQ(table.Find("ABC"), 2);
  EXPECT_EQ(table.Find("Abc"), -1);
}

}  // namespace
}  // namespace morva
