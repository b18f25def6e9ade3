#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

// Code page 932 forms of names whose second byte is 0x5C, the byte of '\'.
constexpr char kHyoCp932[] = "\x95\x5C";  // 表
constexpr char kSoCp932[] = "\x83\x5C";   // ソ

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = NewIconvTextCodec();
    ASSERT_NE(codec_, nullptr);
    fs_ = NewPosixFileSystem(codec_.get());
  }

  std::string ToHost(std::string_view engine_path) {
    std::string host = "unchanged";
    const Status s = fs_->ToHostPath(engine_path, &host);
    return s.ok() ? host : "error " + std::to_string(s.code());
  }
  std::string FromHost(std::string_view host_path) {
    std::string engine = "unchanged";
    const Status s = fs_->FromHostPath(host_path, &engine);
    return s.ok() ? engine : "error " + std::to_string(s.code());
  }
  static std::string Err(int code) { return "error " + std::to_string(code); }

  std::unique_ptr<TextCodec> codec_;
  std::unique_ptr<FileSystem> fs_;
};

TEST_F(PathsTest, DriveZMapsToTheHostRoot) {
  EXPECT_EQ(ToHost("Z:"), "/");
  EXPECT_EQ(ToHost("z:"), "/");
  EXPECT_EQ(ToHost("Z:\\"), "/");
  EXPECT_EQ(ToHost("Z:\\\\\\"), "/");
  EXPECT_EQ(ToHost("Z:\\a\\b"), "/a/b");
  EXPECT_EQ(ToHost("z:\\home\\me\\a.txt"), "/home/me/a.txt");
  EXPECT_EQ(ToHost("Z:\\\\a\\\\\\b\\"), "/a/b");
  EXPECT_EQ(ToHost("Z:/a/b"), "/a/b");
  EXPECT_EQ(ToHost("Z:\\a b\\c~d"), "/a b/c~d");
  // Dots are resolved as the engine's paths mean them; the root has no parent.
  EXPECT_EQ(ToHost("Z:\\a\\.\\b\\..\\c"), "/a/c");
  EXPECT_EQ(ToHost("Z:\\..\\..\\etc"), "/etc");
  EXPECT_EQ(ToHost("Z:\\a\\.."), "/");
  EXPECT_EQ(ToHost("Z:\\...\\.x"), "/.../.x");
}

TEST_F(PathsTest, DoubleByteTrailBackslashIsNoSeparator) {
  const std::string hyo = kHyoCp932, so = kSoCp932;
  EXPECT_EQ(ToHost("Z:\\" + hyo + "\\" + so), "/表/ソ");
  EXPECT_EQ(ToHost("Z:\\" + hyo + so + "\\x"), "/表ソ/x");
  EXPECT_EQ(ToHost("Z:\\a" + hyo), "/a表");
  EXPECT_EQ(ToHost("Z:\\" + hyo + "\\.."), "/");

  EXPECT_EQ(FromHost("/表/ソ"), "Z:\\" + hyo + "\\" + so);
  EXPECT_EQ(FromHost("/表示/ソフト.txt"),
            "Z:\\" + hyo + "\x8E\xA6\\" + so + "\x83t\x83g.txt");
  // Both directions agree on every such name.
  std::string engine, host;
  ASSERT_TRUE(fs_->FromHostPath("/表/ソ表/ｶﾅ/Ω", &engine).ok());
  ASSERT_TRUE(fs_->ToHostPath(engine, &host).ok());
  EXPECT_EQ(host, "/表/ソ表/ｶﾅ/Ω");
}

// A run converts entry after entry of one directory, and the file system keeps the directory's host form
// between calls: each answer must still be the one the whole path gives, whatever came before it.
TEST_F(PathsTest, ToHostPathInSequenceAnswersAsEachPathAlone) {
  const std::string so = "\x83\x5C";  // "ソ": its trail byte is '\\'
  const std::vector<std::string> paths = {
      "Z:\\a\\b.txt", "Z:\\a\\c.txt", "Z:\\a\\..", "Z:\\a\\.", "Z:\\a\\x/y", "Z:\\a\\" + so,
      "Z:\\a\\" + so + "\\d", "z:\\a\\b.txt", "Z:\\a\\\\b.txt", "Z:\\a\\", "Z:\\b", "Z:\\a\\\x81",
      std::string("Z:\\a\\x\0y", 9), "Z:\\a\\..\\b", "\\\\server\\share\\b", "Z:\\a\\b.txt"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    std::string expected;
    const Status whole = EngineToHostPath(HostLocations(), codec_.get(), path, &expected);
    EXPECT_EQ(ToHost(path), whole.ok() ? expected : Err(whole.code()));
  }
}

TEST_F(PathsTest, ToHostPathRefusesWhatTheHostCannotMap) {
  EXPECT_EQ(ToHost(""), Err(EINVAL));
  EXPECT_EQ(ToHost("C:\\"), Err(EINVAL));
  EXPECT_EQ(ToHost("y:\\a"), Err(EINVAL));
  EXPECT_EQ(ToHost("a\\b"), Err(EINVAL));
  EXPECT_EQ(ToHost("\\a\\b"), Err(EINVAL));
  EXPECT_EQ(ToHost("Z"), Err(EINVAL));
  EXPECT_EQ(ToHost("Z:a\\b"), Err(EINVAL));  // relative to a drive's current directory
  EXPECT_EQ(ToHost(":\\a"), Err(EINVAL));
  // A NUL would cut the host path short at the system call: Z:\etc\x\0y must not reach /etc/x.
  EXPECT_EQ(ToHost(std::string("Z:\\etc\\x\0y", 11)), Err(EINVAL));
  EXPECT_EQ(ToHost("Z:\\a\x81"), Err(EILSEQ));  // a lead byte without its trail
  EXPECT_EQ(ToHost("Z:\\a\x85\x40"), Err(EILSEQ));
  EXPECT_EQ(ToHost("Z:\\\xFF"), Err(EILSEQ));
  // A UNC path needs a server and a share.
  EXPECT_EQ(ToHost("\\\\"), Err(EINVAL));
  EXPECT_EQ(ToHost("\\\\server"), Err(EINVAL));
  EXPECT_EQ(ToHost("\\\\server\\"), Err(EINVAL));
  EXPECT_EQ(ToHost("\\\\server\\..\\x"), Err(EINVAL));
}

TEST_F(PathsTest, FromHostPathGivesTheDriveZForm) {
  EXPECT_EQ(FromHost("/"), "Z:\\");
  EXPECT_EQ(FromHost("///"), "Z:\\");
  EXPECT_EQ(FromHost("/a/b"), "Z:\\a\\b");
  EXPECT_EQ(FromHost("//a///b/"), "Z:\\a\\b");
  EXPECT_EQ(FromHost("/a/./b/../c/."), "Z:\\a\\c");
  EXPECT_EQ(FromHost("/../.."), "Z:\\");
  EXPECT_EQ(FromHost("/a/.../b c"), "Z:\\a\\...\\b c");
  EXPECT_EQ(FromHost("/a:b"), "Z:\\a:b");
}

TEST_F(PathsTest, FromHostPathRefusesInexactForms) {
  EXPECT_EQ(FromHost(""), Err(EINVAL));
  EXPECT_EQ(FromHost(std::string("/a\0b", 4)), Err(EINVAL));
  // A backslash inside a host name would become a separator: /a\b is not /a/b.
  EXPECT_EQ(FromHost("/a\\b"), Err(EINVAL));
  // These share a code with another character, so the form would name a different file.
  EXPECT_EQ(FromHost("/a\u2212b"), Err(EILSEQ));  // MINUS SIGN (its code is FULLWIDTH HYPHEN-MINUS)
  EXPECT_EQ(FromHost("/\u00A5"), Err(EILSEQ));     // YEN SIGN (its code is 0x5C, the separator)
  EXPECT_EQ(FromHost("/\U0001F600"), Err(EILSEQ));  // no code at all
  EXPECT_EQ(FromHost("/a\xFF"), Err(EILSEQ));       // not UTF-8
  EXPECT_EQ(FromHost("/\xE8\xA1"), Err(EILSEQ));    // cut UTF-8
}

TEST_F(PathsTest, FromHostPathTakesRelativePathsFromTheCurrentDirectory) {
  testing::TempDir dir;
  ASSERT_TRUE(dir.ok());
  ASSERT_EQ(mkdir((dir / "sub").c_str(), 0700), 0);
  std::string dir_engine;
  ASSERT_TRUE(fs_->FromHostPath(dir.path(), &dir_engine).ok());
  std::string parent_engine = dir_engine.substr(0, dir_engine.rfind('\\'));
  if (parent_engine == "Z:") parent_engine = "Z:\\";
  {
    testing::ScopedChdir cd(dir.path());
    ASSERT_TRUE(cd.ok());
    EXPECT_EQ(FromHost("x"), dir_engine + "\\x");
    EXPECT_EQ(FromHost("x//y/"), dir_engine + "\\x\\y");
    EXPECT_EQ(FromHost("."), dir_engine);
    EXPECT_EQ(FromHost("./sub/../a"), dir_engine + "\\a");
    EXPECT_EQ(FromHost(".."), parent_engine);
    EXPECT_EQ(FromHost("表"), dir_engine + "\\" + kHyoCp932);
    // Absolute paths ignore the current directory.
    EXPECT_EQ(FromHost("/x"), "Z:\\x");

    // A current directory that was removed has no path.
    testing::ScopedChdir cd_sub(dir / "sub");
    ASSERT_TRUE(cd_sub.ok());
    ASSERT_EQ(rmdir((dir / "sub").c_str()), 0);
    EXPECT_EQ(FromHost("x"), Err(ENOENT));
    EXPECT_EQ(FromHost("/x"), "Z:\\x");
  }
  // The directory is restored, and the test's own files are where they were.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
  EXPECT_NE(std::string(cwd), dir.path());
}

// UNC paths resolve through a fixture mount table.
class UncPathsTest : public PathsTest {
 protected:
  void SetUp() override {
    PathsTest::SetUp();
    ASSERT_TRUE(dir_.ok());
    locations_.mountinfo = dir_ / "mountinfo";
    ASSERT_TRUE(dir_.WriteFile("mountinfo",
                               "29 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                               "60 29 0:60 / /mnt/srv rw - cifs //Server/Share rw\n"
                               "61 29 0:61 / /mnt/my\\040docs rw - smb3 //server/docs rw\n"
                               "62 29 0:62 / /mnt/jp rw - cifs //nas/\xE8\xA1\xA8 rw\n"
                               "63 29 0:63 / /mnt/nfs rw - nfs //nas/exports rw\n"));
  }

  std::string Unc(std::string_view engine_path) {
    std::string host = "unchanged";
    const Status s = EngineToHostPath(locations_, codec_.get(), engine_path, &host);
    return s.ok() ? host : "error " + std::to_string(s.code());
  }

  testing::TempDir dir_;
  HostLocations locations_;
};

TEST_F(UncPathsTest, SharesMapToTheirMountPoints) {
  EXPECT_EQ(Unc("\\\\server\\share"), "/mnt/srv");
  EXPECT_EQ(Unc("\\\\SERVER\\share\\"), "/mnt/srv");
  EXPECT_EQ(Unc("\\\\server\\SHARE\\dir\\f.txt"), "/mnt/srv/dir/f.txt");
  EXPECT_EQ(Unc("\\\\server\\share\\\\dir\\\\"), "/mnt/srv/dir");
  EXPECT_EQ(Unc("\\\\server\\docs\\a b"), "/mnt/my docs/a b");
  EXPECT_EQ(Unc(std::string("\\\\nas\\") + kHyoCp932 + "\\" + kSoCp932), "/mnt/jp/ソ");
  // ".." never climbs out of the share into the directories around its mount point.
  EXPECT_EQ(Unc("\\\\server\\share\\..\\..\\etc\\passwd"), "/mnt/srv/etc/passwd");
  EXPECT_EQ(Unc("\\\\server\\share\\a\\..\\b"), "/mnt/srv/b");
  // Drive Z: needs no table.
  EXPECT_EQ(Unc("Z:\\mnt"), "/mnt");
}

TEST_F(UncPathsTest, UnmountedSharesAreNotConnected) {
  EXPECT_EQ(Unc("\\\\server\\other\\x"), Err(ENOTCONN));
  EXPECT_EQ(Unc("\\\\otherserver\\share"), Err(ENOTCONN));
  EXPECT_EQ(Unc("\\\\nas\\exports"), Err(ENOTCONN));  // an NFS mount is no SMB share
  EXPECT_EQ(Unc("\\\\server"), Err(EINVAL));

  locations_.mountinfo = dir_ / "missing";
  EXPECT_EQ(Unc("\\\\server\\share"), Err(ENOENT));
  EXPECT_EQ(Unc("Z:\\"), "/");
}

}  // namespace
}  // namespace morva
