// The ID3 tag writer: what changes in a file, and the change itself under the cover of a safety copy.

#include "media/id3_writer.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "media/head_cached_file.h"
#include "media/id3_reader.h"
#include "media/id3_write_parts.h"
#include "platform/file_system.h"

namespace morva {
namespace {

constexpr std::size_t kV1Size = 128;
// The safety copy's name is the path and up to five bytes more; the path must leave room for them.
constexpr std::size_t kMaxPathForCopy = 256;
constexpr int kCopyNames = 10;

// The n-th name a safety copy of `path` may take: "<path>.bak", then "<path>.bak1" to "<path>.bak9".
std::string CopyName(std::string_view path, int n) {
  std::string backup(path);
  backup += ".bak";
  if (n > 0) backup += std::to_string(n);
  return backup;
}
constexpr std::size_t kWriterHeadSize = 16384;

bool HasV1(ReadableFile& file) {
  if (file.size() < kV1Size) return false;
  std::string mark;
  return file.Read(file.size() - kV1Size, 3, &mark).ok() && mark == "TAG";
}

id3_write::ItemTexts TextsOf(const Id3Items& items) {
  id3_write::ItemTexts texts;
  texts.items = items;
  if (items[kWriteGenre]) {
    std::string canonical;
    texts.genre_number = NormalizeGenre(*items[kWriteGenre], &canonical);
    texts.items[kWriteGenre] = std::move(canonical);
  }
  return texts;
}

// The first and one past the last byte where `a` and `b` (of one length) differ; equal bounds when they
// do not.
void DifferingRange(std::string_view a, std::string_view b, std::size_t* first, std::size_t* last) {
  std::size_t begin = 0, end = a.size();
  while (begin < end && a[begin] == b[begin]) ++begin;
  while (end > begin && a[end - 1] == b[end - 1]) --end;
  *first = begin;
  *last = end;
}

// Writes `edit` into the file under `update`, whose former contents `original` reads. A tag that keeps
// its size is written in place, and only the bytes that differ: a song's audio is never rewritten for a
// new title. Otherwise the file is rewritten from the tag on, its former bytes coming from the safety
// copy.
Status Apply(const Id3Edit& edit, ReadableFile& original, FileUpdate& update) {
  std::uint64_t size = original.size();
  if (edit.head_changes) {
    if (edit.head.size() == edit.old_head_size) {
      std::string old;
      if (Status s = original.Read(0, edit.head.size(), &old); !s.ok()) return s;
      if (old.size() != edit.head.size()) return Status::Error(EIO, "the file changed size");
      std::size_t first = 0, last = 0;
      DifferingRange(old, edit.head, &first, &last);
      if (first < last) {
        if (Status s = update.Write(first, std::string_view(edit.head).substr(first, last - first)); !s.ok()) return s;
      }
    } else {
      if (Status s = update.Write(0, edit.head); !s.ok()) return s;
      if (Status s = update.CopyOriginal(edit.old_head_size, edit.head.size()); !s.ok()) return s;
      size = size - edit.old_head_size + edit.head.size();
    }
  }
  if (edit.v1.empty()) return Status::Ok();
  if (edit.v1_replaces) {
    // A block that stays as it was is not written: a second run of the same job touches nothing.
    std::string old;
    if (Status s = original.Read(original.size() - kV1Size, kV1Size, &old); !s.ok()) return s;
    if (old == edit.v1) return Status::Ok();
  }
  return update.Write(edit.v1_replaces ? size - kV1Size : size, edit.v1);
}

// Puts the read-only flag back where it was cleared.
Status KeepReadOnly(FileSystem& fs, std::string_view path, std::uint32_t attributes) {
  if (!(attributes & kAttrReadOnly)) return Status::Ok();
  return fs.SetAttributes(path, attributes & kAttrSettable);
}

// Gives the file its former contents back after a failure, and its read-only flag.
void Undo(FileSystem& fs, FileUpdate& update, std::string_view path, std::string_view backup,
          std::uint32_t attributes) {
  // The safety copy holds the only sure copy of the file now; it keeps the file's attributes.
  if (!update.Restore().ok()) KeepReadOnly(fs, backup, attributes).IgnoreError();
  // One more try for the flag whose setting may be what failed; the target fails either way.
  KeepReadOnly(fs, path, attributes).IgnoreError();
}

}  // namespace

Id3PendingWrite::Id3PendingWrite(FileSystem& fs, std::unique_ptr<FileUpdate> update, std::string_view path,
                                 std::string backup, std::uint32_t attributes)
    : fs_(fs), update_(std::move(update)), path_(path), backup_(std::move(backup)), attributes_(attributes) {}

Id3PendingWrite::~Id3PendingWrite() = default;

int Id3PendingWrite::Finish() {
  if (!update_->Commit().ok()) {
    Undo(fs_, *update_, path_, backup_, attributes_);
    return kId3OpenFailed;
  }
  // A copy that stays (it could not be removed) keeps the file's attributes; it is no failure.
  if (!update_->removed()) KeepReadOnly(fs_, backup_, attributes_).IgnoreError();
  return kId3Written;
}

std::vector<int> FinishId3Writes(const std::vector<Id3PendingWrite*>& writes) {
  std::vector<FileUpdate*> updates;
  updates.reserve(writes.size());
  for (Id3PendingWrite* write : writes) updates.push_back(&write->update());
  FlushUpdates(updates);
  std::vector<int> results;
  results.reserve(writes.size());
  for (Id3PendingWrite* write : writes) results.push_back(write->Finish());
  return results;
}

int PlanId3Edit(ReadableFile& file, TextCodec& codec, int kinds, const Id3Items& items,
                const Id3WriteOptions& options, Id3Edit* edit) {
  *edit = Id3Edit{};
  const id3_write::ItemTexts texts = TextsOf(items);
  const id3_write::FrameTextForm form{codec, options.cp932_text};
  if (kinds & (kId3ChangeV2 | kId3AddV2)) {
    Id3v2Frames probe;
    const bool has_v2 = ListId3v2Frames(file, &probe);
    // The kinds were chosen from a look at the file moments before: a tag that came or went since is not
    // the tag they were meant for.
    if (has_v2 != ((kinds & kId3ChangeV2) != 0)) return kId3TagUnreadable;
    edit->head_changes = true;
    if (has_v2) {
      const int result = id3_write::ChangeId3v2Tag(file, texts, form, options.never_use_padding, &edit->head,
                                                   &edit->old_head_size);
      if (result != kId3Written) return result;
    } else {
      const int result = id3_write::NewId3v2Tag(texts, form, options.new_tag_padding, &edit->head);
      if (result != kId3Written) return result;
      edit->old_head_size = 0;
    }
  }
  if (kinds & (kId3ChangeV1 | kId3AddV1)) {
    const bool has_v1 = HasV1(file);
    if (has_v1 != ((kinds & kId3ChangeV1) != 0)) return kId3OpenFailed;
    if (has_v1) {
      // A tag that claims the ID3v1 block's bytes as its own leaves no telling which of the two they are.
      if (edit->old_head_size > file.size() - kV1Size) return kId3TagUnreadable;
      if (!file.Read(file.size() - kV1Size, kV1Size, &edit->v1).ok() || edit->v1.size() != kV1Size) return kId3OpenFailed;
      id3_write::ChangeId3v1Block(texts, &edit->v1);
      edit->v1_replaces = true;
    } else {
      edit->v1 = id3_write::NewId3v1Block(texts);
    }
  }
  return kId3Written;
}

int RecoverInterruptedWrite(FileSystem& fs, std::string_view path, bool restore) {
  std::string ours;
  for (int n = 0; n < kCopyNames; ++n) {
    const std::string backup = CopyName(path, n);
    LeftoverCopy found = LeftoverCopy::kNone;
    if (!fs.CheckLeftoverCopy(path, backup, false, &found).ok()) return kId3OpenFailed;
    if (found == LeftoverCopy::kNone) continue;
    // A copy of a file that has been replaced since, or two copies (the second made of the file the
    // first write left half written): no telling which holds the file as it was.
    if (found == LeftoverCopy::kUncertain || !ours.empty()) return kId3LeftoverCopy;
    ours = backup;
  }
  if (ours.empty()) return 0;
  if (!restore) return kId3Restored;
  LeftoverCopy found = LeftoverCopy::kNone;
  if (!fs.CheckLeftoverCopy(path, ours, true, &found).ok() || found != LeftoverCopy::kOfThisFile) {
    return kId3LeftoverCopy;
  }
  return kId3Restored;
}

int WriteId3(FileSystem& fs, TextCodec& codec, std::string_view path, int kinds, const Id3Items& items,
             const Id3WriteOptions& options) {
  return WriteId3(fs, codec, path, kinds, items, options, nullptr);
}

int WriteId3(FileSystem& fs, TextCodec& codec, std::string_view path, int kinds, const Id3Items& items,
             const Id3WriteOptions& options, std::unique_ptr<Id3PendingWrite>* pending) {
  if ((kinds & (kId3ChangeV1 | kId3ChangeV2 | kId3AddV1 | kId3AddV2)) == 0) return kId3NothingRequested;
  if (path.size() >= kMaxPathForCopy) return kId3BackupFailed;
  FindData data;
  if (!fs.Stat(path, &data).ok()) return kId3OpenFailed;
  // A link is never written through: what it points at may lie outside the targets.
  if (data.attributes & kAttrReparsePoint) return kId3BackupFailed;
  const std::uint32_t attributes = data.attributes & kAttrSettable;
  if ((attributes & kAttrReadOnly) && !fs.SetAttributes(path, attributes & ~kAttrReadOnly).ok()) return kId3OpenFailed;

  std::unique_ptr<FileUpdate> update;
  std::string backup;
  bool leftover = false;
  for (int n = 0; n < kCopyNames && !update && !leftover; ++n) {
    backup = CopyName(path, n);
    const Status s = fs.OpenUpdate(path, backup, &update);
    if (!s.ok() && s.code() != EEXIST) break;
    // A name taken by the copy of an earlier write of this file that never ended: the file may be half
    // written, and only that copy holds it whole. It is not written again while the copy stands.
    LeftoverCopy found = LeftoverCopy::kNone;
    if (s.code() == EEXIST && fs.CheckLeftoverCopy(path, backup, false, &found).ok()) {
      leftover = found != LeftoverCopy::kNone;
    }
  }
  if (leftover) {
    KeepReadOnly(fs, path, attributes).IgnoreError();
    return kId3LeftoverCopy;
  }
  if (!update) {
    // The target fails already; a flag that does not come back cannot make it fail more.
    KeepReadOnly(fs, path, attributes).IgnoreError();
    return kId3BackupFailed;
  }

  Id3Edit edit;
  // The tag is read a frame header at a time, and once more to find the bytes that change: it comes
  // from one read, padding included (taggers leave a few kilobytes; mid3v2 over four).
  HeadCachedFile head(update->original(), kWriterHeadSize);
  head.Load();
  int result = PlanId3Edit(head, codec, kinds, items, options, &edit);
  // The flag goes back while the safety copy is still there: a file that would silently stay writable
  // is a failure like any other, and gets its former contents back.
  if (result == kId3Written && (!Apply(edit, head, *update).ok() || !KeepReadOnly(fs, path, attributes).ok())) {
    result = kId3OpenFailed;
  }
  if (result != kId3Written) {
    Undo(fs, *update, path, backup, attributes);
    return result;
  }
  const bool defer = pending != nullptr && update->shares_data();
  auto write = std::make_unique<Id3PendingWrite>(fs, std::move(update), path, std::move(backup), attributes);
  if (!defer) return write->Finish();
  *pending = std::move(write);
  return kId3Written;
}

}  // namespace morva
