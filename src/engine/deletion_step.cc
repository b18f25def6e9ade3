// The deletion step of a run: into the trash, or permanently, with the contents overwritten first when
// the job asks for it.
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "engine/target_steps.h"
#include "platform/path_utils.h"
#include "platform/random_stream.h"

namespace morva {
namespace {

// Names drawn before the file is deleted under its own name: a directory holding every name of a short
// length (62 of one character) must not keep the run drawing for ever.
constexpr int kNameDraws = 100;

// `length` characters, each with equal chance an upper-case letter, a lower-case letter or a digit, and
// uniform within its class.
std::string RandomName(std::size_t length, RandomStream& random) {
  static constexpr std::string_view kClasses[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz",
                                                  "0123456789"};
  std::string name(length, '0');
  for (char& c : name) {
    const std::string_view chars = kClasses[random.Below(3)];
    c = chars[random.Below(static_cast<std::uint32_t>(chars.size()))];
  }
  return name;
}

// Gives the file at `path` a random name of the same byte length, so that its directory does not keep
// its name either; returns the path to delete: the new one, or the old one when no name could be given.
std::string HideName(FileSystem& fs, const std::string& path) {
  const std::size_t slash = FindLastChar(path, '\\');
  RandomStream random;
  if (slash == std::string::npos || !random.ok()) return path;
  const std::size_t length = path.size() - slash - 1;
  for (int draw = 0; draw < kNameDraws; ++draw) {
    const std::string candidate = path.substr(0, slash + 1) + RandomName(length, random);
    const Status s = fs.Move(path, candidate);
    if (s.ok()) return candidate;
    if (s.code() != EEXIST) break;  // taken: draw again; anything else will not change with another name
  }
  return path;
}

// Overwrites an entry that is no directory, hides its name at level 3 and deletes it. A symbolic link
// has no contents of its own: what it points at is never overwritten, so it is renamed and deleted only.
// A failed overwrite keeps the file.
Status WipeAndDelete(FileSystem& fs, const std::string& path, bool link, int level) {
  if (!link) {
    if (Status s = fs.Overwrite(path, level); !s.ok()) return s;
  }
  return fs.DeleteTree(level == 3 ? HideName(fs, path) : path);
}

bool IsRealDirectory(std::uint32_t attributes) {
  return (attributes & kAttrDirectory) != 0 && (attributes & kAttrReparsePoint) == 0;
}

// A directory is never overwritten, but what is left in it is: the files the run did not reach as
// targets of their own (another pattern, a filter, an exclusion in the preview, a failed overwrite) are
// overwritten and deleted as file targets are, its subdirectories likewise, and then the directory goes.
// Any failure keeps the directory with what failed in it, so nothing leaves it without its overwrite.
Status WipeDirectory(FileSystem& fs, const std::string& dir, int level) {
  std::vector<FindData> entries;
  if (Status s = fs.FindFiles(dir, "*.*", &entries, nullptr); !s.ok()) return s;
  Status first;
  for (const FindData& entry : entries) {
    const std::string path = JoinPath(dir, entry.name);
    Status s = IsRealDirectory(entry.attributes)
                   ? WipeDirectory(fs, path, level)
                   : WipeAndDelete(fs, path, (entry.attributes & kAttrReparsePoint) != 0, level);
    if (!s.ok() && first.ok()) first = std::move(s);
  }
  if (!first.ok()) return first;
  return fs.DeleteTree(dir);
}

}  // namespace

void RunDeletionStep(const Walk& walk, TargetWork* work) {
  // A target out of reach (a path too long, a copy that failed) has nothing to delete, and its failure
  // is told already.
  if (work->current_path.empty() || (work->failure & (kStepDeletion | kFailPathTooLong)) != 0) return;
  const ConversionSettings& s = walk.job.settings;
  FileSystem& fs = walk.host.fs;
  const std::string& path = work->current_path;
  const std::uint32_t attributes = walk.run.target.find_data.attributes;

  // The program's directory, its files and the directories holding them are passed over at the
  // enumeration; asked once more just before the deletion, which nothing undoes, an entry that has
  // become one of them since fails.
  FindData now;
  if (fs.Stat(path, &now).ok() && walk.run.program_files.Protects(now.identity)) {
    work->failure |= kStepDeletion;
    return;
  }

  Status result;
  if (walk.run.mode == RunMode::kPreview) {
    // What the run would meet before deleting anything: no trash on the target's file system, a target
    // on a file system mounted inside the tree. The preview tells it as the run's failure.
    if (!fs.ProbeDeletion(path, !s.sw_del[1]).ok()) work->failure |= kStepDeletion;
    return;
  }
  if (!s.sw_del[1]) {
    // Into the trash, also when overwriting is asked: what can be restored is not overwritten.
    result = fs.Trash(path);
  } else if (!s.sw_del[2]) {
    result = fs.DeleteTree(path);
  } else if (IsRealDirectory(attributes)) {
    result = WipeDirectory(fs, path, s.del_01);
  } else {
    result = WipeAndDelete(fs, path, (attributes & kAttrReparsePoint) != 0, s.del_01);
  }
  // Nothing to undo: a deletion keeps no undo record, and the log marks its run as not undoable.
  if (result.ok()) {
    work->change |= kStepDeletion;
  } else {
    work->failure |= kStepDeletion;
  }
}

}  // namespace morva
