// Job validation of the targets of directory mode and of file-list mode.

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/path_utils.h"
#include "core/user_interface.h"
#include "engine/validation_checks.h"
#include "platform/cp932.h"
#include "platform/file_system.h"

namespace morva::validation_internal {
namespace {

bool HasWildcard(std::string_view text) {
  return FindFirstChar(text, '*') != std::string_view::npos || FindFirstChar(text, '?') != std::string_view::npos;
}

// The path without trailing '\' and spaces, never shorter than 3 bytes ("Z:\" stays). A '\' that is the
// second byte of a double-byte character belongs to that character and stays with it.
std::string TrimTarget(std::string_view path) {
  std::string out(path);
  while (out.size() > 3) {
    const char last = out.back();
    if (last == ' ' || (last == '\\' && !cp932::IsTrailAt(out, out.size() - 1))) {
      out.pop_back();
    } else {
      break;
    }
  }
  return out;
}

// Enumeration takes a wildcard in the last component of the path as a pattern over the entries of the
// directory before it. Such a path is well formed when it would be with the wildcards replaced by an
// ordinary character, and usable when that directory exists; a wildcard anywhere else stays invalid.
std::string WithoutLastWildcards(std::string_view path) {
  std::string out(path);
  const std::size_t last_sep = FindLastChar(out, '\\');
  const std::size_t from = last_sep == std::string::npos ? 0 : last_sep + 1;
  for (std::size_t i = from; i < out.size(); i += cp932::CharLengthAt(out, i)) {
    if (out[i] == '*' || out[i] == '?') out[i] = '_';
  }
  return out;
}

// The path whose attributes decide whether the target exists: the path itself, or for a pattern the
// directory it lists.
std::string ExistencePath(const std::string& path) {
  if (!HasWildcard(path)) return path;
  std::string dir, name;
  if (!SplitPath(path, &dir, &name)) return path;
  return dir;
}

}  // namespace

bool CheckDirectoryTargets(ValidationContext& ctx) {
  AppSettings& app = ctx.job.app;
  // Every check sees the path as enumeration will use it: without trailing blanks, which would make the
  // host look for another name, and normalised, since with "." or ".." in it a target's last component
  // is not the entry's name (the directory itself would be the target ".."), and one directory of two
  // spellings would be two directories to the preview's name checks.
  const std::string given(ctx.target_path());
  const std::string path = NormalizePath(TrimTarget(given));
  const bool wildcard = HasWildcard(path);

  if (path.empty()) return RefuseUtf8(ctx, kPageTargets, "DIRFIL", "対象ディレクトリが指定されていません。");
  if (ClassifyPath(ctx.host.fs, wildcard ? WithoutLastWildcards(path) : path) == kPathInvalid) {
    return RefuseUtf8(ctx, kPageTargets, "DIRFIL", "対象ディレクトリの指定が不正です。");
  }
  if (wildcard && (app.sw_set[AppSettings::kSetRecurse] || app.sw_set[AppSettings::kSetDirectories])) {
    return RefuseUtf8(ctx, kPageTargets,
                      FlagKey("SW_SET", app.sw_set[AppSettings::kSetRecurse] ? AppSettings::kSetRecurse
                                                                             : AppSettings::kSetDirectories),
                      "対象ディレクトリにワイルドカードを使用して「ディレクトリも対象」または"
                      "「サブディレクトリ内も対象にする」指定はできません。");
  }
  FindData data;
  const std::string existence = ExistencePath(path);
  if (!ctx.host.fs.Stat(existence, &data).ok() || (existence != path && !(data.attributes & kAttrDirectory))) {
    return RefuseUtf8(ctx, kPageTargets, "DIRFIL", "指定された変換対象は存在しません。");
  }
  const bool is_file = !wildcard && !(data.attributes & kAttrDirectory);
  if (app.sw_set[AppSettings::kSetWildcard]) {
    if (app.set_11.empty()) {
      return RefuseUtf8(ctx, kPageTargets, "SET_11", "対象ファイルワイルドカード指定の文字列が指定されていません。");
    }
    if (wildcard && HasWildcard(app.set_11.view())) {
      return RefuseUtf8(
          ctx, kPageTargets, "SET_11",
          "対象ディレクトリと対象ファイルワイルドカードの両方にワイルドカードを使用することはできません。");
    }
    if (is_file) {
      return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetWildcard),
                        "変換対象としてファイルを指定する場合、対象ファイルワイルドカード指定はできません。");
    }
  }

  if (path != given) {
    app.ReplaceNewestTargetPath(path);
    ctx.verdict.target_path_changed = true;
  }

  if (ctx.run.copy_conversion && app.sw_set[AppSettings::kSetRecurse] &&
      (ctx.jobs.name || ctx.jobs.times || ctx.jobs.deletion)) {
    return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetRecurse),
                      "コピー変換の場合、「サブディレクトリ内も対象にする」指定で以下を実行することはできません。"
                      "\n\n・名称変換\n・日時変換\n・ファイル削除");
  }
  if (ctx.run.copy_conversion && app.sw_set[AppSettings::kSetDirectories]) {
    return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetDirectories),
                      "コピー変換の場合、「ディレクトリも対象」指定はできません。");
  }
  if (path.size() <= 3 && app.sw_set[AppSettings::kSetItself]) {
    return RefuseUtf8(ctx, kPageTargets, FlagKey("SW_SET", AppSettings::kSetItself),
                      "ルートディレクトリ指定で「指定ディレクトリ自身も対象」指定はできません。");
  }
  return true;
}

bool CheckFileList(ValidationContext& ctx) {
  const std::vector<std::string>& items = ctx.job.app.list_items;
  if (items.empty()) return RefuseUtf8(ctx, kPageTargets, kListKey, "変換対象ファイルが指定されていません。");

  // Each item as enumeration will use it, and how many times each is still to come, so that "a later
  // item is the same" costs one lookup instead of a comparison with every later item. Items are the
  // same when they name the same entry: spelt alike once normalised, letter case included, since on a
  // case-sensitive host "a.txt" and "A.txt" are two files. Messages name the item as it is listed.
  std::unordered_map<std::string, int> remaining;
  std::vector<std::string> paths;
  paths.reserve(items.size());
  for (const std::string& item : items) {
    paths.push_back(NormalizePath(item));
    ++remaining[paths.back()];
  }

  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string& item = items[i];
    if (paths[i].size() <= 3) {
      return RefuseUtf8(ctx, kPageTargets, kListKey,
                        "変換対象ファイルにルートディレクトリを指定することはできません。");
    }
    FindData data;
    if (!ctx.host.fs.Stat(paths[i], &data).ok()) {
      return Refuse(ctx, kPageTargets, kListKey,
                    Cp932(ctx.host, "変換対象ファイルに存在しないパスが指定されています。\n（") + item +
                        Cp932(ctx.host, "）"));
    }
    if (data.attributes & kAttrDirectory) {
      ctx.kinds.directories = true;
    } else {
      ctx.kinds.files = true;
    }
    if (ctx.run.copy_conversion && ctx.kinds.directories) {
      return RefuseUtf8(ctx, kPageTargets, kListKey,
                        "コピー変換の場合、変換対象ファイルにディレクトリを指定することはできません。");
    }
    if (--remaining[paths[i]] > 0) {
      return Refuse(ctx, kPageTargets, kListKey,
                    Cp932(ctx.host, "変換対象ファイルに同一のパスが複数指定されています。\n（") + item +
                        Cp932(ctx.host, "）"));
    }
  }
  return true;
}

}  // namespace morva::validation_internal
