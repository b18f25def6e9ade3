// Deletion runs on real trees: into the trash, permanently, and overwritten first at each level; what a
// failure leaves; what the preview and the log say.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/engine_fixture.h"
#include "common/test_mount.h"
#include "common/test_trash.h"
#include "common/test_util.h"
#include "common/start_conversion.h"

namespace morva {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::Trashed;

// An entry as a call of the run found it on the disk, just before the call.
struct Seen {
  std::string path;     // relative to the converted directory
  std::string content;  // a file's bytes, "->" for a link, "/" for a directory
};

class DeletionRunTest : public testing::EngineFixture {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testing::TestTrash().empty());
    ASSERT_TRUE(outside.ok());
    testing::WriteFile(outside / "kept.txt", "outside");
    session.job.settings.sw_fnm = 0;
    session.job.app.sw_set[AppSettings::kSetRecurse] = true;
    session.job.app.sw_set[AppSettings::kSetDirectories] = true;
    fs.Observe([this](FsOp op, std::string_view path) {
      if (op != FsOp::kDeleteTree && op != FsOp::kOverwrite) return;
      std::string host;
      if (!posix->ToHostPath(path, &host).ok() || host.compare(0, root.size() + 1, root + "/") != 0) return;
      Seen seen{host.substr(root.size() + 1), ""};
      struct stat st {};
      if (lstat(host.c_str(), &st) == 0) seen.content = S_ISLNK(st.st_mode) ? "->" : S_ISDIR(st.st_mode) ? "/" : ReadFile(host);
      (op == FsOp::kDeleteTree ? deleted : overwritten).push_back(seen);
    });
  }

  // A fresh tree `name` below the temporary directory, made the job's target: a file, a read-only file, a
  // link to a file outside, and a directory with a file in it.
  void MakeTree(const std::string& name) {
    root = dir / name;
    MakeDir(name);
    MakeFile(name + "/a.txt", kKnown);
    MakeFile(name + "/ro.txt", kKnown);
    ASSERT_EQ(chmod((root + "/ro.txt").c_str(), 0444), 0);
    ASSERT_EQ(symlink((outside / "kept.txt").c_str(), (root + "/link").c_str()), 0);
    MakeDir(name + "/sub");
    MakeFile(name + "/sub/inner.txt", kKnown);
    session.job.app.dirfil[0] = E(root);
    deleted.clear();
    overwritten.clear();
  }

  std::string Log() { return U(ReadFile(home / "mvlogs.txt")); }

  static constexpr const char* kKnown = "the contents nobody may read back";

 public:  // what each case of a table checks
  testing::TempDir outside;
  std::string root;  // host path of the converted directory
  std::vector<Seen> deleted;
  std::vector<Seen> overwritten;
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

bool Alphanumeric(const std::string& name) {
  for (unsigned char c : name) {
    if (!std::isalnum(c)) return false;
  }
  return !name.empty();
}

TEST_F(DeletionRunTest, EachWayOfDeletingTakesEveryTargetAndNothingOutside) {
  const std::string known = kKnown;
  struct Case {
    const char* what;
    std::array<bool, 3> sw_del;
    int level;
    const char* column;  // the preview's deletion column
    std::function<void(DeletionRunTest& t)> check;
  };
  auto in_trash = [](DeletionRunTest& t) {
    EXPECT_TRUE(t.deleted.empty());
    EXPECT_TRUE(t.overwritten.empty());
    EXPECT_EQ(ReadFile(Trashed(t.root + "/a.txt")), kKnown);
    EXPECT_EQ(ReadFile(Trashed(t.root + "/ro.txt")), kKnown);
    struct stat st {};
    EXPECT_EQ(lstat(Trashed(t.root + "/link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    // Excluded in the preview, but inside a directory that went: it went with it, restorable.
    EXPECT_EQ(ReadFile(Trashed(t.root + "/sub") + "/inner.txt"), kKnown);
  };
  auto permanent = [known](DeletionRunTest& t) {
    EXPECT_EQ(Trashed(t.root + "/a.txt"), "");
    EXPECT_TRUE(t.overwritten.empty());
    ASSERT_EQ(t.deleted.size(), 4u);
    EXPECT_EQ(t.deleted[0].path + "=" + t.deleted[0].content, "a.txt=" + known);
    EXPECT_EQ(t.deleted[1].path + "=" + t.deleted[1].content, "link=->");
    EXPECT_EQ(t.deleted[2].path + "=" + t.deleted[2].content, "ro.txt=" + known);
    EXPECT_EQ(t.deleted[3].path + "=" + t.deleted[3].content, "sub=/");
  };
  // The overwritten files, in order, and each deleted entry's name, length and contents.
  auto wiped = [known](int level) {
    return [known, level](DeletionRunTest& t) {
      EXPECT_EQ(Trashed(t.root + "/a.txt"), "");
      // A directory is never overwritten, nor a link; the file excluded in the preview is overwritten
      // when its directory goes.
      ASSERT_EQ(t.overwritten.size(), 3u);
      EXPECT_EQ(t.overwritten[0].path, "a.txt");
      EXPECT_EQ(t.overwritten[1].path, "ro.txt");
      EXPECT_EQ(t.overwritten[2].path, "sub/inner.txt");
      const std::vector<std::string> names = {"a.txt", "link", "ro.txt", "sub/inner.txt", "sub"};
      ASSERT_EQ(t.deleted.size(), names.size());
      for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Seen& d = t.deleted[i];
        const std::size_t slash = names[i].rfind('/') + 1;  // 0 without one
        EXPECT_EQ(d.path.size(), names[i].size());
        EXPECT_EQ(d.path.substr(0, slash), names[i].substr(0, slash));
        if (level == 3 && names[i] != "sub") {
          EXPECT_NE(d.path, names[i]);
          EXPECT_TRUE(Alphanumeric(d.path.substr(slash))) << d.path;
        } else {
          EXPECT_EQ(d.path, names[i]);
        }
        if (names[i] == "link" || names[i] == "sub") continue;
        if (level == 1) {
          EXPECT_EQ(d.content.size(), known.size());
          EXPECT_NE(d.content, known);
        } else {
          EXPECT_EQ(d.content, "");
        }
      }
    };
  };
  const std::vector<Case> cases = {
      {"trash", {true, false, false}, 1, "ファイル削除（ごみ箱使用）", in_trash},
      {"trash, overwriting asked alone", {true, false, true}, 3, "ファイル削除（ごみ箱使用）", in_trash},
      {"permanent", {true, true, false}, 1, "ファイル削除（ごみ箱不使用）", permanent},
      {"level 1", {true, true, true}, 1, "ファイル削除（復元不可削除［レベル1］）", wiped(1)},
      {"level 2", {true, true, true}, 2, "ファイル削除（復元不可削除［レベル2］）", wiped(2)},
      {"level 3", {true, true, true}, 3, "ファイル削除（復元不可削除［レベル3］）", wiped(3)},
  };
  std::size_t runs = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ++runs;
    MakeTree(std::string("tree ") + c.what);
    session.job.settings.sw_del = c.sw_del;
    session.job.settings.del_01 = static_cast<std::int16_t>(c.level);
    ui.preview_choice = PreviewChoice::kRun;
    std::vector<std::string> columns;
    ui.on_preview = [&](std::vector<PreviewRecord>& records) {
      for (const PreviewRecord& r : records) columns.push_back(U(r.column(PreviewColumn::kDeletion)));
      ASSERT_EQ(records.size(), 5u);
      EXPECT_EQ(U(ui.shown_targets[3]), U(E(root + "/sub/inner.txt")));
      records[3].state = static_cast<std::int16_t>(-records[3].state);
    };
    const ConversionResult result = StartConversion(session, RunMode::kPreview, false);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(columns, std::vector<std::string>(5, c.column));
    EXPECT_EQ(result.counters.full_success, 4);
    EXPECT_EQ(result.counters.full_failure, 0);
    EXPECT_EQ(testing::HostNames(root), std::vector<std::string>{});
    EXPECT_EQ(ReadFile(outside / "kept.txt"), "outside");
    c.check(*this);
    // Never undone: no undo record, and the log's run is one that cannot be undone.
    EXPECT_TRUE(session.undo.empty());
    EXPECT_EQ(Count(Log(), "[○ファイル削除]  *対象<a.txt> → *ファイル削除"), runs);
  }
}

TEST_F(DeletionRunTest, AFailedTargetStaysAndTheOthersGo) {
  struct Case {
    const char* what;
    std::array<bool, 3> sw_del;
    FsOp op;
    int code;
  };
  const std::vector<Case> cases = {
      {"no trash on its file system", {true, false, false}, FsOp::kTrash, ENOTSUP},
      {"permanent deletion refused", {true, true, false}, FsOp::kDeleteTree, EACCES},
      // The file is not deleted when it could not be overwritten.
      {"overwrite fails", {true, true, true}, FsOp::kOverwrite, EIO},
  };
  std::size_t runs = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ++runs;
    MakeTree(std::string("tree ") + c.what);
    session.job.settings.sw_del = c.sw_del;
    session.job.settings.del_01 = 2;
    fs.ClearFaults();
    fs.FailOn(c.op, "ro.txt", c.code);
    ui.preview_choice = PreviewChoice::kRun;
    ui.on_preview = nullptr;
    const ConversionResult result = StartConversion(session, RunMode::kPreview, false);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    EXPECT_EQ(result.counters.full_success, 4);  // the targets after it too
    EXPECT_EQ(result.counters.full_failure, 1);
    EXPECT_EQ(ReadFile(root + "/ro.txt"), kKnown);
    // Not even attempted after a failed overwrite or trash.
    if (c.op != FsOp::kDeleteTree) {
      for (const Seen& d : deleted) EXPECT_NE(d.path, "ro.txt");
    }
    EXPECT_EQ(testing::HostNames(root), std::vector<std::string>{"ro.txt"});
    EXPECT_EQ(Count(Log(), "[▲ファイル削除失敗]  *対象<ro.txt>"), runs);
  }
}

TEST_F(DeletionRunTest, ThePreviewFailsWhatTheRunFailsOnMountsAndFileSystemsWithoutATrash) {
  struct Case {
    const char* what;
    bool tmpfs;  // the tree is a fresh tmpfs (where no trash is made), else it holds a bind mount "sub/mnt"
    std::array<bool, 3> sw_del;
    std::vector<std::string> failing;  // the targets that fail, sorted: the others go
  };
  const std::vector<Case> cases = {
      {"trash, the tree on a tmpfs", true, {true, false, false}, {"a.txt", "sub", "sub/inner.txt"}},
      {"trash, a mount in the tree", false, {true, false, false}, {"sub", "sub/mnt", "sub/mnt/f.txt"}},
      {"permanent, a mount in the tree", false, {true, true, false}, {"sub", "sub/mnt", "sub/mnt/f.txt"}},
      {"overwritten first, a mount in the tree", false, {true, true, true}, {"sub", "sub/mnt", "sub/mnt/f.txt"}},
  };
  const std::string failed = "ファイル削除失敗";
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "tree" + std::to_string(n++);
    root = dir / name;
    MakeDir(name);
    std::optional<testing::TestMount> mount;
    if (c.tmpfs) {
      mount.emplace(testing::TestMount::Tmpfs(root));
    } else {
      MakeDir(name + ".elsewhere");
      MakeFile(name + ".elsewhere/f.txt", kKnown);
      MakeDir(name + "/sub");
      MakeDir(name + "/sub/mnt");
      mount.emplace(testing::TestMount::Bind(dir / (name + ".elsewhere"), root + "/sub/mnt"));
    }
    if (!mount->ok()) GTEST_SKIP() << mount->why();
    MakeFile(name + "/a.txt", kKnown);
    if (c.tmpfs) {
      MakeDir(name + "/sub");
      MakeFile(name + "/sub/inner.txt", kKnown);
    }
    session.job.app.dirfil[0] = E(root);
    session.job.settings.sw_del = c.sw_del;
    session.job.settings.del_01 = 1;

    // Preview: the targets whose deletion column tells the failure, and the failure word with it.
    std::vector<std::string> predicted;
    std::vector<std::string> all;
    ui.preview_choice = PreviewChoice::kRun;
    ui.on_preview = [&](std::vector<PreviewRecord>& records) {
      for (const PreviewRecord& r : records) {
        std::string target = U(ui.shown_targets[static_cast<std::size_t>(r.index)]).substr(U(E(root)).size() + 1);
        std::replace(target.begin(), target.end(), '\\', '/');
        all.push_back(target);
        if (U(r.column(PreviewColumn::kDeletion)) != failed) continue;
        EXPECT_NE(r.failure_word & kStepDeletion, 0u) << target;
        predicted.push_back(target);
      }
    };
    const ConversionResult result = StartConversion(session, RunMode::kPreview, false);
    ASSERT_EQ(result.outcome, ConversionOutcome::kRunFinished);
    std::sort(predicted.begin(), predicted.end());
    EXPECT_EQ(predicted, c.failing);
    // The run fails exactly those, and they stay where they are.
    EXPECT_EQ(result.counters.full_failure, static_cast<int>(c.failing.size()));
    EXPECT_EQ(result.counters.full_success, static_cast<int>(all.size() - c.failing.size()));
    for (const std::string& target : all) {
      const bool fails = std::find(c.failing.begin(), c.failing.end(), target) != c.failing.end();
      EXPECT_EQ(Exists(root + "/" + target), fails) << target;
    }
    if (!c.tmpfs) {
      EXPECT_EQ(ReadFile(root + "/sub/mnt/f.txt"), kKnown);
    }
  }
}

}  // namespace
}  // namespace morva
