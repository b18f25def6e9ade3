#ifndef MORVA_PLATFORM_POSIX_COPY_H_
#define MORVA_PLATFORM_POSIX_COPY_H_

// Pieces shared by the operations that put a new entry beside others (move, copy, the safety copy of a
// file update): temporary names, renames that never replace, copies of a file's data. Internal to the
// host layer.

#include "platform/posix_util.h"

namespace morva::posix {

// A fresh name for a temporary entry beside `entry` (in the same directory). It only has to be unlikely
// to exist: every use creates it exclusively.
EntryRef TemporaryBeside(const EntryRef& entry);

// fstatat without following a link; 0 or an errno value.
int StatNoFollow(const EntryRef& entry, struct stat* st);

// Renames `from` to `to` unless `to` exists; 0 or an errno value. A file system that refuses the
// no-replace flag gets a hard link and an unlink for files (the link fails on an existing name); where
// it has no hard links either (FAT), and for directories, the name is claimed by a placeholder created
// exclusively, which the rename then replaces (see RenameOverClaimedFile for the one moment this leaves
// open to a writer that does not create its files exclusively).
int RenameNoReplace(const EntryRef& from, const EntryRef& to);

// EINVAL when the entry `to` (a link in its last component not followed) is the very file open as `in`
// (one device and inode, whatever the two paths): a copy onto its own source would put the source's
// bytes back under its own name, and a job that then deletes the source would leave nothing. A hard
// link of the source is the source too. 0 when `to` is another entry or nothing; an errno value when it
// cannot be looked at.
int RefuseCopyOntoSource(int in, const EntryRef& to);

// Copies all data of `in` from its start to `out` (empty, at its start): shares the data blocks where
// the file system can (a reflink, which costs no data copy), else copies in the kernel, else reads and
// writes. 0 or an errno value; *shared (when given) tells whether the copy is a reflink.
int CopyData(int in, int out, bool* shared = nullptr);

// Copies the `length` bytes of `in` from `in_offset` to `out` at `out_offset`, in the kernel where the
// file systems allow; the file offsets of both descriptors are left alone. 0 or an errno value.
int CopyRange(int in, std::uint64_t in_offset, int out, std::uint64_t out_offset, std::uint64_t length);

// Hidden, system and archive travel with a copy, as with the Windows copy; the creation time does not
// (a copy is a new file). Best effort: a file system without user extended attributes loses them.
void CopyDosAttributes(int in, int out);

// The file a copy is written to before it gets its name `to`: an unnamed file where the file system
// offers one, else a file with a temporary name, in the directory of `to`. Until Publish the copy has no
// name a person or a later run could take for a finished one; the destructor removes whatever was not
// published.
class PendingFile {
 public:
  explicit PendingFile(const EntryRef& to) : to_(to) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();

  int fd() const { return fd_.get(); }

  // Creates the file, open for `access` (O_WRONLY or O_RDWR); 0 or an errno value.
  int Create(int access);

  // Gives the file its name: only when nothing is there, or replacing what is there.
  int Publish(bool replace);

  // The descriptor, which stays open after the file got its name.
  ScopedFd TakeFd() { return std::move(fd_); }

 private:
  int LinkUnnamed(const EntryRef& target);

  const EntryRef& to_;
  ScopedFd fd_;
  EntryRef temporary_;
};

}  // namespace morva::posix

#endif  // MORVA_PLATFORM_POSIX_COPY_H_
