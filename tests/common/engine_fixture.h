#ifndef MORVA_TESTS_COMMON_ENGINE_FIXTURE_H_
#define MORVA_TESTS_COMMON_ENGINE_FIXTURE_H_

// A whole engine over a real temporary directory: the iconv codec, the Linux file system behind a
// fault-injecting wrapper, a scripted user interface and a session whose job is valid as it stands
// (general rule, upper case, base name only). The program directory (the log's) is a second temporary
// directory.

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/scripted_ui.h"
#include "common/test_util.h"
#include "common/start_conversion.h"
#include "engine/validation.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/text_codec.h"

namespace morva::testing {

class EngineFixture : public ::testing::Test {
 protected:
  EngineFixture() {
    session.job.settings.sw_fnm = 1;
    session.job.settings.fnm_ipn_sel = 1;  // case conversion
    session.job.settings.fnm_ipn2 = 1;     // upper case
    session.job.app.set_0 = 1;
    session.job.app.dirfil[0] = E(dir.path());
    session.host.program_directory = E(home.path());
  }

  // Engine path and code page 932 text of host paths and UTF-8 texts, and the UTF-8 form of a code
  // page 932 text.
  std::string E(const std::string& host) { return EnginePath(codec.get(), host); }
  std::string S(const std::string& utf8) { return Sjis(codec.get(), utf8); }
  std::string U(const std::string& cp932) {
    std::string out;
    EXPECT_TRUE(codec->Cp932ToUtf8(cp932, &out).ok());
    return out;
  }

  // A preview of the job whose dialog is cancelled: "relative path -> name column" in UTF-8, in
  // conversion order.
  std::vector<std::string> PreviewNames() {
    ui.preview_choice = PreviewChoice::kCancel;
    EXPECT_EQ(StartConversion(session, RunMode::kPreview, false).outcome, ConversionOutcome::kPreviewClosed);
    const std::string prefix = E(dir.path()) + "\\";
    std::vector<std::string> out;
    for (const PreviewRecord& r : ui.shown_preview) {
      const std::string& path = ui.shown_targets.at(static_cast<std::size_t>(r.index));
      out.push_back(U(path.substr(prefix.size()) + " -> " + r.name_column));
    }
    return out;
  }

  void MakeDir(const std::string& rel) { ASSERT_EQ(mkdir(dir.Sub(rel).c_str(), 0755), 0) << rel; }
  void MakeFile(const std::string& rel, const std::string& text = "") { ASSERT_TRUE(dir.WriteFile(rel, text)) << rel; }

  // Validates the job: "ok", or the refusal's message in UTF-8 and its key ("message @KEY"), whose page
  // must be `page`. Validation itself shows nothing.
  std::string RefusalOn(int page) {
    ui.messages.clear();
    const ValidationVerdict verdict = ValidateJob(session, false);
    EXPECT_TRUE(ui.messages.empty());
    if (verdict.accepted()) return "ok";
    EXPECT_EQ(verdict.kind, ValidationVerdict::Kind::kRefused);
    EXPECT_EQ(verdict.page, page);
    return U(verdict.message) + " @" + verdict.key;
  }

  // Sets the last-write time of `rel` (below the temporary directory) to a local time.
  void SetLocalMtime(const std::string& rel, int year, int month, int day, int hour, int minute, int second,
                     long nanoseconds = 0) {
    struct tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = mktime(&t);
    times[1].tv_nsec = nanoseconds;
    ASSERT_EQ(utimensat(AT_FDCWD, dir.Sub(rel).c_str(), times, 0), 0);
  }

  // The targets relative to the temporary directory, with '\' separators.
  std::vector<std::string> RelativeTargets() {
    const std::string prefix = E(dir.path()) + "\\";
    std::vector<std::string> out;
    for (const std::string& t : session.run.targets) {
      out.push_back(t.compare(0, prefix.size(), prefix) == 0 ? t.substr(prefix.size()) : "(" + t + ")");
    }
    return out;
  }

  TempDir dir;
  TempDir home;  // the program directory: the log goes here, outside the targets
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::unique_ptr<FileSystem> posix = NewPosixFileSystem(codec.get());
  FaultInjectingFileSystem fs{posix.get()};
  ScriptedUi ui;
  Session session{*codec, fs, ui};
};

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_ENGINE_FIXTURE_H_
