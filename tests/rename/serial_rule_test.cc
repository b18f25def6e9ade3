#include "engine/name_step.h"
#include "rename/serial_rule.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

class SerialRuleTest : public testing::EngineFixture {
 protected:
  SerialRuleTest() {
    session.job.settings.sw_fnm = 4;
    session.job.settings.fnm_rnb_opt = 0;
    session.job.settings.fnm_rnb3 = 1;
    session.job.settings.fnm_rnb1 = settings_internal::Text<81>("n");
  }

  // Rule 4 for a target in `directory` (an engine path) whose parent name is `parent`; the new text or
  // "<failed N>".
  std::string Apply(const std::string& directory, const std::string& parent) {
    session.run.target.previous_directory = session.run.target.directory;
    session.run.target.directory = directory;
    session.run.target.parent_name = parent;
    std::string text = "old";
    std::uint32_t failure = 0;
    const bool ok = ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure);
    EXPECT_EQ(ok, failure == 0);
    return ok ? text : "<failed " + std::to_string(failure) + ">";
  }


  void SetModified(const std::string& rel, time_t seconds) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = seconds;
    times[1].tv_nsec = 0;
    ASSERT_EQ(utimensat(AT_FDCWD, dir.Sub(rel).c_str(), times, 0), 0);
  }


  // The validation refusal of the current job: the message in UTF-8 and its setting, or "ok".
  std::string Refusal() {
    const ValidationVerdict verdict = ValidateJob(session, false);
    if (verdict.accepted()) return "ok";
    EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
    return U(verdict.message) + " @" + std::to_string(verdict.page) + " " + verdict.key;
  }
};

TEST(SerialCountersTest, NumbersNeverGoBelowZero) {
  SerialCounters c;
  EXPECT_EQ(c.NextSerial("", 1, 1), 1);
  EXPECT_EQ(c.NextSerial("", 99, 99), 2) << "an existing counter keeps its own start and step";
  EXPECT_EQ(c.NextSerial("", 1, 1), 3);

  // Keys are separate counters, compared byte for byte.
  EXPECT_EQ(c.NextSerial("2026/01/02", 10, -5), 10);
  EXPECT_EQ(c.NextSerial("2026/01/02", 10, -5), 5);
  EXPECT_EQ(c.NextSerial("2026/01/02", 10, -5), 0);
  EXPECT_EQ(c.NextSerial("2026/01/02", 10, -5), 0);
  EXPECT_EQ(c.NextSerial("x", 3, -2), 3);
  EXPECT_EQ(c.NextSerial("X", 7, 1), 7);
  EXPECT_EQ(c.NextSerial("x", 3, -2), 1);
  EXPECT_EQ(c.NextSerial("x", 3, -2), 1);
  EXPECT_EQ(c.NextSerial("", 1, 1), 4);

  // A counter at the top of its range stays there instead of wrapping to a negative number.
  const std::int32_t top = std::numeric_limits<std::int32_t>::max() - 1;
  EXPECT_EQ(c.NextSerial("big", top, 99), top);
  EXPECT_EQ(c.NextSerial("big", top, 99), top);

  c.ClearSerials();
  EXPECT_EQ(c.size(), 0u);
  EXPECT_EQ(c.NextSerial("", 5, 1), 5);
}

TEST_F(SerialRuleTest, NumberPaddingPrefixAndSuffix) {
  auto& s = session.job.settings;
  s.fnm_rnb1 = settings_internal::Text<81>("img_");
  s.fnm_rnb3 = 3;
  EXPECT_EQ(Apply("Z:\\p", "p"), "img_001");
  EXPECT_EQ(Apply("Z:\\p", "p"), "img_002");

  // A number wider than the fill width is written whole.
  session.run.serials.ClearSerials();
  s.fnm_rnb2 = settings_internal::Text<8>("998");
  EXPECT_EQ(Apply("Z:\\p", "p"), "img_998");
  EXPECT_EQ(Apply("Z:\\p", "p"), "img_999");
  EXPECT_EQ(Apply("Z:\\p", "p"), "img_1000");

  // Negative increments stop at 0; width 8 is the widest fill.
  session.run.serials.ClearSerials();
  s.fnm_rnb2 = settings_internal::Text<8>("10");
  s.fnm_rnba = settings_internal::Text<7>("-5");
  s.fnm_rnb3 = 8;
  s.fnm_rnb1 = settings_internal::Text<81>("");
  s.fnm_rnb9 = settings_internal::Text<81>("_end");
  EXPECT_EQ(Apply("Z:\\p", "p"), "00000010_end");
  EXPECT_EQ(Apply("Z:\\p", "p"), "00000005_end");
  EXPECT_EQ(Apply("Z:\\p", "p"), "00000000_end");
  EXPECT_EQ(Apply("Z:\\p", "p"), "00000000_end");

  // The parent directory's name as prefix and as suffix.
  session.run.serials.ClearSerials();
  s.fnm_rnb2 = settings_internal::Text<8>("1");
  s.fnm_rnba = settings_internal::Text<7>("1");
  s.fnm_rnb3 = 1;
  s.fnm_rnb0 = 1;
  EXPECT_EQ(Apply("Z:\\photos\\trip", "trip"), "trip1_end");
  s.fnm_rnb8 = 1;
  EXPECT_EQ(Apply("Z:\\photos\\trip", "trip"), "trip2trip");

  // A long parent name on both sides passes the 260-byte limit: that target fails with 0x100.
  const std::string long_name(130, 'd');
  EXPECT_EQ(Apply("Z:\\" + long_name, long_name), "<failed 256>");
  s.fnm_rnb8 = 2;
  s.fnm_rnb9 = settings_internal::Text<81>("");
  EXPECT_EQ(Apply("Z:\\" + long_name, long_name), long_name + "4");
}

TEST_F(SerialRuleTest, RestartPerDirectoryInAPreview) {
  MakeDir("a");
  MakeDir("b");
  MakeFile("a/x1.txt");
  MakeFile("a/x2.txt");
  MakeFile("b/y1.txt");
  MakeFile("b/y2.jpg");
  session.job.app.sw_set[2] = true;     // subdirectories too
  session.job.settings.fnm_rnb_opt = 2 | 4;  // sorted by name, ascending: a stable order to compare
  const std::vector<std::string> straight = PreviewNames();
  EXPECT_EQ(straight, (std::vector<std::string>{"a\\x1.txt -> n1.txt", "a\\x2.txt -> n2.txt",
                                                "b\\y1.txt -> n3.txt", "b\\y2.jpg -> n4.jpg"}));

  session.job.settings.fnm_rnb_opt = 1 | 2 | 4;
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a\\x1.txt -> n1.txt", "a\\x2.txt -> n2.txt",
                                                 "b\\y1.txt -> n1.txt", "b\\y2.jpg -> n2.jpg"}));
  // Each preview starts from the first number again.
  EXPECT_EQ(PreviewNames()[0], "a\\x1.txt -> n1.txt");
  EXPECT_EQ(session.run.serials.size(), 0u) << "the counters are emptied when the preview ends";
}

TEST_F(SerialRuleTest, RunNumbersTheFilesOnDisk) {
  MakeDir("trip");
  MakeFile("trip/b.jpg", "b");
  MakeFile("trip/a.jpg", "a");
  session.job.app.sw_set[2] = true;
  session.job.settings.fnm_rnb0 = 1;  // the parent directory's name as prefix
  session.job.settings.fnm_rnb3 = 2;
  session.job.settings.fnm_rnb_opt = 1 | 2 | 4;
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 2);
  EXPECT_EQ(testing::ReadFile(dir.Sub("trip/trip01.jpg")), "a");
  EXPECT_EQ(testing::ReadFile(dir.Sub("trip/trip02.jpg")), "b");
  EXPECT_FALSE(testing::Exists(dir.Sub("trip/a.jpg")));
}

TEST_F(SerialRuleTest, SortParametersReachTheEnumeration) {
  MakeFile("b.txt");
  MakeFile("a.txt");
  MakeFile("c.txt");
  SetModified("a.txt", 2000000000);
  SetModified("b.txt", 1000000000);
  SetModified("c.txt", 1500000000);

  session.job.settings.fnm_rnb7 = 0;  // by name
  session.job.settings.fnm_rnb_opt = 2 | 4;
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.txt -> n1.txt", "b.txt -> n2.txt", "c.txt -> n3.txt"}));
  session.job.settings.fnm_rnb_opt = 2;  // descending
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"c.txt -> n1.txt", "b.txt -> n2.txt", "a.txt -> n3.txt"}));

  session.job.settings.fnm_rnb7 = 1;  // by last write time
  session.job.settings.fnm_rnb_opt = 2 | 4;
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"b.txt -> n1.txt", "c.txt -> n2.txt", "a.txt -> n3.txt"}));
  session.job.settings.fnm_rnb_opt = 2;
  EXPECT_EQ(PreviewNames(), (std::vector<std::string>{"a.txt -> n1.txt", "c.txt -> n2.txt", "b.txt -> n3.txt"}));
}

TEST_F(SerialRuleTest, ValidationMessages) {
  auto& s = session.job.settings;
  const std::string page = "4 ";
  EXPECT_EQ(Refusal(), "ok");

  s.fnm_rnb2 = settings_internal::Text<8>("");
  EXPECT_EQ(Refusal(), "連番の初回番号が指定されていません。 @" + page + "FNM_RNB2");
  s.fnm_rnb2 = settings_internal::Text<8>("123456");
  EXPECT_EQ(Refusal(), "連番の初回番号は0～99999の範囲で指定してください。 @" + page + "FNM_RNB2");
  s.fnm_rnb2 = settings_internal::Text<8>("99999");
  EXPECT_EQ(Refusal(), "ok");
  s.fnm_rnb2 = settings_internal::Text<8>("0");
  EXPECT_EQ(Refusal(), "ok");

  const std::string range = "連番の増分値は-99～99の範囲で、かつ0以外を指定してください。 @" + page + "FNM_RNBA";
  const std::string bad = "連番の増分値の指定が不正です。 @" + page + "FNM_RNBA";
  s.fnm_rnba = settings_internal::Text<7>("");
  EXPECT_EQ(Refusal(), "連番の増分値が指定されていません。 @" + page + "FNM_RNBA");
  for (const char* text : {"5-", "1a", "--1", "+1"}) {
    s.fnm_rnba = settings_internal::Text<7>(text);
    EXPECT_EQ(Refusal(), bad) << text;
  }
  for (const char* text : {"0", "-0", "-", "100", "-100"}) {
    s.fnm_rnba = settings_internal::Text<7>(text);
    EXPECT_EQ(Refusal(), range) << text;
  }
  for (const char* text : {"-99", "99", "-1"}) {
    s.fnm_rnba = settings_internal::Text<7>(text);
    EXPECT_EQ(Refusal(), "ok") << text;
  }

  // Forbidden characters in the prefix, then the suffix string; a parent-name source is not read.
  s.fnm_rnb9 = settings_internal::Text<81>("a:b");
  EXPECT_EQ(Refusal(), "接尾文字に以下の文字は指定できません。\n\\ / : * ? \" < > | \\n \\r \\t @" + page + "FNM_RNB9");
  s.fnm_rnb1 = settings_internal::Text<81>("a?");
  EXPECT_EQ(Refusal(), "接頭文字に以下の文字は指定できません。\n\\ / : * ? \" < > | \\n \\r \\t @" + page + "FNM_RNB1");
  s.fnm_rnb0 = 1;
  s.fnm_rnb8 = 1;
  EXPECT_EQ(Refusal(), "ok");

  // The parent directory's name of a drive root's entries does not exist.
  session.job.app.dirfil[0] = std::string("Z:\\");
  EXPECT_EQ(Refusal(), "接頭文字を親ディレクトリ名にする場合、ルートディレクトリを指定しての変換はできません。 @" + page +
                           "FNM_RNB0");
  s.fnm_rnb0 = 2;
  s.fnm_rnb1 = settings_internal::Text<81>("p");
  EXPECT_EQ(Refusal(), "接尾文字を親ディレクトリ名にする場合、ルートディレクトリを指定しての変換はできません。 @" + page +
                           "FNM_RNB8");
}

}  // namespace
}  // namespace morva
