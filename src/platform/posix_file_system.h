#ifndef MORVA_PLATFORM_POSIX_FILE_SYSTEM_H_
#define MORVA_PLATFORM_POSIX_FILE_SYSTEM_H_

#include "platform/file_system.h"
#include "platform/posix_confinement.h"
#include "platform/posix_util.h"
#include "platform/text_codec.h"

namespace morva {

// The Linux file system behind the engine. Its operations live in one source file per concern:
// posix_paths.cc (path mapping, volume label, drive type), posix_find.cc (search and stat),
// posix_attributes.cc (attributes and times), posix_move.cc (move, copy, directories, the declared
// roots), posix_files.cc (reading and replacing whole files), posix_append.cc (appending to the log),
// posix_locked_file.cc (the locked, mapped file beside the log), posix_trash.cc and posix_trash_can.cc (the trash),
// posix_delete_tree.cc (permanent deletion), posix_overwrite.cc (overwriting before deletion),
// posix_update.cc (a file changed under the cover of its safety copy).
class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(TextCodec* codec) : codec_(codec) {}

  Status ToHostPath(std::string_view engine_path, std::string* host_path) override;
  Status FromHostPath(std::string_view host_path, std::string* engine_path) override;
  Status FindFiles(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                   std::size_t* invisible) override;
  Status FindNames(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                   std::size_t* invisible) override;
  Status Stat(std::string_view path, FindData* data) override;
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
  Status SetAttributesGivingWriteBits(std::string_view path, std::uint32_t attributes,
                                      std::uint32_t write_bits) override;
  Status SetTimes(std::string_view path, const FileTime* creation_time, const FileTime* last_access_time,
                  const FileTime* last_write_time) override;
  Status Move(std::string_view from, std::string_view to) override;
  Status Copy(std::string_view from, std::string_view to, bool overwrite) override;
  Status CreateDirectory(std::string_view path) override;
  void ConfineTo(const std::vector<std::string>& roots) override;
  void EndConfinement() override;
  Status GetVolumeLabel(std::string_view path, std::string* label) override;
  DriveType GetDriveType(std::string_view path) override;
  Status ReadFile(std::string_view path, std::uint64_t max_size, std::string* data) override;
  Status WriteFile(std::string_view path, std::string_view data) override;
  Status OpenRead(std::string_view path, std::unique_ptr<ReadableFile>* file) override;
  Status OpenAppend(std::string_view path, std::unique_ptr<AppendFile>* file) override;
  Status OpenLockedFile(std::string_view path, std::size_t map_size, bool wait,
                        std::unique_ptr<LockedFile>* file) override;
  Status OpenReplacement(std::string_view path, std::string_view temporary_name,
                         std::unique_ptr<ReplacementFile>* file) override;
  Status RemoveFile(std::string_view path) override;
  Status Trash(std::string_view path) override;
  int ProbeRecycleBin() override;
  Status ProbeDeletion(std::string_view path, bool into_trash) override;
  Status DeleteTree(std::string_view path) override;
  Status Overwrite(std::string_view path, int level) override;
  Status OpenUpdate(std::string_view path, std::string_view backup, std::unique_ptr<FileUpdate>* update) override;
  Status CheckLeftoverCopy(std::string_view path, std::string_view backup, bool restore, LeftoverCopy* found) override;

 private:
  // FindFiles, or with `details` false FindNames.
  Status List(std::string_view directory, std::string_view pattern, bool details, std::vector<FindData>* entries,
              std::size_t* invisible);

  // SetAttributes, giving a file whose read-only flag is cleared the write permission `write_bits`.
  Status ChangeAttributes(std::string_view path, std::uint32_t attributes, std::uint32_t write_bits);

  // The host path of `path` and where the entry it names is reached (see posix::Confinement::Locate).
  Status Locate(std::string_view path, std::string* host, posix::EntryRef* entry);

  TextCodec* codec_;
  // The last directory ToHostPath converted, and its host form.
  std::string cached_engine_directory_;
  std::string cached_host_directory_;
  posix::Confinement confinement_;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_POSIX_FILE_SYSTEM_H_
