#include "settings/settings_store.h"

#include <cerrno>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::EnginePath;
using testing::Exists;
using testing::ReadFile;
using testing::TempDir;

constexpr DesktopGeometry kDesktop{1920, 1080, 700, 500};

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    fs_ = NewPosixFileSystem(codec_.get());
    ASSERT_TRUE(dir_.ok());
    home_ = EnginePath(codec_.get(), dir_.path());
  }

  TempDir dir_;
  std::unique_ptr<TextCodec> codec_;
  std::unique_ptr<FileSystem> fs_;
  std::string home_;
};

TEST(SettingsFilePathTest, JoinsWithOneBackslash) {
  EXPECT_EQ(SettingsFilePath("Z:\\home\\me"), "Z:\\home\\me\\morva.dat");
  EXPECT_EQ(SettingsFilePath("Z:\\"), "Z:\\morva.dat");
  // "表" ends in 0x5C, which is not a separator there.
  EXPECT_EQ(SettingsFilePath("Z:\\\x95\x5C"), "Z:\\\x95\x5C\\morva.dat");
}

TEST_F(SettingsStoreTest, MissingOrForeignFileLeavesEveryDefault) {
  ConversionSettings job;
  AppSettings app;
  job.sw_fnm = 5;
  app.opt_1 = 33;
  app.dirfil[3] = "Z:\\old";
  EXPECT_FALSE(LoadSettings(*fs_, home_, kDesktop, &job, &app));
  EXPECT_EQ(job.sw_fnm, 0);
  EXPECT_EQ(app.opt_1, 10);
  EXPECT_FALSE(app.dirfil[3].has_value());
  EXPECT_EQ(app.winx, (1920 - 700) / 2);
  EXPECT_EQ(app.prey, (1080 - 400) / 2);

  // The header is compared with its letter case.
  dir_.WriteFile("morva.dat", "MORVA settings Version 6 \n\nOPT_1 = 20\nSW_FNM = 1\n");
  EXPECT_FALSE(LoadSettings(*fs_, home_, kDesktop, &job, &app));
  EXPECT_EQ(app.opt_1, 10);
  EXPECT_EQ(job.sw_fnm, 0);
}

TEST_F(SettingsStoreTest, ReadsTheFileAndAnUnreadableOneCountsAsMissing) {
  dir_.WriteFile("morva.dat", "MORVA Settings Version 7 \n\nopt_1 = 20\nSW_FNM = 1\nPREW=700\nWINX = 5000\n");
  ConversionSettings job;
  AppSettings app;
  EXPECT_TRUE(LoadSettings(*fs_, home_, kDesktop, &job, &app));
  EXPECT_EQ(app.opt_1, 20);
  EXPECT_EQ(job.sw_fnm, 1);
  EXPECT_EQ(app.prew, 600);          // a line without blanks around "=" is skipped
  EXPECT_EQ(app.winx, 1920 - 700);   // kept on the desktop

  // A front end without windows keeps every stored position and centres only the missing ones.
  const DesktopGeometry unbounded{16384, 16384, 640, 480};
  EXPECT_TRUE(LoadSettings(*fs_, home_, unbounded, &job, &app, &kDesktop));
  EXPECT_EQ(app.winx, 5000);
  EXPECT_EQ(app.winy, (1080 - 500) / 2);

  FaultInjectingFileSystem faulty(fs_.get());
  faulty.FailOn(FsOp::kReadFile, "morva.dat", EIO);
  EXPECT_FALSE(LoadSettings(faulty, home_, kDesktop, &job, &app));
  EXPECT_EQ(app.opt_1, 10);
  EXPECT_EQ(job.sw_fnm, 0);
}

TEST_F(SettingsStoreTest, SavesOnlyThroughAnOpenGateAndReadsBackWhatItSaved) {
  ConversionSettings job;
  AppSettings app;
  job.sw_fnm = 1;
  job.fnm_ipn_sel = 1;
  job.fnm_ipn2 = 1;
  app.dirfil[0] = "Z:\\home\\me\\photos";
  app.opt_1 = 25;

  SettingsWriteGate gate;
  EXPECT_TRUE(SaveSettings(*fs_, home_, gate, job, app));
  EXPECT_FALSE(Exists(dir_ / "morva.dat"));

  gate.Open();
  ASSERT_TRUE(SaveSettings(*fs_, home_, gate, job, app));
  const std::string text = ReadFile(dir_ / "morva.dat");
  EXPECT_EQ(text.rfind("MORVA Settings Version", 0), 0u) << text;

  ConversionSettings job2;
  AppSettings app2;
  ASSERT_TRUE(LoadSettings(*fs_, home_, kDesktop, &job2, &app2));
  EXPECT_EQ(job2.sw_fnm, 1);
  EXPECT_EQ(job2.fnm_ipn_sel, 1);
  EXPECT_EQ(job2.fnm_ipn2, 1);
  EXPECT_EQ(app2.dirfil[0], std::optional<std::string>("Z:\\home\\me\\photos"));
  EXPECT_EQ(app2.opt_1, 25);
}

TEST_F(SettingsStoreTest, AFailedSaveReportsFalseAndKeepsTheOldFile) {
  dir_.WriteFile("morva.dat", "MORVA Settings Version 6 \n\nOPT_1 = 20\n");
  ConversionSettings job;
  AppSettings app;
  SettingsWriteGate gate;
  gate.Open();
  FaultInjectingFileSystem faulty(fs_.get());
  faulty.FailOn(FsOp::kWriteFile, "", ENOSPC);
  EXPECT_FALSE(SaveSettings(faulty, home_, gate, job, app));
  EXPECT_EQ(ReadFile(dir_ / "morva.dat"), "MORVA Settings Version 6 \n\nOPT_1 = 20\n");
  // A program directory that does not exist cannot hold the file either.
  EXPECT_FALSE(SaveSettings(*fs_, home_ + "\\gone", gate, job, app));
}

}  // namespace
}  // namespace morva
