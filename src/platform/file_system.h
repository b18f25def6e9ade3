#ifndef MORVA_PLATFORM_FILE_SYSTEM_H_
#define MORVA_PLATFORM_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_time.h"
#include "platform/status.h"

namespace morva {

class TextCodec;

// Attribute bits, with the values the stored files (log, settings) use.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
// A symbolic link. Set together with kAttrDirectory when the link points at a directory; the engine
// never recurses through such an entry.
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;
// The bits a caller may change with SetAttributes.
inline constexpr std::uint32_t kAttrSettable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

// What tells two opens of one path apart when the path was given to another file in between.
// Also what tells one entry from another whatever path leads to it (hard links share it). Zero when
// unknown.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// One directory entry as a search returns it.
struct FindData {
  std::string name;  // code page 932, no directory part
  std::uint32_t attributes = 0;
  FileTime creation_time = 0;
  FileTime last_access_time = 0;
  FileTime last_write_time = 0;
  std::uint64_t size = 0;  // bytes; 0 for directories
  FileIdentity identity;   // of the entry itself (a link's own, not what it points at)
  // The host's write permission bits (of 0222) of a file, so that what a run took by making it read-only
  // can be given back exactly (FileSystem::SetAttributesGivingWriteBits); 0 where a listing does not tell.
  std::uint32_t write_bits = 0;
};

// For SetAttributesGivingWriteBits: the write permission the process umask leaves a new file.
inline constexpr std::uint32_t kWriteBitsOfNewFile = 0x80000000u;

// A file open for appending (the conversion log). Closed when the object goes.
class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  virtual ~AppendFile() = default;

  // Appends `data` at the current end of the file with one write() (more only after a partial write),
  // so every call reaches the file at once and a crash loses nothing already appended. Lines of other
  // writers to the same file are never overwritten.
  virtual Status Append(std::string_view data) = 0;

  // The file's size now (what every append so far has left) and its identity, so that a later open of
  // the same path can tell whether it still names this file and how much was added since.
  virtual Status Describe(std::uint64_t* size, FileIdentity* identity) = 0;
};

// A small file held under an exclusive lock for as long as the object lives, with its bytes mapped into
// memory. What is stored in bytes() reaches the file without a system call and survives the process
// being killed at any moment (not a crash of the machine: nothing is synced). Unlocked when it goes.
class LockedFile {
 public:
  LockedFile() = default;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  virtual ~LockedFile() = default;

  // The file's first bytes, as many as asked for at the open; empty when they could not be mapped (no
  // room on the disk for them, a file system that cannot map files). The lock is held either way.
  virtual std::span<char> bytes() = 0;
};

// The new version of a file, written beside it and put in its place by Commit. The temporary file is
// removed when the object goes before a successful Commit.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  virtual ~ReplacementFile() = default;

  // Adds `data` to the new contents (buffered: a failure may show at a later call or at Commit).
  virtual Status Append(std::string_view data) = 0;

  // Flushes the new contents to the disk and renames them over the file. A reader sees either the whole
  // old file or the whole new one; after a failure the old file is untouched.
  virtual Status Commit() = 0;
};

// A regular file open for reading at any offset (the media readers look at a few places of big files).
// Closed when the object goes.
class ReadableFile {
 public:
  ReadableFile() = default;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  virtual ~ReadableFile() = default;

  // The file's size in bytes when it was opened.
  virtual std::uint64_t size() const = 0;

  // Reads up to `n` bytes starting at `offset` into *data (replacing its contents). Fewer bytes, or none,
  // only at the end of the file. On failure *data is left in an unspecified state.
  virtual Status Read(std::uint64_t offset, std::size_t n, std::string* data) = 0;
};

// A file changed in place under the cover of its safety copy, a copy of the whole file made when the
// update was opened (FileSystem::OpenUpdate). Whatever happens to the process, at any moment, either the
// file still holds its former contents or the safety copy does, byte for byte; the copy goes once the
// change is flushed to the disk (Commit) or undone (Restore). A crash of the machine is covered as far as
// the disk keeps what was flushed: the copy is flushed before the file is rewritten (CopyOriginal), not
// before a Write in place, whose bytes alone a crash can then leave half written. The ID3 tag writer
// changes songs this way.
//
// An update that goes without Commit or Restore removes the safety copy when the file was never
// written, and otherwise leaves it where it is: it then holds the only sure copy of the former contents.
class FileUpdate {
 public:
  FileUpdate() = default;
  FileUpdate(const FileUpdate&) = delete;
  FileUpdate& operator=(const FileUpdate&) = delete;
  virtual ~FileUpdate() = default;

  // The former contents, valid until the update goes: read from the file itself until its first write
  // (the same bytes, and those in the cache), then from the safety copy.
  virtual ReadableFile& original() = 0;

  // Writes `data` into the file at `offset`, growing the file when it reaches past its end. A process
  // killed in the middle may leave part of it written.
  virtual Status Write(std::uint64_t offset, std::string_view data) = 0;

  // Puts the former contents from `original_offset` to their end into the file at `offset`, and ends
  // the file after them (in the kernel where the file system can). The safety copy is flushed to the
  // disk first, once per update: from here on the file may hold nothing of its former self, and a crash
  // of the machine must not take the copy too.
  virtual Status CopyOriginal(std::uint64_t original_offset, std::uint64_t offset) = 0;

  // Flushes the file's data to the disk, then removes the safety copy. A failure to flush is returned
  // with the copy still there (Restore is the way back); a copy that cannot be removed afterwards is
  // left beside the file and is no failure (removed() says so).
  virtual Status Commit() = 0;

  // Puts the former contents and last-write time back into the file, flushes it, then removes the safety
  // copy. A file never written loses only its copy. When the file cannot be put back, the failure is
  // returned and the safety copy stays beside it.
  virtual Status Restore() = 0;

  // True once Commit or Restore has removed the safety copy.
  virtual bool removed() const = 0;

  // Many updates can share one flush of their file system instead of a flush of each file (see
  // FlushUpdates): the copies stay until it is done. That pays where a safety copy shares the file's
  // data blocks (a reflink) and holds no data of its own to flush; a copy of the data would be flushed
  // with the files for nothing.
  virtual bool shares_data() const = 0;
  // The file system of the file: updates of one value are flushed by one FlushVolume.
  virtual std::uint64_t volume() const = 0;
  // Flushes everything written to the file's file system, this update's file among it. After success
  // its Commit only removes the safety copy.
  virtual Status FlushVolume() = 0;
  // Says that a FlushVolume of another update on the same file system succeeded after this update's
  // last write: its Commit only removes the safety copy.
  virtual void VolumeFlushed() = 0;
};

// Flushes the file systems of `updates`, each once, after their writes are done: their Commit then only
// removes their safety copies. An update whose file system could not be flushed is told nothing, and
// its Commit flushes its file by itself. `updates` come in the order they were opened: the first of a
// file system was opened first, and its flush reports a failed write-back of any file written since.
void FlushUpdates(const std::vector<FileUpdate*>& updates);

// What stands at the name of a safety copy (FileSystem::OpenUpdate) beside a file.
enum class LeftoverCopy {
  kNone,        // nothing, or an entry that is no safety copy of this program for this file (a person's own
                // "song.mp3.bak", a copy made on a file system without user extended attributes)
  kOfThisFile,  // the safety copy of an update of this very file that never ended (the process was killed)
  kUncertain,   // a safety copy of this program naming the file, which is no longer the file it was made of
};

// The drive types the engine classifies paths by (the values of the Windows drive-type codes).
enum class DriveType {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// The file system as the engine sees it: a Windows-like file system on code page 932 names.
//
// Every path argument is an engine path: code page 932 bytes in Windows form, either on drive Z: (the
// host's root: "Z:\home\me\a.txt" is "/home/me/a.txt") or a UNC path "\\server\share\dir" on a mounted
// CIFS/SMB share. Other drive letters do not exist (EINVAL). The drive letter is accepted in either case.
//
// Names that a Windows file system could not hold (containing \ / : * ? " < > | or a byte below 0x20,
// without a code page 932 form, or whose code page 932 form does not convert back to exactly the same
// host bytes) are invisible: never listed, and no operation here reaches them through a listing.
//
// Symbolic links are entries of their own: Stat, SetAttributes, SetTimes, Move act on the link itself and
// FindFiles never follows them.
//
// While a run, preview or undo is at work, its roots are declared (ConfineTo): paths below them are
// reached without following any symbolic link, so a directory swapped for a link while the work goes
// on cannot take it outside the tree the person chose.
//
// An implementation is used from one thread at a time.
class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;
  virtual ~FileSystem() = default;

  // The host path (UTF-8, absolute, '/'-separated) of an engine path. "Z:" and "Z:\" map to "/". A UNC
  // path maps through the mount point of the CIFS/SMB share mounted from //server/share (ENOTCONN when
  // none is mounted). Fails with EINVAL for another drive or a relative path, EILSEQ when the path is not
  // valid code page 932.
  virtual Status ToHostPath(std::string_view engine_path, std::string* host_path) = 0;

  // The engine path of a host path (UTF-8, as a person types it). A relative path is taken from the
  // current directory first; "." and ".." components are resolved textually. Fails with EILSEQ when the
  // path has no exact code page 932 form.
  virtual Status FromHostPath(std::string_view host_path, std::string* engine_path) = 0;

  // The entries of `directory` whose names match the Windows wildcard `pattern` ('*' and '?' with the DOS
  // rules: "*.*" matches every name, a pattern ending in ".*" also matches a name without a dot;
  // case-insensitive; double-byte aware). "." and ".." are never returned. Entries are sorted by name
  // compared case-insensitively, so the order never depends on the host. Invisible names are skipped and
  // counted in *invisible (when not null). An empty match is success with no entries.
  virtual Status FindFiles(std::string_view directory, std::string_view pattern,
                           std::vector<FindData>* entries, std::size_t* invisible) = 0;

  // As FindFiles, for a caller that needs only the names and kinds of the entries (a rename by a rule
  // that reads nothing else): each entry's attributes hold kAttrDirectory and kAttrReparsePoint as
  // FindFiles gives them and nothing more, and its identity (from the listing: for a mount point, that
  // of the directory under it); its times and size are 0. Where the file system tells the kind
  // in the listing itself, no entry but a symbolic link costs a status call.
  virtual Status FindNames(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                           std::size_t* invisible) = 0;

  // The find data of one literal path: no wildcard expansion, the link itself for a symbolic link.
  // `data->name` is the last component. ENOENT when nothing is there.
  virtual Status Stat(std::string_view path, FindData* data) = 0;

  // Sets the read-only, hidden, system and archive attributes to the kAttrSettable bits of `attributes`
  // (other bits are ignored). Read-only is the absence of every write permission bit: setting it clears
  // all write bits, clearing it gives the owner write permission; a directory's read-only flag, which on
  // Windows stops no change inside it, is kept in `user.DOSATTRIB` only and its permissions stay. Hidden,
  // system and archive are kept in the `user.DOSATTRIB` extended attribute, whose other fields are kept;
  // on a file system without user extended attributes a change of them fails with ENOTSUP (a change of a
  // file's read-only alone still works).
  virtual Status SetAttributes(std::string_view path, std::uint32_t attributes) = 0;

  // As SetAttributes, for an undo that puts back what a run took: clearing a file's read-only flag gives
  // it the write permission bits `write_bits` (of 0222, the owner's always among them) instead of the
  // owner's alone; kWriteBitsOfNewFile gives those the process umask leaves a new file with the read
  // permission the file has (0444 under umask 002 becomes 0664).
  virtual Status SetAttributesGivingWriteBits(std::string_view path, std::uint32_t attributes,
                                              std::uint32_t write_bits) = 0;

  // Sets the times whose pointer is not null; the others are left as they are. Last write is the
  // modification time, last access the access time (neither follows a link). Creation time is stored in
  // `user.DOSATTRIB` (ENOTSUP without user extended attributes).
  virtual Status SetTimes(std::string_view path, const FileTime* creation_time,
                          const FileTime* last_access_time, const FileTime* last_write_time) = 0;

  // Moves (renames) `from` to `to` without ever replacing an existing entry: EEXIST when `to` exists,
  // and then both entries are untouched. A move whose destination is the same entry under another letter
  // case (a case-only rename, also on a case-insensitive file system such as FAT or an SMB share, whose
  // inode numbers need not tell that both names are one entry) is a real rename. Creation time and
  // attributes move with the entry.
  virtual Status Move(std::string_view from, std::string_view to) = 0;

  // Copies the file `from` to `to`: data, permissions and last-write time. Without `overwrite` the
  // destination is created exclusively (EEXIST when it exists). A failed copy leaves no partial
  // destination behind (an overwritten destination may be lost, as with the Windows copy). A destination
  // that is the source itself (the same device and inode: the same path, one reached through a link to
  // its directory, a hard link) is refused with EINVAL whatever `overwrite` says, and the source is left
  // as it is.
  virtual Status Copy(std::string_view from, std::string_view to, bool overwrite) = 0;

  // Creates one directory; its parent must exist. EEXIST when something is there already.
  virtual Status CreateDirectory(std::string_view path) = 0;

  // Declares the roots of the work in progress (engine paths of directories) until the matching
  // EndConfinement; they stand in for roots declared before, which apply again when these end.
  //
  // While roots are declared, Stat, FindFiles, SetAttributes, SetTimes, Move, Copy, CreateDirectory,
  // OpenRead, OpenUpdate, Trash, DeleteTree and Overwrite reach a path below a root (the innermost one
  // holding it) from that root without following any symbolic link on the way: a link there, even one
  // swapped in after the tree was listed, fails the call with ELOOP and nothing it points at is touched.
  // Nor is the last component ever followed, except by OpenRead (reading what a link points at changes
  // nothing): Copy, OpenUpdate or FindFiles of a link fails with ELOOP. A directory once reached keeps being used while the work stays in it, even if it is renamed
  // meanwhile, so the work never leaves it for what took its name. A root is resolved as any path is,
  // links in the person's own path followed, when it is declared (or, when it does not exist then, when
  // a path below it is first used); from then on it must stay that directory, else calls below it fail
  // with EXDEV.
  //
  // The roots themselves, paths below no root, and ReadFile, WriteFile and OpenAppend (the program's
  // own files) behave as without roots. A root without a host path is ignored: nothing below it can be
  // reached anyway.
  virtual void ConfineTo(const std::vector<std::string>& roots) = 0;

  // Ends the latest ConfineTo.
  virtual void EndConfinement() = 0;

  // The label of the file system holding `path` (from /dev/disk/by-label); empty when it has none.
  virtual Status GetVolumeLabel(std::string_view path, std::string* label) = 0;

  // The drive type of the root of `path` ("Z:\", "\\server\share\"): kFixed (or kRemovable, kCdRom,
  // kRamDisk, kRemote as the mount says) for Z:, kRemote for a mounted share, kNoRootDir for an unmounted
  // share, kUnknown for every other drive letter.
  virtual DriveType GetDriveType(std::string_view path) = 0;

  // The usual limit of ReadFile: far above the settings and preset files, and above any file a person
  // names by mistake that the program should not try to hold in memory.
  static constexpr std::uint64_t kMaxReadFileSize = std::uint64_t{64} << 20;
  // The limit for the conversion log, which holds up to 40 runs of possibly 100,000 targets each.
  static constexpr std::uint64_t kMaxLogFileSize = std::uint64_t{2} << 30;

  // Reads the whole regular file `path` into *data (replacing its contents). ENOENT when nothing is
  // there, EISDIR for a directory, EINVAL for anything else that is not a regular file (a pipe or a
  // device would block or never end), EFBIG when the file is larger than `max_size` bytes. On failure
  // *data is left in an unspecified state.
  virtual Status ReadFile(std::string_view path, std::uint64_t max_size, std::string* data) = 0;

  // Opens the regular file `path` for reading into *file. A symbolic link is followed. Reading does not
  // move the file's last access time where the host allows that (the owner's files). ENOENT when
  // nothing is there, EISDIR for a directory, EINVAL for anything else that is not a regular file.
  // *file is untouched on failure.
  virtual Status OpenRead(std::string_view path, std::unique_ptr<ReadableFile>* file) = 0;

  // Replaces the file `path` with `data` atomically: the bytes go to a temporary file in the same
  // directory, are flushed to the disk, and the temporary file is then renamed over `path`. A reader
  // sees either the whole old file or the whole new one; on failure the old file (if any) is untouched
  // and no temporary file is left behind. A new file gets mode 0666 narrowed by the umask; a replaced
  // file keeps its permission bits. A symbolic link at `path` is replaced, not followed. EISDIR when
  // `path` is a directory.
  virtual Status WriteFile(std::string_view path, std::string_view data) = 0;

  // Opens the file `path` for appending into *file, creating it (mode 0666 narrowed by the umask) when
  // it is missing. A symbolic link is followed, as for any file a person names. EISDIR for a directory,
  // EINVAL for anything else that is not a regular file. *file is untouched on failure.
  virtual Status OpenAppend(std::string_view path, std::unique_ptr<AppendFile>* file) = 0;

  // Opens the file `path`, creating it (mode 0666 narrowed by the umask) when it is missing, takes an
  // exclusive lock on it that every other open of it in any process respects, and maps its first
  // `map_size` bytes (growing the file with zeros to that size). The lock is held until *file goes. When
  // another holder has the lock: with `wait` false EWOULDBLOCK at once, with `wait` true the call blocks
  // until it is free. A symbolic link at `path` is not followed (ELOOP). *file is untouched on failure.
  virtual Status OpenLockedFile(std::string_view path, std::size_t map_size, bool wait,
                                std::unique_ptr<LockedFile>* file) = 0;

  // Starts replacing the regular file `path` (see ReplacementFile). The new contents go to the file
  // `temporary_name` in the same directory, created afresh (one left by a process that was killed is
  // removed first) with the owner, group and permission bits of `path`. A read-only file (no write
  // permission bit) is never replaced: EACCES. EPERM when the owner cannot be kept. ENOENT when `path`
  // does not exist. *file is untouched on failure.
  virtual Status OpenReplacement(std::string_view path, std::string_view temporary_name,
                                 std::unique_ptr<ReplacementFile>* file) = 0;

  // Removes the file (or symbolic link) `path`; never a directory (EISDIR). ENOENT when nothing is there.
  virtual Status RemoveFile(std::string_view path) = 0;

  // Moves `path` into the freedesktop.org trash, where the desktop's trash can restore it: a file, a
  // directory with everything in it, or a symbolic link as the link. The entry is renamed, from the
  // directory handle that found it, into the home trash ($XDG_DATA_HOME/Trash) when that lies on the
  // entry's mount, else into the trash at the top of the entry's mount ($top/.Trash/$uid when $top/.Trash
  // is a sticky directory, else $top/.Trash-$uid; none is made on a file system that forgets its files at
  // the next start, such as tmpfs). Its .trashinfo is created first and names where the entry is. When it
  // cannot be trashed (ENOTSUP for a file system without a trash it could be renamed into, EXDEV for a
  // trash on another mount, another error) it stays where it is: nothing is ever copied, nor deleted
  // instead. Below a root (see ConfineTo), ELOOP when the path no longer leads, without links, to a
  // directory first found there, and EXDEV for an entry on another mount than the root's (deletion never
  // enters a file system mounted inside the tree); EBUSY for a directory with a file system mounted
  // somewhere below it, which the rename would carry along.
  virtual Status Trash(std::string_view path) = 0;

  // Whether deletions into the trash are kept: 1 when the home trash can take them (it is there and
  // writable, or can be created), -1 when it cannot. Creates nothing.
  virtual int ProbeRecycleBin() = 0;

  // The failure that Trash (`into_trash`) or DeleteTree would meet before anything is deleted, found
  // without changing anything: ENOENT when nothing is there, EPERM for "/"; for DeleteTree EBUSY for a
  // mount point and for a directory with a file system mounted below it (DeleteTree deletes the rest
  // and fails); below a root EXDEV for an entry on another mount than the root's; for Trash what finding
  // the entry's trash gives (ENOTSUP when there is none it could go to, and none could be created). Ok
  // when nothing of these stands in the way; the deletion itself may still fail.
  virtual Status ProbeDeletion(std::string_view path, bool into_trash) = 0;

  // Deletes `path` permanently: a file, a symbolic link (the link itself, never what it points at), or a
  // directory with everything in it, depth first. The walk never follows a symbolic link (one inside is
  // deleted as the link; a directory swapped for one meanwhile is not entered), never enters another file
  // system mounted in the tree (EBUSY; the mount point and the directories above it stay) and never
  // deletes a name Windows could not hold (ENOTEMPTY: its directory stays). After such a failure it goes
  // on with the rest and returns the first failure. A mount point itself and "/" are refused (EBUSY,
  // EPERM) before anything is deleted, and so, below a root, is an entry on another mount than the
  // root's (EXDEV): a bind mount of the same device counts as another mount. A handful of directory
  // handles serve a tree of any depth.
  virtual Status DeleteTree(std::string_view path) = 0;

  // Overwrites the contents of the regular file `path` in place, so that they cannot be read back from
  // the disk, at `level` 1-3 (EINVAL otherwise): level 1 writes random bytes over the whole file, which
  // keeps its length; level 2 then writes 0xE5 over every byte and level 3 zeros as well, and both leave
  // the file empty. Each pass is flushed to the disk before the next. Read-only and system are cleared
  // first and stay cleared, whatever happens next; a failure leaves the passes done so far. A symbolic
  // link is never written through (ELOOP), nor a directory (EISDIR) or anything else that is not a
  // regular file (EINVAL), nor a file with other hard links (EMLINK), whose contents are those other
  // names' too, nor, below a root, a file on another mount than the root's (EXDEV), which its deletion
  // would refuse. On a file system that writes changed blocks elsewhere (copy-on-write, log-structured,
  // flash translation) the old contents may survive on the device.
  virtual Status Overwrite(std::string_view path, int level) = 0;

  // Makes `backup` a safety copy of the regular file `path` and opens `path` for a change under its
  // cover (see FileUpdate). The copy and the file are one file's contents at one moment: the file is
  // opened first and copied through the same handle. The copy shares the file's data blocks where the
  // file system can (a reflink: no data is copied), else it is copied in the kernel; it gets the file's
  // permission bits, last-write time and hidden, system and archive attributes, and it has no name until
  // it is complete, so a process killed meanwhile leaves no partial copy behind. `backup` is never
  // replaced: EEXIST when an entry is there, and nothing changes. A symbolic link at `path` is not
  // followed (ELOOP), a directory gives EISDIR, anything else that is not a regular file EINVAL. The
  // file must be writable by the process (EACCES otherwise: a read-only file is made writable first).
  // ENOSPC when the copy does not fit on the disk. Reading and writing do not move the file's last access
  // time where the host allows that. *update is untouched on failure.
  virtual Status OpenUpdate(std::string_view path, std::string_view backup, std::unique_ptr<FileUpdate>* update) = 0;

  // Tells what stands at `backup` beside the regular file `path`: OpenUpdate marks each safety copy it
  // makes (the extended attribute user.morva.update, naming the file by its name, device and inode), so
  // a copy left by an update that never ended is told from any other file of that name. With `restore`,
  // the contents and last-write time of a kOfThisFile copy are put back into the file in place (the
  // file keeps its inode, owner and other names), flushed to the disk, and the copy is removed; on
  // failure the copy stays and the failure is returned. A kUncertain copy is never restored. Links are
  // not followed, neither at `path` nor at `backup`. ENOENT when `path` does not exist.
  virtual Status CheckLeftoverCopy(std::string_view path, std::string_view backup, bool restore,
                                   LeftoverCopy* found) = 0;
};

// Declares roots (FileSystem::ConfineTo) for the life of the object.
class ConfinedScope {
 public:
  ConfinedScope(FileSystem& fs, const std::vector<std::string>& roots) : fs_(fs) { fs_.ConfineTo(roots); }
  ConfinedScope(const ConfinedScope&) = delete;
  ConfinedScope& operator=(const ConfinedScope&) = delete;
  ~ConfinedScope() { fs_.EndConfinement(); }

 private:
  FileSystem& fs_;
};

// The host implementation. `codec` converts names and must outlive the file system.
std::unique_ptr<FileSystem> NewPosixFileSystem(TextCodec* codec);

}  // namespace morva

#endif  // MORVA_PLATFORM_FILE_SYSTEM_H_
