#ifndef MORVA_MEDIA_ID3_WRITER_H_
#define MORVA_MEDIA_ID3_WRITER_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

class FileSystem;
class FileUpdate;
class ReadableFile;
class TextCodec;

// The items the writer puts into the tags, in the order of the job's settings (SW_ID3), as code page
// 932 text; an absent item is left as it is. The genre is given as a number, "(n)" or a name, and is
// written in its canonical form ("(17)Rock"; its number in ID3v1).
enum Id3WriteItem { kWriteTitle, kWriteArtist, kWriteAlbum, kWriteTrack, kWriteYear, kWriteComment, kWriteGenre };
using Id3Items = std::array<std::optional<std::string>, 7>;

// What to do with the tags, as the bits of ID3_CTS: change the ID3v1 block, change the ID3v2 tag, add an
// ID3v1 block, add an ID3v2 tag.
inline constexpr int kId3ChangeV1 = 1;
inline constexpr int kId3ChangeV2 = 2;
inline constexpr int kId3AddV1 = 4;
inline constexpr int kId3AddV2 = 8;

struct Id3WriteOptions {
  std::uint32_t new_tag_padding = 256;  // OPT_3: zero bytes after the frames of a new ID3v2 tag
  bool never_use_padding = false;       // SW_OPT[11]: a tag that grows always grows, padding stays
  // ID3_ENC: ID3v2 texts as code page 932 bytes under encoding 0, for players that read nothing else
  // (every other reader takes them for Latin-1). Otherwise a text that is not plain ASCII is UTF-16 with
  // a byte-order mark (encoding 1) in tags of versions 2 and 3, and UTF-8 (encoding 3) in version 4.
  bool cp932_text = false;
};

// The writer's results, as the log shows them.
inline constexpr int kId3Written = 0;
inline constexpr int kId3NothingRequested = 1;
inline constexpr int kId3BackupFailed = -1;    // the safety copy cannot be made ("(バックアップ失敗)")
inline constexpr int kId3OpenFailed = -2;      // the file cannot be opened, read or written, or its attributes read
// An item has no Unicode form (bytes that are no code page 932 text): no frame is written that would
// read as another text than the item's.
inline constexpr int kId3TextUnconvertible = -3;
inline constexpr int kId3TagUnreadable = -4;   // the existing ID3v2 tag cannot be parsed or copied
// A write of this file was killed before it ended and left its safety copy, which holds the file's former
// contents: the file was given them back (kId3Restored, nothing written this time), or the copy stands
// and the file is not written while it does (kId3LeftoverCopy: the file is no longer the one the copy
// was made of, or it could not be put back).
inline constexpr int kId3Restored = -6;
inline constexpr int kId3LeftoverCopy = -7;

// Looks for safety copies left beside the file `path` by writes that never ended (the process was
// killed; see WriteId3) and, with `restore`, gives the file its former contents back from one that was
// made of it and removes it. 0 when there is none; kId3Restored when the file was (or, without
// `restore`, would be) put back; kId3LeftoverCopy when a copy stands that is not put back;
// kId3OpenFailed when the names cannot be looked at. A person's own file of such a name is no safety
// copy.
int RecoverInterruptedWrite(FileSystem& fs, std::string_view path, bool restore);

// Writes `items` into the tags of the MP3 file at the engine path `path` as `kinds` asks. The file is
// changed under the cover of a safety copy "<path>.bak" (or ".bak1" to ".bak9", the first name free;
// an existing file is never replaced; a copy left there by a write of this file that never ended fails
// the write with kId3LeftoverCopy): after a failure, or a kill of the process at any moment, the
// file holds its former contents or the safety copy does. The new contents are flushed to the disk
// before the copy goes. A read-only file is written all the same and stays read-only; a symbolic link
// is never written through (kId3BackupFailed).
//
// ID3v2: an existing tag keeps every frame it has byte for byte but the frames of the items given: the
// first comment frame and every text frame of an item are replaced; items without a frame get new ones
// at the end of the frames. A tag that grows by no
// more than its padding keeps its size and only its own bytes are rewritten; otherwise the whole file
// is. A new tag is an ID3v2.3 tag in front of the file. Texts are written in the encoding
// Id3WriteOptions::cp932_text chooses, through `codec`; plain ASCII always under encoding 0. ID3v1:
// the given fields of an existing block are changed in place, in code page 932; a new block is appended.
int WriteId3(FileSystem& fs, TextCodec& codec, std::string_view path, int kinds, const Id3Items& items,
             const Id3WriteOptions& options);

// A write whose tags are in the file, not yet flushed to the disk, under the cover of its safety copy.
// Many of them share one flush of their file system (FinishId3Writes) instead of one flush each.
// Dropped without Finish, it leaves the safety copy beside the file.
class Id3PendingWrite {
 public:
  Id3PendingWrite(FileSystem& fs, std::unique_ptr<FileUpdate> update, std::string_view path, std::string backup,
                  std::uint32_t attributes);
  Id3PendingWrite(const Id3PendingWrite&) = delete;
  Id3PendingWrite& operator=(const Id3PendingWrite&) = delete;
  ~Id3PendingWrite();

  FileUpdate& update() { return *update_; }

  // Flushes the file, unless a flush of its file system after the write did, and removes the safety
  // copy: kId3Written. A flush that fails gives the file its former contents back: kId3OpenFailed.
  int Finish();

 private:
  FileSystem& fs_;
  std::unique_ptr<FileUpdate> update_;
  std::string path_;
  std::string backup_;
  std::uint32_t attributes_;
};

// WriteId3, whose write is handed over unfinished in *pending where the file system makes one flush for
// many files pay (FileUpdate::shares_data); it then returns kId3Written with the tags not yet on the
// disk. Elsewhere it finishes the write itself and leaves *pending empty.
int WriteId3(FileSystem& fs, TextCodec& codec, std::string_view path, int kinds, const Id3Items& items,
             const Id3WriteOptions& options, std::unique_ptr<Id3PendingWrite>* pending);

// Finishes `writes` after one flush of each of their file systems; their results, in their order.
std::vector<int> FinishId3Writes(const std::vector<Id3PendingWrite*>& writes);

// How a file's contents become the new ones: its first `old_head_size` bytes give way to `head` (when
// `head_changes`), and the ID3v1 block `v1` (when not empty) replaces its last 128 bytes
// (`v1_replaces`) or follows them.
struct Id3Edit {
  bool head_changes = false;
  std::string head;
  std::uint64_t old_head_size = 0;
  std::string v1;
  bool v1_replaces = false;
};

// Plans the change of the contents `file` as WriteId3 makes it: kId3Written, kId3TagUnreadable when the
// existing ID3v2 tag cannot be copied frame by frame (or kinds ask to add a tag where there is one, or to
// change one where there is none), kId3OpenFailed for an ID3v1 block that is not where kinds expect it,
// kId3TextUnconvertible for an item without a Unicode form.
int PlanId3Edit(ReadableFile& file, TextCodec& codec, int kinds, const Id3Items& items,
                const Id3WriteOptions& options, Id3Edit* edit);

}  // namespace morva

#endif  // MORVA_MEDIA_ID3_WRITER_H_
