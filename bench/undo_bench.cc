// A run of a general-rule job (upper case, base name only) over one directory of many files, beside
// the undo of that run from the log: the log is scanned, the run's target lines read back and every
// rename undone. Run with --file_count=N to change the directory size (100000 by default). Each timed
// run starts from the lower-case names, each timed undo from the upper-case names and a log holding
// just that run; the preparation is not timed.
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/conversion_run.h"
#include "engine/session.h"
#include "engine/user_interface.h"
#include "log/undo_from_log.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace {

// A user interface that answers Yes, never cancels and leaves the preview without a run.
class QuietUi : public morva::UserInterface {
 public:
  void ShowWarning(std::string_view) override {}
  void ShowInformation(std::string_view) override {}
  void ShowError(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return true; }
  void OpenExtractionDialog() override {}
  void CloseExtractionDialog() override {}
  void OpenProgressDialog(std::string_view, int) override {}
  void UpdateProgress(const morva::ProgressState&) override {}
  void CloseProgressDialog() override {}
  bool PollCancel() override { return false; }
  void ClearCancel() override {}
  morva::PreviewChoice ShowPreview(std::vector<morva::PreviewRecord>&, std::string*) override {
    return morva::PreviewChoice::kCancel;
  }
  bool AskOutputDirectory(std::string*) override { return false; }
  void FocusSetting(int, std::string_view) override {}
  std::vector<std::string> ListItems() override { return {}; }
  void SetTargetPath(std::string_view) override {}
  void ClearDirectoryTargets() override {}
  void RefreshTargetList() override {}
};

// A directory of empty files "file%07d.txt" under /tmp, removed when the program ends.
class FileTree {
 public:
  explicit FileTree(int count) {
    char templ[] = "/tmp/morva-run-bench-XXXXXX";
    if (mkdtemp(templ) == nullptr) return;
    path_ = templ;
    fd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof(name), "file%07d.txt", i);
      lower_.emplace_back(name);
      std::memcpy(name, "FILE", 4);
      upper_.emplace_back(name);
      const int fd = openat(fd_, lower_.back().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (fd >= 0) close(fd);
    }
  }
  FileTree(const FileTree&) = delete;
  FileTree& operator=(const FileTree&) = delete;
  ~FileTree() {
    if (path_.empty()) return;
    for (std::size_t i = 0; i < lower_.size(); ++i) {
      unlinkat(fd_, lower_[i].c_str(), 0);
      unlinkat(fd_, upper_[i].c_str(), 0);
    }
    close(fd_);
    rmdir(path_.c_str());
  }

  // Renames every name from one form to the other; false at the first failure.
  bool RenameAll(bool to_upper) const {
    const std::vector<std::string>& from = to_upper ? lower_ : upper_;
    const std::vector<std::string>& to = to_upper ? upper_ : lower_;
    for (std::size_t i = 0; i < from.size(); ++i) {
      if (renameat2(fd_, from[i].c_str(), fd_, to[i].c_str(), RENAME_NOREPLACE) != 0) return false;
    }
    return true;
  }

  // Puts the lower-case names back, whichever form each has now.
  void Reset() const {
    for (std::size_t i = 0; i < lower_.size(); ++i) renameat2(fd_, upper_[i].c_str(), fd_, lower_[i].c_str(), RENAME_NOREPLACE);
  }

  const std::string& path() const { return path_; }
  std::size_t size() const { return lower_.size(); }

 private:
  std::string path_;
  int fd_ = -1;
  std::vector<std::string> lower_, upper_;
};

// An engine session whose job upper-cases the base names of the files of `dir`, logging to `home`.
struct Engine {
  Engine(const std::string& dir, const std::string& home) {
    session.settings.sw_fnm = 1;
    session.settings.fnm_ipn_sel = 1;
    session.settings.fnm_ipn2 = 1;
    std::string engine_dir;
    if (fs->FromHostPath(dir, &engine_dir).ok()) session.app.dirfil[0] = engine_dir;
    session.app.set_0 = 1;
    session.app.opt_1 = 1;
    if (fs->FromHostPath(home, &session.program_directory).ok()) log_path = home + "/mvlogs.txt";
  }
  std::string log_path;
  std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  std::unique_ptr<morva::FileSystem> fs = morva::NewPosixFileSystem(codec.get());
  QuietUi ui;
  morva::Session session{*codec, *fs, ui};
};

void BM_Run(benchmark::State& state, const FileTree* tree, const std::string& home) {
  Engine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    unlink(engine.log_path.c_str());
    engine.session.selection.clear();
    state.ResumeTiming();
    morva::StartConversion(engine.session, morva::RunMode::kRun, false);
    if (engine.session.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the run did not rename every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

void BM_UndoFromLog(benchmark::State& state, const FileTree* tree, const std::string& home) {
  Engine engine(tree->path(), home);
  for (auto _ : state) {
    state.PauseTiming();
    tree->Reset();
    unlink(engine.log_path.c_str());
    engine.session.selection.clear();
    morva::StartConversion(engine.session, morva::RunMode::kRun, false);
    engine.session.undo.Clear();  // only the log remembers the run
    state.ResumeTiming();
    bool ok = false;
    const morva::LogUndoOutcome outcome =
        morva::UndoFromLog(engine.session, engine.session.program_directory + "\\mvlogs.txt", "", &ok);
    if (outcome != morva::LogUndoOutcome::kUndone || !ok ||
        engine.session.counters.full_success != static_cast<int>(tree->size())) {
      state.SkipWithError("the undo did not restore every target");
      break;
    }
  }
  state.counters["targets"] = static_cast<double>(tree->size());
}

}  // namespace

int main(int argc, char** argv) {
  int file_count = 100000;
  // Our own flag first, so Google Benchmark does not see it.
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file_count=", 13) == 0) {
      file_count = std::atoi(argv[i] + 13);
    } else {
      args.push_back(argv[i]);
    }
  }
  int args_count = static_cast<int>(args.size());
  benchmark::Initialize(&args_count, args.data());

  char home_template[] = "/tmp/morva-undo-bench-home-XXXXXX";
  if (mkdtemp(home_template) == nullptr) {
    std::fprintf(stderr, "cannot create the program directory\n");
    return 1;
  }
  const std::string home = home_template;
  {
    FileTree tree(file_count);
    if (tree.path().empty()) {
      std::fprintf(stderr, "cannot create the test directory\n");
      return 1;
    }
    const FileTree* t = &tree;
    // Run and undo alternate so that both meet the directory's index in the same state.
    for (int round = 0; round < 2; ++round) {
      benchmark::RegisterBenchmark("BM_Run", [t, home](benchmark::State& s) { BM_Run(s, t, home); })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(3)
          ->UseRealTime();
      benchmark::RegisterBenchmark("BM_UndoFromLog", [t, home](benchmark::State& s) { BM_UndoFromLog(s, t, home); })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(3)
          ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  unlink((home + "/mvlogs.txt").c_str());
  rmdir(home.c_str());
  return 0;
}
