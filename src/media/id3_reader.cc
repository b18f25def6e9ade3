// The ID3 reader's per-file state: which tags the last file carried and the values they held.

#include "media/id3_reader.h"

#include <cctype>
#include <memory>
#include <string>
#include <string_view>

#include "media/container_tags.h"
#include "media/head_cached_file.h"
#include "platform/file_system.h"

namespace morva {
namespace {

bool EndsWith(std::string_view path, std::string_view suffix) {
  if (path.size() < suffix.size()) return false;
  const std::string_view tail = path.substr(path.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
  }
  return true;
}

bool HasContainerTagExtension(std::string_view path) {
  for (std::string_view suffix : Id3Reader::kContainerTagExtensions) {
    if (EndsWith(path, suffix)) return true;
  }
  return false;
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
  const bool read_id3 = options.skip_extension_test || path.size() <= 4 || EndsWith(path, ".mp3");
  const bool read_container = options.skip_extension_test || HasContainerTagExtension(path);
  if (!read_id3 && !read_container) return 0;
  std::unique_ptr<ReadableFile> opened;
  if (!fs_.OpenRead(path, &opened).ok()) return 0;
  HeadCachedFile file(*opened);
  file.Load();

  bool has_v1 = false;
  int v2_version = 0;
  TagFormat container = TagFormat::kNone;
  if (probe_only) {
    if (read_id3) {
      has_v1 = ReadId3v1(file, codec_, options.v1_is_unicode, nullptr);
      v2_version = ReadId3v2(file, codec_, options.first_comment_wins, nullptr, nullptr);
    }
    if (read_container) container = ReadContainerTags(file, codec_, nullptr);
    loaded_path_.clear();
  } else {
    if (read_id3) has_v1 = ReadId3v1(file, codec_, options.v1_is_unicode, &v1_);
    if (!has_v1) v1_ = Id3v1Fields{};
    v2_ = Id3v2Fields{};
    if (read_id3) v2_version = ReadId3v2(file, codec_, options.first_comment_wins, &v2_, nullptr);
    container_tags_ = Id3v2Fields{};
    if (read_container) container = ReadContainerTags(file, codec_, &container_tags_);
    has_v1_ = has_v1;
    loaded_path_ = std::string(path);
  }
  container_format_ = container;
  version_string_[0] = has_v1 ? '1' : '0';
  if (v2_version != 0) {
    version_string_[1] = '2';
    version_string_[2] = static_cast<char>('0' + v2_version);
  }
  return (has_v1 ? 1 : 0) | (v2_version != 0 ? 2 : 0) | (container != TagFormat::kNone ? kContainerTags : 0);
}

int Id3Reader::GetItem(int allowed, int item, bool v1_first, std::string* out) const {
  const int order[3] = {v1_first ? 1 : 2, v1_first ? 2 : 1, kContainerTags};
  for (int version : order) {
    if ((allowed & version) == 0) continue;
    if (version == 1) {
      const std::string* value = V1Item(v1_, item);
      // A field of blanks or zeros is how ID3v1 says "not set".
      if (!has_v1_ || value == nullptr || value->empty() || (*value)[0] == ' ') continue;
      *out = *value;
      return 1;
    }
    const std::optional<std::string>* value = V2Item(version == 2 ? v2_ : container_tags_, item);
    if (value == nullptr || !value->has_value()) continue;
    *out = **value;
    return version;
  }
  return 0;
}

}  // namespace morva
