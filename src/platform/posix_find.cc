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
#include <utility>
#include <vector>

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
// the directory, as statx does, instead of walking the whole path again; older kernels get lgetxattr on
// the full path. Once the file system says it has no user extended attributes, nobody is asked again.
class DirectoryDosAttribReader {
 public:
  DirectoryDosAttribReader(int dir_fd, const std::string& dir_path) : dir_fd_(dir_fd), dir_path_(dir_path) {}

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
      path_.assign(dir_path_);
      if (path_.empty() || path_.back() != '/') path_.push_back('/');
      path_.append(name);
      rc = lgetxattr(path_.c_str(), kDosAttribXattrName, buffer, sizeof(buffer));
      err = rc < 0 ? errno : 0;
    }
    const posix::DosAttribState state = posix::ClassifyDosAttribRead(rc, err, buffer, out);
    if (state == posix::DosAttribState::kUnsupported) unsupported_ = true;
    return state == posix::DosAttribState::kFound;
  }

 private:
  int dir_fd_;
  const std::string& dir_path_;
  bool use_at_ = true;
  bool unsupported_ = false;
  std::string path_;
};

// One listed entry with its sort key: the name's characters through ToUpper, which orders exactly as
// cp932::CompareIgnoreCase does.
struct ListedEntry {
  std::u16string key;
  FindData data;
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
  entries->clear();
  if (invisible != nullptr) *invisible = 0;
  std::string host;
  if (Status s = ToHostPath(directory, &host); !s.ok()) return s;
  posix::ScopedFd dir(open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.valid()) return posix::ErrnoStatus(errno, "open directory", host);

  WildcardPattern matcher(pattern);
  const bool match_all = matcher.MatchesEverything();
  DirectoryDosAttribReader dos_reader(dir.get(), host);
  std::vector<ListedEntry> listed;
  std::size_t invisible_count = 0;
  std::string engine_name;
  std::u16string key;

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
    for (long offset = 0; offset < bytes;) {
      const auto* d = reinterpret_cast<const LinuxDirent64*>(reinterpret_cast<const char*>(buffer.data()) + offset);
      offset += d->d_reclen;
      const char* name = d->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      const std::string_view host_name(name);
      if (!posix::EngineNameOf(codec_, host_name, &engine_name)) {
        ++invisible_count;
        continue;
      }
      key.clear();
      AppendUpperCodes(engine_name, &key);
      // Matching on the name alone, before any further system call.
      if (!match_all && !matcher.MatchesUpper(key)) continue;

      struct statx st;
      if (statx(dir.get(), name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, posix::kStatxMask, &st) != 0) {
        if (errno == ENOENT) continue;  // removed since the directory was read
        return posix::ErrnoStatus(errno, "statx", host + "/" + name);
      }
      bool link_to_directory = false;
      DosAttrib dos;
      bool have_dos = false;
      if (S_ISLNK(st.stx_mode)) {
        struct stat target;
        link_to_directory = fstatat(dir.get(), name, &target, 0) == 0 && S_ISDIR(target.st_mode);
      } else if (S_ISREG(st.stx_mode) || S_ISDIR(st.stx_mode)) {
        have_dos = dos_reader.Read(name, &dos);
      }
      ListedEntry& entry = listed.emplace_back();
      entry.key = key;
      entry.data.name = engine_name;
      posix::FillFindData(st, have_dos ? &dos : nullptr, link_to_directory, &entry.data);
    }
  }

  // Names that compare equal ignoring case are ordered by their bytes, so the order is total.
  std::sort(listed.begin(), listed.end(), [](const ListedEntry& a, const ListedEntry& b) {
    const int c = a.key.compare(b.key);
    if (c != 0) return c < 0;
    return a.data.name < b.data.name;
  });
  entries->reserve(listed.size());
  for (ListedEntry& e : listed) entries->push_back(std::move(e.data));
  if (invisible != nullptr) *invisible = invisible_count;
  return Status::Ok();
}

Status PosixFileSystem::Stat(std::string_view path, FindData* data) {
  std::string host;
  if (Status s = ToHostPath(path, &host); !s.ok()) return s;
  struct statx st {};
  if (statx(AT_FDCWD, host.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, posix::kStatxMask, &st) != 0) {
    return posix::ErrnoStatus(errno, "statx", host);
  }
  bool link_to_directory = false;
  if (S_ISLNK(st.stx_mode)) {
    struct stat target {};
    link_to_directory = stat(host.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
  }
  DosAttrib dos;
  bool have_dos = false;
  if (S_ISREG(st.stx_mode) || S_ISDIR(st.stx_mode)) {
    int err = 0;
    have_dos = posix::ReadDosAttrib(host, &dos, &err) == posix::DosAttribState::kFound;
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
