// The ID3 step of the walk: which tags an MP3 target gets, its items taken from its names, and in run
// mode the writing of the tags.

#include <cctype>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/media_probe.h"
#include "engine/target_steps.h"
#include "media/id3_reader.h"
#include "media/id3_writer.h"
#include "platform/cp932.h"
#include "platform/path_utils.h"

namespace morva {
namespace {

// The sources of SW_ID3.
enum Source { kNone = 0, kName = 1, kElement1 = 2, kElement4 = 5, kParent = 6, kParent3 = 8, kVolume = 9, kDirect = 10 };

// Element `n` (1 to 4) of `base` split at `separator` at character boundaries; the fourth runs to the
// end. Empty when the name has fewer elements.
std::string NameElement(std::string_view base, std::string_view separator, int n) {
  std::size_t begin = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t at = cp932::Find(base, separator, begin);
    if (at == std::string_view::npos) return {};
    begin = at + separator.size();
  }
  if (n == 4) return std::string(base.substr(begin));
  const std::size_t end = cp932::Find(base, separator, begin);
  return std::string(base.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
}

// The names of the folders of `directory` below its root ("Z:\" or "\\server\share"), innermost first.
std::vector<std::string> FolderNames(std::string_view directory) {
  std::size_t root = 0;
  if (directory.size() >= 2 && directory[1] == ':') {
    root = 3;
  } else if (directory.substr(0, 2) == "\\\\") {
    // The share is the root: past the server's name and the share's.
    const std::size_t server_end = FindFirstChar(directory.substr(2), '\\');
    const std::size_t share_end = server_end == std::string_view::npos
                                      ? std::string_view::npos
                                      : FindFirstChar(directory.substr(3 + server_end), '\\');
    root = share_end == std::string_view::npos ? directory.size() : 3 + server_end + share_end + 1;
  }
  std::vector<std::string> names;
  std::string_view rest = root < directory.size() ? directory.substr(root) : std::string_view();
  while (!rest.empty()) {
    const std::size_t slash = FindLastChar(rest, '\\');
    names.emplace_back(rest.substr(slash == std::string_view::npos ? 0 : slash + 1));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(0, slash);
  }
  return names;
}

// The text item `item` takes from its source; empty when the source has none.
std::string ItemValue(const Walk& walk, int item) {
  const ConversionSettings& s = walk.job.settings;
  const TargetContext& target = walk.run.target;
  const int source = s.sw_id3[static_cast<std::size_t>(item)];
  if (source == kName) return target.base;
  if (source >= kElement1 && source <= kElement4) return NameElement(target.base, s.id3_spr.view(), source - kName);
  if (source >= kParent && source <= kParent3) {
    const std::vector<std::string> folders = FolderNames(target.directory);
    const std::size_t level = static_cast<std::size_t>(source - kParent);
    return level < folders.size() ? folders[level] : std::string();
  }
  if (source == kVolume) return target.volume_label;
  if (source == kDirect) return s.id3_str[static_cast<std::size_t>(item)].value_or(std::string());
  return {};
}

bool HasMp3Name(std::string_view path) {
  constexpr std::string_view kSuffix = ".mp3";
  if (path.size() < kSuffix.size()) return false;
  for (std::size_t i = 0; i < kSuffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(path[path.size() - kSuffix.size() + i])) != kSuffix[i]) return false;
  }
  return true;
}

// The genre as the preview names it: "Rock" for 17, (17) or (17)Rock; a name outside the table as given.
std::string GenreShown(const std::string& genre) {
  std::string canonical;
  const int number = NormalizeGenre(genre, &canonical);
  const std::string_view name = GenreName(number);
  const std::string table_form = "(" + std::to_string(number) + ")" + std::string(name);
  return canonical == table_form ? std::string(name) : canonical;
}

}  // namespace

void RunId3Step(const Walk& walk, TargetWork* work, std::unique_ptr<Id3PendingWrite>* pending) {
  const ConversionSettings& s = walk.job.settings;
  const AppSettings& app = walk.job.app;
  const std::string& path = work->current_path;
  {
    std::unique_ptr<ReadableFile> file;
    if (!walk.host.fs.OpenRead(path, &file).ok()) {
      work->id3_mode = kId3CannotOpen;
      work->failure |= kStepId3;
      return;
    }
  }
  // A write of this file killed before it ended may have left it half written, its former contents in
  // the safety copy beside it: the run gives them back and writes nothing this time (a later run finds
  // the file whole); a copy that cannot be put back keeps the file from being written at all. The
  // preview says so without touching either.
  if (const int leftover = RecoverInterruptedWrite(walk.host.fs, path, walk.run.mode == RunMode::kRun);
      leftover != 0) {
    work->failure |= kStepId3;
    work->id3_write_result = leftover;
    return;
  }
  Id3Presence presence;
  if (!HasId3Tag(walk.id3, app, path, &presence)) presence = Id3Presence{};
  // A tag is only ever added to a file named as an MP3 file: prepended to a picture or a document, it
  // would break the file for every program that reads it.
  const bool may_add = HasMp3Name(path);
  int mode = 0;
  if (presence.v1) {
    if (s.id3_cts & kId3ChangeV1) mode |= kId3ChangeV1;
  } else if ((s.id3_cts & kId3AddV1) && may_add) {
    mode |= kId3AddV1;
  }
  if (presence.v2) {
    if (s.id3_cts & kId3ChangeV2) mode |= kId3ChangeV2;
  } else if ((s.id3_cts & kId3AddV2) && may_add) {
    mode |= kId3AddV2;
  }
  work->id3_mode = mode;

  for (int item = 0; item < 7; ++item) {
    if (s.sw_id3[static_cast<std::size_t>(item)] <= kNone) continue;
    std::string value = ItemValue(walk, item);
    if (value.empty()) {
      work->failure |= kStepId3;
    } else {
      work->id3_items[static_cast<std::size_t>(item)] = std::move(value);
    }
  }
  // An item without text leaves the whole file alone.
  if ((work->failure & kStepId3) || mode == 0) return;
  if (walk.run.mode == RunMode::kPreview) {
    std::optional<std::string>& genre = work->id3_items[kWriteGenre];
    if (genre) genre = GenreShown(*genre);
    return;
  }
  Id3WriteOptions options;
  options.new_tag_padding = static_cast<std::uint32_t>(app.opt_3 < 0 ? 0 : app.opt_3);
  options.never_use_padding = app.sw_opt[AppSettings::kOptNoPadding];
  options.cp932_text = s.id3_enc;
  const int result = WriteId3(walk.host.fs, walk.host.codec, path, mode, work->id3_items, options, pending);
  if (result < 0) {
    work->failure |= kStepId3;
    work->id3_write_result = result;
  } else {
    work->change |= kStepId3;
  }
}

}  // namespace morva
