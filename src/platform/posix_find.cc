// PosixFileSystem: directory search and the status of one path.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/name_order.h"
#include "platform/posix_file_system.h"
#include "platform/posix_util.h"
#include "platform/wildcard.h"

namespace morva {
namespace {

#ifdef __NR_getxattrat
constexpr long kGetxattratSyscall = __NR_getxattrat;
#else
constexpr long kGetxattratSyscall = 464;  // the same number on every architecture with the unified table
#endif

// The argument block of getxattrat (Linux 6.13).
struct XattrArgs {
  std::uint64_t value;
  std::uint32_t size;
  std::uint32_t flags;
};

// Reads user.DOSATTRIB of the entries of one open directory. getxattrat resolves the name relative to
// the directory, as statx does, instead of walking the whole path again; older kernels get lgetxattr
// through the directory's /proc/self/fd link, which reaches the directory listed, whatever happened to
// its path since. Once the file system says it has no user extended attributes, nobody is asked again.
class DirectoryDosAttribReader {
 public:
  explicit DirectoryDosAttribReader(int dir_fd) : dir_fd_(dir_fd) {}

  // True when the entry has a readable value, then in *out. Any failure reads as "no value": the entry
  // is still listed, with the attributes its status gives.
  bool Read(const char* name, DosAttrib* out) {
    if (unsupported_) return false;
    char buffer[256];
    long rc = -1;
    int err = ENOSYS;
    if (use_at_) {
      XattrArgs args{reinterpret_cast<std::uintptr_t>(buffer), sizeof(buffer), 0};
      rc = syscall(kGetxattratSyscall, dir_fd_, name, AT_SYMLINK_NOFOLLOW, kDosAttribXattrName, &args,
                   sizeof(args));
      err = rc < 0 ? errno : 0;
      if (rc < 0 && err == ENOSYS) use_at_ = false;
    }
    if (!use_at_) {
      const posix::EntryRef entry{dir_fd_, name, true};
      rc = lgetxattr(posix::PathOf(entry).c_str(), kDosAttribXattrName, buffer, sizeof(buffer));
      err = rc < 0 ? errno : 0;
    }
    const posix::DosAttribState state = posix::ClassifyDosAttribRead(rc, err, buffer, out);
    if (state == posix::DosAttribState::kUnsupported) unsupported_ = true;
    return state == posix::DosAttribState::kFound;
  }

 private:
  int dir_fd_;
  bool use_at_ = true;
  bool unsupported_ = false;
};

// A name that passed the pattern, waiting for its status. Names and keys live in two shared buffers.
struct Candidate {
  std::uint32_t host_offset;  // NUL-terminated host name in the name buffer
  std::uint32_t key_offset;   // sort key in the key buffer
  std::uint32_t key_length;
  unsigned char type;  // d_type: what the listing says the entry is (DT_UNKNOWN when it does not say)
  std::uint64_t inode;
  std::string engine_name;
};

// From this many entries on, the status calls are shared with a second thread.
constexpr std::size_t kParallelStatusThreshold = 2048;

// The status part of a listing: statx and DOSATTRIB of the sorted candidates, each written to its own
// slot, so that two threads can take disjoint ranges without sharing anything else.
struct StatusPass {
  int dir_fd;
  const std::string& host_names;
  std::vector<Candidate>& candidates;
  const std::vector<std::uint32_t>& order;
  std::vector<FindData>& slots;
  std::vector<unsigned char>& listed;

  // Fills slots [begin, end). Returns 0, or an errno value with *failed_index set to the position.
  int Run(std::size_t begin, std::size_t end, int* failed_index) {
    DirectoryDosAttribReader dos_reader(dir_fd);
    for (std::size_t i = begin; i < end; ++i) {
      Candidate& candidate = candidates[order[i]];
      const char* name = host_names.data() + candidate.host_offset;
      struct statx st;
      if (statx(dir_fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, posix::kStatxMask, &st) != 0) {
        if (errno == ENOENT) continue;  // removed since the directory was read
        *failed_index = static_cast<int>(i);
        return errno;
      }
      bool link_to_directory = false;
      DosAttrib dos;
      bool have_dos = false;
      if (S_ISLNK(st.stx_mode)) {
        struct stat target;
        link_to_directory = fstatat(dir_fd, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
      } else if (S_ISREG(st.stx_mode) || S_ISDIR(st.stx_mode)) {
        have_dos = dos_reader.Read(name, &dos);
      }
      FindData& data = slots[i];
      data.name = std::move(candidate.engine_name);
      posix::FillFindData(st, have_dos ? &dos : nullptr, link_to_directory, &data);
      listed[i] = 1;
    }
    return 0;
  }
};

// getdents64 records; glibc has no declaration for the raw call.
struct LinuxDirent64 {
  std::uint64_t d_ino;
  std::int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

}  // namespace

Status PosixFileSystem::FindFiles(std::string_view directory, std::string_view pattern,
                                  std::vector<FindData>* entries, std::size_t* invisible) {
  return List(directory, pattern, true, entries, invisible);
}

Status PosixFileSystem::FindNames(std::string_view directory, std::string_view pattern,
                                  std::vector<FindData>* entries, std::size_t* invisible) {
  return List(directory, pattern, false, entries, invisible);
}

Status PosixFileSystem::List(std::string_view directory, std::string_view pattern, bool details,
                             std::vector<FindData>* entries, std::size_t* invisible) {
  entries->clear();
  if (invisible != nullptr) *invisible = 0;
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(directory, &host, &entry); !s.ok()) return s;
  // Below a root the directory itself must not be a link either.
  const int no_follow = entry.confined ? O_NOFOLLOW : 0;
  posix::ScopedFd dir(openat(entry.dir_fd, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | no_follow));
  if (!dir.valid()) {
    const int err = entry.confined ? posix::NoFollowDirectoryError(entry.dir_fd, entry.name.c_str(), errno) : errno;
    return posix::ErrnoStatus(err, "open directory", host);
  }

  // First the names alone: visibility and the pattern need no system call, so the status of an entry
  // is only asked for when it is going to be listed.
  WildcardPattern matcher(pattern);
  const bool match_all = matcher.MatchesEverything();
  std::vector<Candidate> candidates;
  std::string host_names;
  std::string keys;
  std::size_t invisible_count = 0;
  std::string engine_name;
  // 8-byte units: the records are 8-byte aligned from the start of the buffer.
  std::vector<std::uint64_t> buffer(32 * 1024);
  const std::size_t buffer_bytes = buffer.size() * sizeof(std::uint64_t);
  while (true) {
    const long bytes = syscall(SYS_getdents64, dir.get(), buffer.data(), buffer_bytes);
    if (bytes < 0) {
      if (errno == EINTR) continue;
      return posix::ErrnoStatus(errno, "getdents64", host);
    }
    if (bytes == 0) break;
    const char* records = reinterpret_cast<const char*>(buffer.data());
    for (long offset = 0; offset < bytes;) {
      const auto* d = reinterpret_cast<const LinuxDirent64*>(records + offset);
      offset += d->d_reclen;
      const char* name = d->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      const std::string_view host_name(name);
      if (!posix::EngineNameOf(codec_, host_name, &engine_name)) {
        ++invisible_count;
        continue;
      }
      if (!match_all && !matcher.Matches(engine_name)) continue;
      Candidate& c = candidates.emplace_back();
      c.host_offset = static_cast<std::uint32_t>(host_names.size());
      host_names.append(host_name);
      host_names.push_back('\0');
      c.key_offset = static_cast<std::uint32_t>(keys.size());
      AppendNameSortKey(engine_name, &keys);
      c.key_length = static_cast<std::uint32_t>(keys.size() - c.key_offset);
      c.type = d->d_type;
      c.inode = d->d_ino;
      c.engine_name = std::move(engine_name);
      engine_name.clear();
    }
  }

  // Sorted before the status calls, so each entry is built once, in its final place. Names that compare
  // equal ignoring case are ordered by their bytes, so the order is total.
  std::vector<std::uint32_t> order(candidates.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  const std::string_view key_view(keys);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const Candidate& ca = candidates[a];
    const Candidate& cb = candidates[b];
    const int c = key_view.substr(ca.key_offset, ca.key_length).compare(key_view.substr(cb.key_offset, cb.key_length));
    if (c != 0) return c < 0;
    return ca.engine_name < cb.engine_name;
  });

  // The status calls dominate; a large directory shares them with a second thread, which also lets
  // their waits overlap on a cold cache or a network share.
  const std::size_t count = order.size();
  std::vector<FindData> slots(count);
  std::vector<unsigned char> listed(count, 0);
  StatusPass pass{dir.get(), host_names, candidates, order, slots, listed};
  int error = 0;
  int failed_index = -1;
  if (!details) {
    // The kind comes with the name; only an entry the listing does not type, and a link (to tell one to
    // a directory from one to a file), is asked about. The identity too: the listing's inode number on
    // the directory's device.
    struct stat dir_st {};
    if (fstat(dir.get(), &dir_st) != 0) return posix::ErrnoStatus(errno, "fstat", host);
    for (std::size_t i = 0; i < count && error == 0; ++i) {
      Candidate& candidate = candidates[order[i]];
      if (candidate.type == DT_UNKNOWN) {
        error = pass.Run(i, i + 1, &failed_index);
        continue;
      }
      FindData& data = slots[i];
      data.name = std::move(candidate.engine_name);
      data.identity = FileIdentity{static_cast<std::uint64_t>(dir_st.st_dev), candidate.inode};
      if (candidate.type == DT_DIR) data.attributes = kAttrDirectory;
      if (candidate.type == DT_LNK) {
        struct stat target {};
        const char* name = host_names.data() + candidate.host_offset;
        const bool to_directory = fstatat(dir.get(), name, &target, 0) == 0 && S_ISDIR(target.st_mode);
        data.attributes = kAttrReparsePoint | (to_directory ? kAttrDirectory : 0);
      }
      listed[i] = 1;
    }
  } else {
    bool split = false;
    if (count >= kParallelStatusThreshold) {
      const std::size_t half = count / 2;
      int worker_error = 0;
      int worker_failed = -1;
      std::thread worker;
      try {
        worker = std::thread([&] { worker_error = pass.Run(half, count, &worker_failed); });
        split = true;
      } catch (const std::system_error&) {
        split = false;  // no thread to be had: do it all here
      }
      if (split) {
        error = pass.Run(0, half, &failed_index);
        worker.join();
        if (error == 0 && worker_error != 0) {
          error = worker_error;
          failed_index = worker_failed;
        }
      }
    }
    if (!split) error = pass.Run(0, count, &failed_index);
  }
  if (error != 0) {
    const Candidate& c = candidates[order[static_cast<std::size_t>(failed_index)]];
    return posix::ErrnoStatus(error, "statx", host + "/" + (host_names.data() + c.host_offset));
  }
  entries->reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (listed[i]) entries->push_back(std::move(slots[i]));
  }
  if (invisible != nullptr) *invisible = invisible_count;
  return Status::Ok();
}

Status PosixFileSystem::Stat(std::string_view path, FindData* data) {
  std::string host;
  posix::EntryRef entry;
  if (Status s = Locate(path, &host, &entry); !s.ok()) return s;
  struct statx st {};
  if (statx(entry.dir_fd, entry.name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, posix::kStatxMask, &st) != 0) {
    return posix::ErrnoStatus(errno, "statx", host);
  }
  bool link_to_directory = false;
  if (S_ISLNK(st.stx_mode)) {
    // Only looked at, to tell a link to a directory from one to a file.
    struct stat target {};
    link_to_directory = fstatat(entry.dir_fd, entry.name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode);
  }
  DosAttrib dos;
  bool have_dos = false;
  if (S_ISREG(st.stx_mode) || S_ISDIR(st.stx_mode)) {
    int err = 0;
    have_dos = posix::ReadDosAttrib(entry, &dos, &err) == posix::DosAttribState::kFound;
  }
  FindData result;
  if (Status s = codec_->Utf8ToCp932(posix::HostBaseName(host), &result.name); !s.ok()) return s;
  posix::FillFindData(st, have_dos ? &dos : nullptr, link_to_directory, &result);
  *data = std::move(result);
  return Status::Ok();
}

std::unique_ptr<FileSystem> NewPosixFileSystem(TextCodec* codec) {
  return std::make_unique<PosixFileSystem>(codec);
}

}  // namespace morva
