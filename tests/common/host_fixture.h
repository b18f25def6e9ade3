#ifndef MORVA_TESTS_COMMON_HOST_FIXTURE_H_
#define MORVA_TESTS_COMMON_HOST_FIXTURE_H_

// The host layer over a real temporary directory: the iconv codec and the Linux file system, for the
// tests of the host layer itself and of the parts that stand directly on it.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva::testing {

class HostFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(codec_, nullptr);
    ASSERT_TRUE(dir_.ok());
  }

  // The engine path of `name` below the temporary directory.
  std::string E(const std::string& name) { return EnginePath(codec_.get(), dir_ / name); }

  TempDir dir_;
  std::unique_ptr<TextCodec> codec_ = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs_ = NewPosixFileSystem(codec_.get());
};

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_HOST_FIXTURE_H_
