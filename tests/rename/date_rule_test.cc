#include "engine/name_step.h"
#include "rename/date_rule.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/jpeg_builder.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "engine/validation_checks.h"
#include "platform/file_time.h"
#include "rename/name_rule.h"

namespace morva {
namespace {

using Message = testing::ScriptedUi::Message;

TEST(WeekdayTest, CalendarDaysAndRefusals) {
  EXPECT_EQ(WeekdayOf("20130504"), 6);  // a Saturday
  EXPECT_EQ(WeekdayOf("19000101"), 1);
  EXPECT_EQ(WeekdayOf("20000229"), 2);  // 2000 is a leap year
  EXPECT_EQ(WeekdayOf("99991231"), 5);
  EXPECT_EQ(WeekdayOf("20261207xyz"), 1);  // only the first eight bytes count
  EXPECT_EQ(WeekdayOf("19000229"), -1);    // 1900 is not
  EXPECT_EQ(WeekdayOf("20130230"), -1);
  EXPECT_EQ(WeekdayOf("18991231"), -1);
  EXPECT_EQ(WeekdayOf("20131301"), -1);
  EXPECT_EQ(WeekdayOf("20130500"), -1);
  EXPECT_EQ(WeekdayOf("2013050"), -1);
  EXPECT_EQ(WeekdayOf("2013-5-4"), -1);

  EXPECT_EQ(WeekdayName(1, 0), "Sun");
  EXPECT_EQ(WeekdayName(2, 3), "Wednesday");
  EXPECT_EQ(WeekdayName(3, 6), "\x93\x79");              // 土
  EXPECT_EQ(WeekdayName(4, 0), "\x93\xfa\x97\x6a\x93\xfa");  // 日曜日
  EXPECT_EQ(WeekdayName(1, -1), "");
}

class DateRuleTest : public testing::EngineFixture {
 protected:
  DateRuleTest() {
    ConversionSettings& s = session.job.settings;
    s.sw_fnm = 5;
    s.fnm_01 = true;
    s.fnm_hdk0 = 2;
    s.fnm_hdk_udt = 2;  // last write
    s.fnm_hdk2 = 1;
    s.fnm_hdk_atw = 0;
    s.fnm_hdk_rnb = 0;
  }

  // The preview's names; no warning may come with them.
  std::vector<std::string> Preview() {
    ui.messages.clear();
    std::vector<std::string> names = PreviewNames();
    EXPECT_TRUE(ui.Texts(Message::kWarning).empty());
    return names;
  }

  std::string Refusal() { return RefusalOn(kPageNameRuleBase + 5); }
};

TEST_F(DateRuleTest, FormsTimesAndWeekdays) {
  MakeFile("a.txt");
  SetLocalMtime("a.txt", 2013, 5, 4, 13, 2, 9);
  ConversionSettings& s = session.job.settings;
  s.fnm_hdk_atw = 3;
  s.fnm_hdk4 = 1;
  s.fnm_hdka.Assign("_");
  s.fnm_hdkd = 2;
  EXPECT_EQ(Preview(), std::vector<std::string>{"a.txt -> 20130504_130209_Saturday.txt"});

  s.fnm_hdk2 = 3;
  s.fnm_hdkd = 4;
  s.fnm_hdk_atw = 2;
  s.fnm_hdka.Clear();
  EXPECT_EQ(Preview(), std::vector<std::string>{"a.txt -> 0504土曜日.txt"});

  s.fnm_hdk2 = 2;
  s.fnm_hdk_atw = 1;
  s.fnm_hdk4 = 2;
  s.fnm_hdka.Assign("-");
  ASSERT_TRUE(s.fnm_hdk1.Assign(S("写真")));
  EXPECT_EQ(Preview(), std::vector<std::string>{"a.txt -> 写真130504-1302.txt"});
}

TEST_F(DateRuleTest, SerialsCountPerDateTextAndRestartPerDirectory) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  MakeFile("c.txt");
  MakeFile("d.txt");
  SetLocalMtime("a.txt", 2013, 5, 4, 10, 0, 0);
  SetLocalMtime("b.txt", 2013, 5, 4, 11, 0, 0);
  SetLocalMtime("c.txt", 2013, 5, 5, 9, 0, 0);
  SetLocalMtime("d.txt", 2014, 5, 4, 9, 0, 0);
  ConversionSettings& s = session.job.settings;
  s.fnm_hdk_rnb = 1;
  s.fnm_hdkb.Assign("-");
  s.fnm_hdk6 = 2;
  EXPECT_EQ(Preview(), (std::vector<std::string>{"a.txt -> 20130504-01.txt", "b.txt -> 20130504-02.txt",
                                                 "c.txt -> 20130505-01.txt", "d.txt -> 20140504-01.txt"}));
  // "MMDD" hides the year: the two 4 May files of different years share a counter.
  s.fnm_hdk2 = 3;
  EXPECT_EQ(Preview(), (std::vector<std::string>{"a.txt -> 0504-01.txt", "b.txt -> 0504-02.txt",
                                                 "c.txt -> 0505-01.txt", "d.txt -> 0504-03.txt"}));

  // In order of last-write time, descending, and numbered afresh in each directory; the parent
  // directory's name as prefix.
  MakeDir("sub");
  MakeFile("sub/e.txt");
  SetLocalMtime("sub/e.txt", 2013, 5, 4, 12, 0, 0);
  session.job.app.sw_set[2] = true;
  s.fnm_hdk2 = 1;
  s.fnm_hdk_rnb = 1 | 2 | 4;
  s.fnm_hdkg = 1;
  s.fnm_hdk0 = 1;
  std::vector<std::string> names = Preview();
  const std::string top = dir.path().substr(dir.path().rfind('/') + 1);
  EXPECT_EQ(names, (std::vector<std::string>{"d.txt -> " + top + "20140504-01.txt", "c.txt -> " + top + "20130505-01.txt",
                                             "b.txt -> " + top + "20130504-01.txt", "a.txt -> " + top + "20130504-02.txt",
                                             "sub\\e.txt -> sub20130504-01.txt"}));
}

TEST_F(DateRuleTest, RunRenamesByCreationOrLastWriteTime) {
  MakeFile("a.txt", "a");
  SetLocalMtime("a.txt", 2013, 5, 4, 13, 2, 9);
  FindData data;
  ASSERT_TRUE(fs.Stat(E(dir.Sub("a.txt")), &data).ok());
  CalendarTime created;
  ASSERT_TRUE(FileTimeToLocal(data.creation_time, &created));
  char expected[32];
  std::snprintf(expected, sizeof(expected), "%04d%02d%02d.txt", created.year, created.month, created.day);

  session.job.settings.fnm_hdk_udt = 1;
  EXPECT_EQ(Preview(), std::vector<std::string>{std::string("a.txt -> ") + expected});
  session.job.settings.fnm_hdk_udt = 2;
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(session.run.counters.full_success, 1);
  EXPECT_EQ(testing::ReadFile(dir.Sub("20130504.txt")), "a");
}

TEST_F(DateRuleTest, ExifDateFirstWhenThePhotographHasOne) {
  testing::JpegContents with_date;
  with_date.date_time_original = "2011:12:24 18:30:05";
  with_date.date_time = "2012:01:02 03:04:05";
  MakeFile("a.jpg", testing::BuildJpeg(with_date));
  testing::JpegContents without_date;
  without_date.make = "Camera";
  MakeFile("b.jpg", testing::BuildJpeg(without_date));
  MakeFile("c.txt");
  for (const char* name : {"a.jpg", "b.jpg", "c.txt"}) SetLocalMtime(name, 2013, 5, 4, 13, 2, 9);

  ConversionSettings& s = session.job.settings;
  s.fnm_hdk_udt = 2 | 0x40;
  s.fnm_hdk_atw = 1;
  s.fnm_hdka.Assign("_");
  EXPECT_EQ(Preview(), (std::vector<std::string>{"a.jpg -> 20111224_183005.jpg", "b.jpg -> 20130504_130209.jpg",
                                                 "c.txt -> 20130504_130209.txt"}));
  // The date item is the program option's.
  session.job.app.opt_2 = 1;
  EXPECT_EQ(Preview()[0], "a.jpg -> 20120102_030405.jpg");
  // Without the Exif flag the file time counts.
  s.fnm_hdk_udt = 2;
  EXPECT_EQ(Preview()[0], "a.jpg -> 20130504_130209.jpg");
}

TEST_F(DateRuleTest, NamesOverTheLimitFail) {
  MakeFile("a.txt");
  std::uint32_t failure = 0;
  session.run.target.path = E(dir.Sub("a.txt"));
  ASSERT_TRUE(fs.Stat(session.run.target.path, &session.run.target.find_data).ok());
  session.run.target.parent_name = std::string(255, 'p');
  session.job.settings.fnm_hdk0 = 1;
  std::string text = "a";
  EXPECT_FALSE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(failure, 0x100u);
  session.run.target.parent_name = std::string(252, 'p');
  failure = 0;
  EXPECT_TRUE(ApplyNameRule(NameRuleInputsOf(session.walk()), &text, &failure));
  EXPECT_EQ(text.size(), 260u);
}

TEST_F(DateRuleTest, ValidationMessages) {
  ConversionSettings& s = session.job.settings;
  const std::string forbidden = "に以下の文字は指定できません。\n\\ / : * ? \" < > | \\n \\r \\t";
  EXPECT_EQ(Refusal(), "ok");
  s.fnm_hdk1.Assign("a:b");
  EXPECT_EQ(Refusal(), "接頭文字" + forbidden + " @FNM_HDK1");
  s.fnm_hdk0 = 1;  // the string is not used then
  EXPECT_EQ(Refusal(), "ok");
  session.job.app.dirfil[0] = "Z:\\";
  EXPECT_EQ(Refusal(), "接頭文字を親ディレクトリ名にする場合、ルートディレクトリを指定しての変換はできません。 @FNM_HDK0");
  session.job.app.dirfil[0] = E(dir.path());
  s.fnm_hdka.Assign("/");
  EXPECT_EQ(Refusal(), "ok");  // neither time nor weekday uses it
  s.fnm_hdk_atw = 2;
  EXPECT_EQ(Refusal(), "区切り文字" + forbidden + " @FNM_HDKA");
  s.fnm_hdk_atw = 1;
  EXPECT_EQ(Refusal(), "区切り文字" + forbidden + " @FNM_HDKA");
  s.fnm_hdka.Assign("_");
  s.fnm_hdkb.Assign("?");
  EXPECT_EQ(Refusal(), "ok");
  s.fnm_hdk_rnb = 1;
  EXPECT_EQ(Refusal(), "区切り文字" + forbidden + " @FNM_HDKB");
  s.fnm_hdkb.Assign("_");

  // The time the names are made of cannot be changed by the same job; another time can.
  ValidationVerdict verdict;
  auto check = [&]() {
    validation_internal::ValidationContext ctx(session, false);
    const bool ok = validation_internal::CheckDateRule(ctx);
    verdict = ctx.verdict;
    return ok;
  };
  s.sw_dtt[1] = 1;
  EXPECT_FALSE(check());
  EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
  EXPECT_EQ(U(verdict.message), "日時による名称変換を行う場合、使用する日時の日時変換は同時に実行できません。");
  s.fnm_hdk_udt = 1 | 0x40;
  EXPECT_TRUE(check());
  s.sw_dtt[1] = 0;
  s.sw_dtt[2] = 3;
  EXPECT_TRUE(check());
  s.sw_dtt[0] = 2;
  EXPECT_FALSE(check());
}

}  // namespace
}  // namespace morva
