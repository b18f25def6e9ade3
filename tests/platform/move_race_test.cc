// Moves on a FAT card (through FUSE, whose rename can neither refuse to replace nor fall back on a hard
// link) while another writer creates entries at the destinations: none of that writer's entries may be
// replaced. MORVA_RACE_COUNT raises the number of moves per case for a longer run by hand.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/fat_mount.h"
#include "common/test_util.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

int RaceCount() {
  const char* text = std::getenv("MORVA_RACE_COUNT");
  const int n = text != nullptr ? std::atoi(text) : 0;
  return n > 0 ? n : 96;
}

bool IsEmptyDirectory(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && testing::HostNames(path).empty();
}

TEST(MoveRaceTest, OnFatAnotherWritersEntriesAreNeverReplaced) {
  testing::FatMount fat;
  if (!fat.ok()) GTEST_SKIP() << fat.why();
  std::unique_ptr<TextCodec> codec = NewIconvTextCodec();
  std::unique_ptr<FileSystem> fs = NewPosixFileSystem(codec.get());
  const int count = RaceCount();

  enum class Kind { kFile, kDirectory };
  const struct {
    const char* what;
    Kind moved;
    Kind created;  // what the other writer makes at the destination
  } cases[] = {
      {"files, the writer creating files", Kind::kFile, Kind::kFile},
      {"directories, the writer creating files", Kind::kDirectory, Kind::kFile},
      {"directories, the writer making empty directories", Kind::kDirectory, Kind::kDirectory},
  };
  int case_number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = fat.path() + "/c" + std::to_string(case_number++);
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    auto src = [&](int i) { return dir + "/s" + std::to_string(i); };
    auto dst = [&](int i) { return dir + "/d" + std::to_string(i); };
    for (int i = 0; i < count; ++i) {
      // The directories stay empty: fusefat itself loses what a directory holds when it is renamed.
      if (c.moved == Kind::kFile) {
        WriteFile(src(i), "mover");
      } else {
        ASSERT_EQ(mkdir(src(i).c_str(), 0755), 0);
      }
    }

    // How long a move takes on this mount, from moves nobody races with.
    const auto calibration_start = std::chrono::steady_clock::now();
    constexpr int kCalibrationMoves = 8;
    for (int i = 0; i < kCalibrationMoves; ++i) {
      const std::string from = dir + "/calibrate" + std::to_string(i);
      if (c.moved == Kind::kFile) {
        WriteFile(from, "");
      } else {
        ASSERT_EQ(mkdir(from.c_str(), 0755), 0);
      }
      ASSERT_TRUE(fs->Move(testing::EnginePath(codec.get(), from), testing::EnginePath(codec.get(), from + "m")).ok());
    }
    // Moves slow down as the directory fills (FAT searches its directories entry by entry): the writer
    // goes by the last one.
    std::atomic<std::chrono::steady_clock::duration::rep> move_time{
        ((std::chrono::steady_clock::now() - calibration_start) / kCalibrationMoves).count()};

    // The writer creates destination i once the move of i has begun, after a delay that sweeps the
    // length of a move, so that some creations land inside it.
    constexpr int kSweepSteps = 16;
    std::atomic<int> started{-1};
    std::vector<char> created(static_cast<std::size_t>(count), 0);
    std::thread writer([&] {
      for (int i = 0; i < count; ++i) {
        while (started.load() < i) std::this_thread::yield();
        const auto delay = std::chrono::steady_clock::duration(move_time.load()) * (i % kSweepSteps) / kSweepSteps;
        for (const auto until = std::chrono::steady_clock::now() + delay; std::chrono::steady_clock::now() < until;) {
        }
        if (c.created == Kind::kFile) {
          const int fd = open(dst(i).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
          if (fd < 0) continue;
          created[static_cast<std::size_t>(i)] = write(fd, "writer", 6) == 6;
          close(fd);
        } else {
          created[static_cast<std::size_t>(i)] = mkdir(dst(i).c_str(), 0755) == 0;
        }
      }
    });
    std::vector<int> results(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      const std::string from = testing::EnginePath(codec.get(), src(i));
      const std::string to = testing::EnginePath(codec.get(), dst(i));
      const auto move_start = std::chrono::steady_clock::now();
      started.store(i);
      results[static_cast<std::size_t>(i)] = fs->Move(from, to).code();
      move_time.store((std::chrono::steady_clock::now() - move_start).count());
    }
    writer.join();

    // An entry of the writer's at a destination the move then took has been replaced.
    int replaced = 0, lost = 0, moved = 0, refused = 0;
    auto mover_there = [&](const std::string& path) {
      if (c.moved == Kind::kDirectory) return IsEmptyDirectory(path);
      return Exists(path) && ReadFile(path) == "mover";
    };
    for (int i = 0; i < count; ++i) {
      const bool writer_made = created[static_cast<std::size_t>(i)] != 0;
      const int result = results[static_cast<std::size_t>(i)];
      if (result == 0) {
        ++moved;
        if (writer_made) ++replaced;
        if (!mover_there(dst(i)) || Exists(src(i))) ++lost;
      } else {
        ++refused;
        EXPECT_EQ(result, EEXIST) << i;
        if (!mover_there(src(i))) ++lost;
        if (c.created == Kind::kFile && writer_made && ReadFile(dst(i)) != "writer") ++replaced;
      }
    }
    std::printf("%s: %d moved, %d refused, %d replaced\n", c.what, moved, refused, replaced);
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(lost, 0);
    // Neither placeholders nor temporary names are left behind.
    EXPECT_EQ(testing::HostNames(dir).size(), static_cast<std::size_t>(count + refused + kCalibrationMoves));
  }
}

}  // namespace
}  // namespace morva
