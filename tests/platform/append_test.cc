// Appending to a file, and opening documents through a viewer program.
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/document_opener.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

class AppendTest : public ::testing::Test {
 protected:
  std::string E(const std::string& host) { return testing::EnginePath(codec.get(), host); }

  testing::TempDir dir;
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
};

TEST_F(AppendTest, CreatesAppendsAndEachLineIsThereAtOnce) {
  std::unique_ptr<AppendFile> file;
  ASSERT_TRUE(fs->OpenAppend(E(dir.Sub("log.txt")), &file).ok());
  ASSERT_TRUE(file->Append("one\n").ok());
  EXPECT_EQ(testing::ReadFile(dir.Sub("log.txt")), "one\n") << "visible before the file is closed";
  // A second writer's lines are never overwritten.
  std::unique_ptr<AppendFile> other;
  ASSERT_TRUE(fs->OpenAppend(E(dir.Sub("log.txt")), &other).ok());
  ASSERT_TRUE(other->Append("two\n").ok());
  ASSERT_TRUE(file->Append("three\n").ok());
  file.reset();
  other.reset();
  EXPECT_EQ(testing::ReadFile(dir.Sub("log.txt")), "one\ntwo\nthree\n");

  std::unique_ptr<AppendFile> none;
  EXPECT_EQ(fs->OpenAppend(E(dir.path()), &none).code(), EISDIR);
  EXPECT_EQ(fs->OpenAppend(E(dir.Sub("missing/log.txt")), &none).code(), ENOENT);
  EXPECT_EQ(none, nullptr);
}

TEST_F(AppendTest, InjectedFaultsFailOpenOrAppend) {
  FaultInjectingFileSystem faulty(fs.get());
  std::unique_ptr<AppendFile> file;
  faulty.FailOn(FsOp::kOpenAppend, "log", EACCES, 1);
  EXPECT_EQ(faulty.OpenAppend(E(dir.Sub("log.txt")), &file).code(), EACCES);
  ASSERT_TRUE(faulty.OpenAppend(E(dir.Sub("log.txt")), &file).ok());
  faulty.FailOn(FsOp::kAppend, "log", ENOSPC, 1);
  EXPECT_EQ(file->Append("lost\n").code(), ENOSPC);
  EXPECT_TRUE(file->Append("kept\n").ok());
  EXPECT_EQ(faulty.calls(FsOp::kAppend), 2);
  EXPECT_EQ(testing::ReadFile(dir.Sub("log.txt")), "kept\n");
}

}  // namespace
}  // namespace morva
