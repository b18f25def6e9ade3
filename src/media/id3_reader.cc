// The ID3 reader's per-file state: which tags the last file carried and the values they held.

#include "media/id3_reader.h"

#include <cctype>
#include <memory>
#include <string>
#include <string_view>

#include "media/head_cached_file.h"
#include "platform/file_system.h"

namespace morva {
namespace {

bool EndsWithMp3(std::string_view path) {
  constexpr std::string_view kSuffix = ".mp3";
  if (path.size() < kSuffix.size()) return false;
  const std::string_view tail = path.substr(path.size() - kSuffix.size());
  for (std::size_t i = 0; i < kSuffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != kSuffix[i]) return false;
  }
  return true;
}

const std::string* V1Item(const Id3v1Fields& f, int item) {
  switch (item) {
    case kId3Title: return &f.title;
    case kId3Artist: return &f.artist;
    case kId3Album: return &f.album;
    case kId3Year: return &f.year;
    case kId3Comment: return &f.comment;
    case kId3Track: return &f.track;
    default: return nullptr;
  }
}

const std::optional<std::string>* V2Item(const Id3v2Fields& f, int item) {
  switch (item) {
    case kId3Title: return &f.title;
    case kId3Artist: return &f.artist;
    case kId3Album: return &f.album;
    case kId3Year: return &f.year;
    case kId3Comment: return &f.comment;
    case kId3Track: return &f.track;
    default: return nullptr;
  }
}

}  // namespace

int Id3Reader::Read(std::string_view path, const Id3ReadOptions& options, bool probe_only) {
  version_string_ = "000";
  // A path of four bytes or fewer cannot be told by its suffix and is left to the file's contents.
  if (!options.skip_extension_test && path.size() > 4 && !EndsWithMp3(path)) return 0;
  std::unique_ptr<ReadableFile> opened;
  if (!fs_.OpenRead(path, &opened).ok()) return 0;
  HeadCachedFile file(*opened);
  file.Load();

  bool has_v1 = false;
  int v2_version = 0;
  if (probe_only) {
    has_v1 = ReadId3v1(file, codec_, options.v1_is_unicode, nullptr);
    v2_version = ReadId3v2(file, codec_, options.first_comment_wins, nullptr, nullptr);
    loaded_path_.clear();
  } else {
    has_v1 = ReadId3v1(file, codec_, options.v1_is_unicode, &v1_);
    if (!has_v1) v1_ = Id3v1Fields{};
    v2_ = Id3v2Fields{};
    v2_version = ReadId3v2(file, codec_, options.first_comment_wins, &v2_, nullptr);
    has_v1_ = has_v1;
    loaded_path_ = std::string(path);
  }
  version_string_[0] = has_v1 ? '1' : '0';
  if (v2_version != 0) {
    version_string_[1] = '2';
    version_string_[2] = static_cast<char>('0' + v2_version);
  }
  return (has_v1 ? 1 : 0) | (v2_version != 0 ? 2 : 0);
}

int Id3Reader::GetItem(int allowed, int item, bool v1_first, std::string* out) const {
  const int order[2] = {v1_first ? 1 : 2, v1_first ? 2 : 1};
  for (int version : order) {
    if ((allowed & version) == 0) continue;
    if (version == 1) {
      const std::string* value = V1Item(v1_, item);
      // A field of blanks or zeros is how ID3v1 says "not set".
      if (!has_v1_ || value == nullptr || value->empty() || (*value)[0] == ' ') continue;
      *out = *value;
      return 1;
    }
    const std::optional<std::string>* value = V2Item(v2_, item);
    if (value == nullptr || !value->has_value()) continue;
    *out = **value;
    return 2;
  }
  return 0;
}

}  // namespace morva
