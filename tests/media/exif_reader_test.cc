// ExifReader on real files: the extension test, the one-file cache, probe mode, failed opens, and a
// comparison with what exiftool writes and reports.
#include "media/exif_reader.h"

#include <stdio.h>
#include <stdlib.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "common/jpeg_builder.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::BuildJpeg;
using testing::EnginePath;
using testing::JpegContents;
using testing::TempDir;
using testing::WriteFile;

class ExifReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    posix_ = NewPosixFileSystem(codec_.get());
    fs_ = std::make_unique<FaultInjectingFileSystem>(posix_.get());
    reader_ = std::make_unique<ExifReader>(*fs_);
  }

  // Writes `bytes` to `name` in the temporary directory and returns its engine path.
  std::string Put(const std::string& name, const std::string& bytes) {
    WriteFile(dir_ / name, bytes);
    return EnginePath(codec_.get(), dir_ / name);
  }
  int opens() const { return fs_->calls(FsOp::kOpenRead); }

  TempDir dir_;
  std::unique_ptr<TextCodec> codec_;
  std::unique_ptr<FileSystem> posix_;
  std::unique_ptr<FaultInjectingFileSystem> fs_;
  std::unique_ptr<ExifReader> reader_;
};

JpegContents PhotoContents() {
  JpegContents contents;
  contents.make = "MORVA";
  contents.date_time = "2014:01:02 03:04:05";
  contents.date_time_original = "2013:05:04 13:02:09";
  return contents;
}

TEST_F(ExifReaderTest, SecondQuestionComesFromTheCacheWithSlashes) {
  const std::string a = Put("a.jpg", BuildJpeg(PhotoContents()));
  ASSERT_TRUE(reader_->ReadDate(a, 0, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "2013:05:04 13:02:09");
  EXPECT_EQ(reader_->values().make, "MORVA");
  ASSERT_TRUE(reader_->ReadDate(a, 0, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "2013/05/04 13:02:09");
  ASSERT_TRUE(reader_->ReadDate(a, 1, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "2014/01/02 03:04:05");
  // No digitized date, and a `which` outside 1-3: the found flag, no text.
  EXPECT_TRUE(reader_->ReadDate(a, 3, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "");
  EXPECT_TRUE(reader_->ReadDate(a, 9, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "");
  // A cached probe needs no open either.
  EXPECT_TRUE(reader_->ReadDate(a, 0, 2, false, true));
  EXPECT_EQ(opens(), 1);

  // The file changes on disk, but the cache answers until it is cleared.
  Put("a.jpg", BuildJpeg(JpegContents{}));
  EXPECT_TRUE(reader_->ReadDate(a, 2, 2, false, false));
  reader_->Clear();
  EXPECT_FALSE(reader_->values().make.has_value());
  EXPECT_FALSE(reader_->ReadDate(a, 2, 2, false, false));  // header valid, nothing recognised
  EXPECT_EQ(opens(), 2);
  EXPECT_FALSE(reader_->ReadDate(a, 2, 2, false, false));  // cached as found nothing
  EXPECT_EQ(opens(), 2);

  // Another file replaces the cache; a file without the requested date is still found.
  JpegContents no_original = PhotoContents();
  no_original.date_time_original.reset();
  const std::string b = Put("b.jpg", BuildJpeg(no_original));
  EXPECT_TRUE(reader_->ReadDate(b, 0, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "");
  EXPECT_EQ(opens(), 3);
}

TEST_F(ExifReaderTest, ProbeDecidesOnTheHeaderAndInvalidatesTheCache) {
  const std::string a = Put("a.jpg", BuildJpeg(PhotoContents()));
  JpegContents empty;  // a valid header without any tag
  const std::string b = Put("b.jpg", BuildJpeg(empty));
  JpegContents xmp = PhotoContents();
  xmp.xmp_first = true;
  const std::string c = Put("c.jpg", BuildJpeg(xmp));

  ASSERT_TRUE(reader_->ReadDate(a, 2, 2, false, false));
  EXPECT_TRUE(reader_->ReadDate(b, 2, 2, false, true));
  EXPECT_EQ(reader_->result_text(), "");
  EXPECT_FALSE(reader_->values().make.has_value());
  // The probe emptied the cache: the next question about a opens it again and reads it fresh.
  EXPECT_TRUE(reader_->ReadDate(a, 2, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "2013:05:04 13:02:09");
  EXPECT_EQ(opens(), 3);
  // A failed probe leaves the cache alone.
  EXPECT_FALSE(reader_->ReadDate(c, 2, 2, false, true));
  EXPECT_TRUE(reader_->ReadDate(a, 2, 2, false, false));
  EXPECT_EQ(reader_->result_text(), "2013/05/04 13:02:09");
  EXPECT_EQ(opens(), 4);
}

TEST_F(ExifReaderTest, ExtensionTestAndFailedOpens) {
  const std::string photo = BuildJpeg(PhotoContents());
  // The content decides how a file is read: a JPEG named as a raw image, a HEIF photo or a movie is read
  // as the JPEG it is.
  for (const char* name : {"a.JPG", "b.jpeg", "c.Jpe", "d.JFIF", "e.tif", "h.DNG", "i.heic", "j.mov"}) {
    reader_->Clear();
    EXPECT_TRUE(reader_->ReadDate(Put(name, photo), 2, 2, false, false)) << name;
  }
  const int before = opens();
  const std::string unlisted = Put("f.txt", photo);
  const std::string bare = Put("jpg", photo);
  EXPECT_FALSE(reader_->ReadDate(unlisted, 2, 2, false, false));
  EXPECT_FALSE(reader_->ReadDate(unlisted, 2, 2, false, true));
  EXPECT_FALSE(reader_->ReadDate(bare, 2, 2, false, false));
  EXPECT_EQ(opens(), before);
  // Without the test, the content alone decides.
  EXPECT_TRUE(reader_->ReadDate(unlisted, 2, 2, true, false));
  EXPECT_EQ(reader_->result_text(), "2013:05:04 13:02:09");
  EXPECT_FALSE(reader_->ReadDate(Put("g.jpg", "not a jpeg"), 2, 2, true, false));

  reader_->Clear();
  fs_->FailOn(FsOp::kOpenRead, "a.JPG", EACCES);
  EXPECT_FALSE(reader_->ReadDate(EnginePath(codec_.get(), dir_ / "a.JPG"), 2, 2, false, false));
  EXPECT_FALSE(reader_->ReadDate(EnginePath(codec_.get(), dir_ / "missing.jpg"), 2, 2, false, false));
  EXPECT_FALSE(reader_->ReadDate(EnginePath(codec_.get(), dir_.path()) + "\\x.jpg\\", 2, 2, true, false));
  EXPECT_EQ(reader_->result_text(), "");
}

// Runs a shell command; its standard output, or nullopt when it fails.
std::optional<std::string> RunCommand(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[256];
  while (size_t n = fread(buffer, 1, sizeof(buffer), pipe)) out.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

TEST_F(ExifReaderTest, ReadsWhatExiftoolWrites) {
  if (system("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
  // A JPEG without Exif, and one whose big-endian Exif block exiftool rewrites in that byte order.
  JpegContents plain;
  plain.exif = false;
  JpegContents motorola;
  motorola.big_endian = true;
  motorola.model = "old model";
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {{"plain.jpg", BuildJpeg(plain)}, {"motorola.jpg", BuildJpeg(motorola)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(c.name, c.bytes);
    const std::string file = dir_ / c.name;
    ASSERT_TRUE(RunCommand("exiftool -q -overwrite_original -DateTimeOriginal='2011:12:13 14:15:16' "
                    "-ModifyDate='2012:02:29 23:59:58' -Make='Exif Maker' -Model='M 2' "
                    "-ExifImageWidth=4608 '" + file + "'"));
    const std::optional<std::string> original = RunCommand("exiftool -s3 -DateTimeOriginal '" + file + "'");
    const std::optional<std::string> modified = RunCommand("exiftool -s3 -ModifyDate '" + file + "'");
    const std::optional<std::string> make = RunCommand("exiftool -s3 -Make '" + file + "'");
    const std::optional<std::string> model = RunCommand("exiftool -s3 -Model '" + file + "'");
    const std::optional<std::string> width = RunCommand("exiftool -s3 -ExifImageWidth '" + file + "'");
    ASSERT_TRUE(original && modified && make && model && width);
    ASSERT_EQ(*original, "2011:12:13 14:15:16");

    MemoryReadableFile bytes(testing::ReadFile(file));
    const ExifParse p = ParseJpegExif(bytes, kExifDateTimeOriginal, false);
    ASSERT_TRUE(p.has_exif);
    EXPECT_EQ(p.date_text, *original);
    EXPECT_EQ(p.values.date_time, "20120229235958");
    EXPECT_EQ(*modified, "2012:02:29 23:59:58");
    EXPECT_EQ(p.values.make, *make);
    EXPECT_EQ(p.values.model, *model);
    EXPECT_EQ(p.values.pixel_x, *width);
  }
}

}  // namespace
}  // namespace morva
