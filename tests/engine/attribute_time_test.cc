// The attribute and timestamp jobs on real files: what a run leaves on disk, what it logs, and that the
// run comes back from the log exactly.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/jpeg_builder.h"
#include "fileops/date_time_text.h"
#include "fileops/name_date.h"
#include "log/log_lines.h"
#include "log/log_writer.h"
#include "undo/undo_from_log.h"

namespace morva {
namespace {

using testing::ReadFile;

TEST(NameDateTest, FindsTheFirstCompleteDate) {
  struct Case {
    const char* name;
    NameDateFormat date;
    NameTimeFormat time;
    const char* expected;  // local "YYYY/MM/DD hh:mm:ss.SSS", or "" for no date
  };
  const NameDateFormat four = NameDateFormat::kFourDigitYear, two = NameDateFormat::kTwoDigitYear;
  const Case cases[] = {
      {"IMG_20130506_123456", four, NameTimeFormat::kSeconds, "2013/05/06 12:34:56.000"},
      {"IMG_20130506_123456", four, NameTimeFormat::kNone, "2013/05/06 00:00:00.000"},
      {"IMG_20130506_1234", four, NameTimeFormat::kMinutes, "2013/05/06 12:34:00.000"},
      {"20130506123456789", four, NameTimeFormat::kMilliseconds, "2013/05/06 12:34:56.789"},
      {"2013.05.06 foo", four, NameTimeFormat::kNone, "2013/05/06 00:00:00.000"},
      {"2013..05.06", four, NameTimeFormat::kNone, ""},       // two characters between fields
      {"19750506", four, NameTimeFormat::kNone, ""},          // before 1980
      {"x19750506_20010203", four, NameTimeFormat::kNone, "2001/02/03 00:00:00.000"},
      {"790506", two, NameTimeFormat::kNone, "2079/05/06 00:00:00.000"},
      {"800506", two, NameTimeFormat::kNone, "1980/05/06 00:00:00.000"},
      {"2013年05月06日", four, NameTimeFormat::kNone, "2013/05/06 00:00:00.000"},  // a two-byte separator
      {"2013年年05月06日", four, NameTimeFormat::kNone, ""},
      {"20131306_20140102", four, NameTimeFormat::kNone, "2014/01/02 00:00:00.000"},  // no 13th month
      {"20130230", four, NameTimeFormat::kNone, ""},          // no February 30th
      {"IMG_20130506", four, NameTimeFormat::kSeconds, ""},  // the time is missing
      {"", four, NameTimeFormat::kNone, ""},
  };
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileTime when = 0;
    const bool found = date_from_file_name(testing::Sjis(codec.get(), c.name), c.date, c.time, &when);
    ASSERT_EQ(found, *c.expected != '\0');
    if (!found) continue;
    std::string text;
    ASSERT_TRUE(format_file_time(when, true, &text));
    EXPECT_EQ(text, c.expected);
  }
}

class AttributeTimeTest : public testing::EngineFixture {
 protected:
  AttributeTimeTest() {
    session.job.settings.sw_fnm = 0;  // no name change unless a case asks for one
    session.job.app.sw_opt[AppSettings::kOptLogAll] = true;
  }

  FindData StatOf(const std::string& rel) {
    FindData data;
    EXPECT_TRUE(fs.Stat(E(dir.Sub(rel)), &data).ok()) << rel;
    return data;
  }

  static FileTime Local(const char* date, const char* time) {
    FileTime t = 0;
    EXPECT_TRUE(local_text_to_file_time(date, time, &t)) << date << " " << time;
    return t;
  }

  // Creation, last write, last access of `rel` as local texts with milliseconds.
  std::array<std::string, 3> TimesOf(const std::string& rel) {
    const FindData data = StatOf(rel);
    std::array<std::string, 3> out;
    const FileTime times[3] = {data.creation_time, data.last_write_time, data.last_access_time};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(format_file_time(times[i], true, &out[static_cast<std::size_t>(i)]));
    return out;
  }

  void SetTimes(const std::string& rel, FileTime creation, FileTime write, FileTime access) {
    ASSERT_TRUE(fs.SetTimes(E(dir.Sub(rel)), &creation, &access, &write).ok());
  }

  std::vector<std::string> LogTexts() {
    std::vector<std::string> out;
    const std::string log = ReadFile(home.Sub(log_directory + "mvlogs.txt"));
    std::size_t start = 0;
    while (start < log.size()) {
      std::size_t end = log.find('\n', start);
      if (end == std::string::npos) end = log.size();
      if (end - start > kLogTextOffset) out.push_back(U(log.substr(start + kLogTextOffset, end - start - kLogTextOffset)));
      start = end + 1;
    }
    return out;
  }

  // Below the program directory: runs logged one after another in one log wait for a new second, since
  // a run's identifier is its start to the second.
  std::string log_directory;

  bool LogHas(const std::string& text) {
    for (const std::string& line : LogTexts()) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }
};

TEST_F(AttributeTimeTest, RunsLeaveTheAttributesAndTimesTheJobAsksFor) {
  const FileTime c0 = Local("2001/02/03", "04:05:06.700");
  const FileTime w0 = Local("2011/12/13", "14:15:16.170");
  const FileTime a0 = Local("2021/01/02", "03:04:05.060");
  testing::JpegContents dated;
  dated.date_time_original = "2013:05:04 13:02:09";
  testing::JpegContents undated;
  undated.exif = false;

  struct Case {
    const char* what;
    const char* file;       // made in a directory of its own, with the times c0, w0, a0
    std::string contents;
    std::uint32_t attributes;  // set before the run
    std::function<void(ConversionSettings&)> job;
    const char* file_after;  // the name after the run
    std::uint32_t attributes_after;
    std::array<const char*, 3> times_after;  // creation, last write, last access
    int outcome;  // 1 full success, 0 not needed, -1 full failure
    const char* log;  // a text the target's log line holds
  };
  const char* c0t = "2001/02/03 04:05:06.700";
  const char* w0t = "2011/12/13 14:15:16.170";
  const char* a0t = "2021/01/02 03:04:05.060";
  const std::vector<Case> cases = {
      {"read-only switched off leaves hidden", "a.txt", "a", kAttrReadOnly | kAttrHidden,
       [](ConversionSettings& s) {
         s.sw_atr[0] = true;
         s.atr_onb = 0;
       },
       "a.txt", kAttrHidden, {c0t, w0t, a0t}, 1, "[○属性変換]  *対象<a.txt> *属性<RH> → *属性変換<H>"},
      {"hidden and system on, archive off", "a.txt", "a", kAttrArchive,
       [](ConversionSettings& s) {
         s.sw_atr = {false, true, true, true};
         s.atr_onb = 2 | 8;
       },
       "a.txt", kAttrHidden | kAttrSystem, {c0t, w0t, a0t}, 1, " *属性変換<SH>"},
      {"attributes already as asked", "a.txt", "a", kAttrHidden,
       [](ConversionSettings& s) {
         s.sw_atr[1] = true;
         s.atr_onb = 2;
       },
       "a.txt", kAttrHidden, {c0t, w0t, a0t}, 0, "[☆変換不要]"},
      {"creation and last write swapped", "a.txt", "a", 0,
       [](ConversionSettings& s) {
         s.sw_dtt[0] = 2;  // creation from last write
         s.sw_dtt[1] = 2;  // last write from creation
       },
       "a.txt", 0, {w0t, c0t, a0t}, 1, " *作成日時<2001/02/03 04:05:06.700>"},
      {"last access from last write", "a.txt", "a", 0, [](ConversionSettings& s) { s.sw_dtt[2] = 3; }, "a.txt", 0,
       {c0t, w0t, w0t}, 1, " *アクセス日時変換<2011/12/13 14:15:16.170>"},
      {"a read-only file stays read-only", "a.txt", "a", kAttrReadOnly,
       [](ConversionSettings& s) {
         s.sw_dtt[0] = 1;
         s.dtt_date[0].Assign("1999/09/09");
         s.dtt_time[0].Assign("09:09:09.009");
         s.sw_dtt[1] = 1;
         s.dtt_date[1].Assign("2000/01/01");
         s.dtt_time[1].Assign("00:00:00");
       },
       "a.txt", kAttrReadOnly, {"1999/09/09 09:09:09.009", "2000/01/01 00:00:00.000", a0t}, 1, "[○日時変換]"},
      {"a direct time equal to the present one", "a.txt", "a", 0,
       [](ConversionSettings& s) {
         s.sw_dtt[1] = 1;
         s.dtt_date[1].Assign("2011/12/13");
         s.dtt_time[1].Assign("14:15:16.170");
       },
       "a.txt", 0, {c0t, w0t, a0t}, 0, "[☆変換不要]"},
      {"the date in the name", "IMG_20130506_123456.jpg", "x", 0,
       [](ConversionSettings& s) {
         s.sw_dtt[1] = 5;
         s.sw_dtt[3] = 0;
         s.sw_dtt[4] = 2;
       },
       "IMG_20130506_123456.jpg", 0, {c0t, "2013/05/06 12:34:56.000", a0t}, 1, "[○日時変換]"},
      {"a name without a date", "IMG_x.jpg", "x", 0, [](ConversionSettings& s) { s.sw_dtt[1] = 5; }, "IMG_x.jpg", 0,
       {c0t, w0t, a0t}, -1, "[▲日時変換失敗]  *対象<IMG_x.jpg>"},
      {"the Exif date", "p.jpg", testing::BuildJpeg(dated), 0, [](ConversionSettings& s) { s.sw_dtt[0] = 4; },
       "p.jpg", 0, {"2013/05/04 13:02:09.000", w0t, a0t}, 1, "[○日時変換]"},
      {"the Exif date of a photo without Exif", "p.jpg", testing::BuildJpeg(undated), 0,
       [](ConversionSettings& s) { s.sw_dtt[0] = 4; }, "p.jpg", 0, {c0t, w0t, a0t}, -1, "[▲日時変換失敗]"},
      {"the name first, then the Exif date and the attributes of the renamed file", "p.jpg",
       testing::BuildJpeg(dated), 0,
       [](ConversionSettings& s) {
         s.sw_fnm = 1;
         s.sw_atr[1] = true;
         s.atr_onb = 2;
         s.sw_dtt[1] = 4;
       },
       "P.jpg", kAttrHidden, {c0t, "2013/05/04 13:02:09.000", a0t}, 1,
       "[○名称変換] [○属性変換] [○日時変換]  *対象<p.jpg> *属性<> *更新日時<2011/12/13 14:15:16.170> → "
       "*名称変換<P.jpg> *属性変換<H> *更新日時変換<2013/05/04 13:02:09.000>"},
  };

  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string sub = "case" + std::to_string(n++);
    MakeDir(sub);
    ASSERT_EQ(mkdir(home.Sub(sub).c_str(), 0755), 0);
    log_directory = sub + "/";
    session.host.program_directory = E(home.Sub(sub));
    const std::string rel = sub + "/" + c.file;
    MakeFile(rel, c.contents);
    SetTimes(rel, c0, w0, a0);
    ASSERT_TRUE(fs.SetAttributes(E(dir.Sub(rel)), c.attributes).ok());
    session.job.settings = ConversionSettings();
    session.job.settings.fnm_ipn_sel = 1;
    session.job.settings.fnm_ipn2 = 1;
    session.job.settings.fnm_01 = true;
    c.job(session.job.settings);
    session.job.app.dirfil[0] = E(dir.Sub(sub));

    const ConversionResult result = StartConversion(session, RunMode::kRun, false);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(result.counters.full_success, c.outcome == 1 ? 1 : 0);
    EXPECT_EQ(result.counters.not_needed, c.outcome == 0 ? 1 : 0);
    EXPECT_EQ(result.counters.full_failure, c.outcome == -1 ? 1 : 0);
    const std::string after = sub + "/" + c.file_after;
    EXPECT_EQ(StatOf(after).attributes & kAttrSettable, c.attributes_after);
    const std::array<std::string, 3> times = TimesOf(after);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(times[static_cast<std::size_t>(i)], c.times_after[static_cast<std::size_t>(i)]) << i;
    EXPECT_TRUE(LogHas(c.log)) << c.log;
    ASSERT_TRUE(fs.SetAttributes(E(dir.Sub(after)), 0).ok());
  }
}

TEST_F(AttributeTimeTest, PreviewShowsTheChangesAndWritesNothing) {
  MakeFile("a.txt");
  const FileTime w0 = Local("2011/12/13", "14:15:16.170");
  SetTimes("a.txt", w0, w0, w0);
  ConversionSettings& s = session.job.settings;
  s.sw_atr[0] = true;
  s.atr_onb = 1;
  s.sw_dtt[1] = 1;
  s.dtt_date[1].Assign("2000/01/01");
  s.dtt_time[1].Assign("00:00:00");
  s.sw_dtt[2] = 2;  // last access from creation: the same moment
  ui.preview_choice = PreviewChoice::kCancel;
  ASSERT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
  ASSERT_EQ(ui.shown_preview.size(), 1u);
  const PreviewRecord& r = ui.shown_preview[0];
  EXPECT_EQ(r.state, kPreviewWillChange);
  EXPECT_EQ(U(r.column(PreviewColumn::kAttributes)), "R");
  EXPECT_EQ(U(r.column(PreviewColumn::kTimes)),
            "[更新日時]：2011/12/13 14:15:16.170→2000/01/01 00:00:00.000, [アクセス日時]：2011/12/13 14:15:16.170");
  EXPECT_EQ(StatOf("a.txt").attributes & kAttrReadOnly, 0u);
  EXPECT_EQ(TimesOf("a.txt")[1], "2011/12/13 14:15:16.170");
}

TEST_F(AttributeTimeTest, AFailedTargetIsLoggedUnchangedAndTheOthersGoOn) {
  MakeFile("a.txt", "a");
  MakeFile("b.txt", "b");
  MakeFile("c.txt", "c");
  const FileTime w0 = Local("2011/12/13", "14:15:16.170");
  for (const char* f : {"a.txt", "b.txt", "c.txt"}) SetTimes(f, w0, w0, w0);
  ConversionSettings& s = session.job.settings;
  s.sw_atr[1] = true;
  s.atr_onb = 2;
  s.sw_dtt[1] = 1;
  s.dtt_date[1].Assign("2000/01/01");
  s.dtt_time[1].Assign("00:00:00");
  fs.FailOn(FsOp::kSetTimes, "a.txt", EACCES);
  fs.FailOn(FsOp::kSetAttributes, "b.txt", EIO);

  const ConversionResult result = StartConversion(session, RunMode::kRun, false);
  ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
  EXPECT_EQ(result.counters.partial_success, 2);
  EXPECT_EQ(result.counters.full_success, 1);
  // a.txt: hidden, but its time is as it was; b.txt: its time, but not hidden.
  EXPECT_EQ(StatOf("a.txt").attributes & kAttrHidden, kAttrHidden);
  EXPECT_EQ(TimesOf("a.txt")[1], "2011/12/13 14:15:16.170");
  EXPECT_EQ(StatOf("b.txt").attributes & kAttrHidden, 0u);
  EXPECT_EQ(TimesOf("b.txt")[1], "2000/01/01 00:00:00.000");
  EXPECT_EQ(TimesOf("c.txt")[1], "2000/01/01 00:00:00.000");
  EXPECT_TRUE(LogHas("[○属性変換] [▲日時変換失敗]  *対象<a.txt> *属性<> → *属性変換<H>"));
  EXPECT_TRUE(LogHas("[○日時変換] [▲属性変換失敗]  *対象<b.txt> *更新日時<2011/12/13 14:15:16.170> → "
                     "*更新日時変換<2000/01/01 00:00:00.000>"));
}

TEST_F(AttributeTimeTest, ARunUndoneFromTheLogGetsBackItsAttributesAndTimesExactly) {
  MakeDir("d");
  MakeFile("d/a.txt", "a");
  MakeFile("b.txt", "b");
  const FileTime c0 = Local("2001/02/03", "04:05:06.700");
  const FileTime w0 = Local("2011/12/13", "14:15:16.170");
  const FileTime a0 = Local("2021/01/02", "03:04:05.060");
  SetTimes("d/a.txt", c0, w0, a0);
  SetTimes("b.txt", w0, c0, a0);
  ASSERT_TRUE(fs.SetAttributes(E(dir.Sub("b.txt")), kAttrReadOnly | kAttrArchive).ok());
  session.job.app.sw_set[AppSettings::kSetRecurse] = true;
  ConversionSettings& s = session.job.settings;
  s.sw_atr = {true, true, true, true};
  s.atr_onb = 2 | 8;  // hidden and system on, read-only and archive off
  for (int i = 0; i < 3; ++i) {
    s.sw_dtt[i] = 1;
    s.dtt_date[i].Assign("1999/09/09");
    s.dtt_time[i].Assign("09:09:09.999");
  }
  const std::array<std::string, 3> a_before = TimesOf("d/a.txt"), b_before = TimesOf("b.txt");
  ASSERT_EQ(StartConversion(session, RunMode::kRun, false).counters.full_success, 2);
  EXPECT_EQ(StatOf("b.txt").attributes & kAttrSettable, kAttrHidden | kAttrSystem);
  EXPECT_EQ(TimesOf("b.txt")[0], "1999/09/09 09:09:09.999");

  session.undo.Clear();  // only the log remembers the run
  LogUndoResult undone;
  ASSERT_EQ(UndoFromLog(session.log_context(), &session.undo, LogPath(session.host), "", &undone),
            LogUndoOutcome::kUndone);
  EXPECT_TRUE(undone.undo.ok);
  EXPECT_EQ(undone.undo.counters.full_success, 2);
  EXPECT_EQ(StatOf("d/a.txt").attributes & kAttrSettable, 0u);
  EXPECT_EQ(StatOf("b.txt").attributes & kAttrSettable, kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(TimesOf("d/a.txt"), a_before);
  EXPECT_EQ(TimesOf("b.txt"), b_before);
}

TEST_F(AttributeTimeTest, AReadOnlyDirectoryStillTakesRenamesInside) {
  MakeDir("d");
  MakeFile("d/a.txt", "a");
  session.job.app.sw_set[AppSettings::kSetRecurse] = true;
  session.job.app.sw_set[AppSettings::kSetDirectories] = true;
  session.job.app.sw_set[AppSettings::kSetDirectoriesOnly] = true;
  session.job.settings.sw_atr[0] = true;
  session.job.settings.atr_onb = 1;
  ASSERT_EQ(StartConversion(session, RunMode::kRun, false).counters.full_success, 1);
  EXPECT_EQ(StatOf("d").attributes & (kAttrReadOnly | kAttrDirectory), kAttrReadOnly | kAttrDirectory);
  struct stat st {};
  ASSERT_EQ(stat(dir.Sub("d").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);

  // A later job renames inside it, and clears the flag again.
  session.job.app.sw_set[AppSettings::kSetDirectoriesOnly] = false;
  session.job.settings.sw_fnm = 1;
  session.job.settings.atr_onb = 0;
  EXPECT_EQ(StartConversion(session, RunMode::kRun, false).counters.full_success, 2);
  EXPECT_EQ(ReadFile(dir.Sub("D/A.txt")), "a");
  EXPECT_EQ(StatOf("D").attributes & kAttrReadOnly, 0u);
}

}  // namespace
}  // namespace morva
