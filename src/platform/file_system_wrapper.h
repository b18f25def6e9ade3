#ifndef MORVA_PLATFORM_FILE_SYSTEM_WRAPPER_H_
#define MORVA_PLATFORM_FILE_SYSTEM_WRAPPER_H_

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace morva {

// Forwards every call to another file system. Derive from it to change one call and keep the rest.
class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem* target) : target_(target) {}

  Status ToHostPath(std::string_view engine_path, std::string* host_path) override {
    return target_->ToHostPath(engine_path, host_path);
  }
  Status FromHostPath(std::string_view host_path, std::string* engine_path) override {
    return target_->FromHostPath(host_path, engine_path);
  }
  Status FindFiles(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                   std::size_t* invisible) override {
    return target_->FindFiles(directory, pattern, entries, invisible);
  }
  Status FindNames(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                   std::size_t* invisible) override {
    return target_->FindNames(directory, pattern, entries, invisible);
  }
  Status Stat(std::string_view path, FindData* data) override { return target_->Stat(path, data); }
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override {
    return target_->SetAttributes(path, attributes);
  }
  Status SetAttributesGivingWriteBits(std::string_view path, std::uint32_t attributes,
                                      std::uint32_t write_bits) override {
    return target_->SetAttributesGivingWriteBits(path, attributes, write_bits);
  }
  Status SetTimes(std::string_view path, const FileTime* creation_time, const FileTime* last_access_time,
                  const FileTime* last_write_time) override {
    return target_->SetTimes(path, creation_time, last_access_time, last_write_time);
  }
  Status Move(std::string_view from, std::string_view to) override { return target_->Move(from, to); }
  Status Copy(std::string_view from, std::string_view to, bool overwrite) override {
    return target_->Copy(from, to, overwrite);
  }
  Status CreateDirectory(std::string_view path) override { return target_->CreateDirectory(path); }
  void ConfineTo(const std::vector<std::string>& roots) override { target_->ConfineTo(roots); }
  void EndConfinement() override { target_->EndConfinement(); }
  Status GetVolumeLabel(std::string_view path, std::string* label) override {
    return target_->GetVolumeLabel(path, label);
  }
  DriveType GetDriveType(std::string_view path) override { return target_->GetDriveType(path); }
  Status ReadFile(std::string_view path, std::uint64_t max_size, std::string* data) override {
    return target_->ReadFile(path, max_size, data);
  }
  Status WriteFile(std::string_view path, std::string_view data) override {
    return target_->WriteFile(path, data);
  }
  Status OpenRead(std::string_view path, std::unique_ptr<ReadableFile>* file) override {
    return target_->OpenRead(path, file);
  }
  Status OpenAppend(std::string_view path, std::unique_ptr<AppendFile>* file) override {
    return target_->OpenAppend(path, file);
  }
  Status OpenLockedFile(std::string_view path, std::size_t map_size, bool wait,
                        std::unique_ptr<LockedFile>* file) override {
    return target_->OpenLockedFile(path, map_size, wait, file);
  }
  Status OpenReplacement(std::string_view path, std::string_view temporary_name,
                         std::unique_ptr<ReplacementFile>* file) override {
    return target_->OpenReplacement(path, temporary_name, file);
  }
  Status RemoveFile(std::string_view path) override { return target_->RemoveFile(path); }
  Status Trash(std::string_view path) override { return target_->Trash(path); }
  int ProbeRecycleBin() override { return target_->ProbeRecycleBin(); }
  Status ProbeDeletion(std::string_view path, bool into_trash) override {
    return target_->ProbeDeletion(path, into_trash);
  }
  Status DeleteTree(std::string_view path) override { return target_->DeleteTree(path); }
  Status Overwrite(std::string_view path, int level) override { return target_->Overwrite(path, level); }
  Status OpenUpdate(std::string_view path, std::string_view backup, std::unique_ptr<FileUpdate>* update) override {
    return target_->OpenUpdate(path, backup, update);
  }
  Status CheckLeftoverCopy(std::string_view path, std::string_view backup, bool restore,
                           LeftoverCopy* found) override {
    return target_->CheckLeftoverCopy(path, backup, restore, found);
  }

 protected:
  FileSystem* target() const { return target_; }

 private:
  FileSystem* target_;
};

// The operations a fault can be injected into.
enum class FsOp {
  kToHostPath,
  kFromHostPath,
  kFindFiles,
  kStat,
  kSetAttributes,
  kSetTimes,
  kMove,
  kCopy,
  kCreateDirectory,
  kGetVolumeLabel,
  kReadFile,
  kOpenRead,
  kWriteFile,
  kOpenAppend,
  kAppend,  // AppendFile::Append on a file opened through the wrapper; the path is the opened one
  kOpenLockedFile,
  kOpenReplacement,
  kReplacementAppend,  // ReplacementFile::Append through the wrapper; the path is the replaced file
  kRemoveFile,
  kTrash,
  kDeleteTree,
  kOverwrite,
  kOpenUpdate,    // the safety copy cannot be made (a directory without write permission, a full disk)
  kUpdateWrite,   // FileUpdate::Write and CopyOriginal through the wrapper; the path is the updated file
  kUpdateCommit,  // FileUpdate::Commit's flush through the wrapper
  kUpdateFlushVolume,  // FileUpdate::FlushVolume through the wrapper; the path is the updated file
  kCount
};

// A file system for tests that fails chosen calls before they reach the target: a rename that fails, a
// disk that fills up. A fault matches an operation and a part of its first path argument (empty matches
// every path); after letting `skip` matching calls through, it fires `times` times (or for ever when
// `times` is negative). Calls are counted per operation, failed or not.
class FaultInjectingFileSystem : public FileSystemWrapper {
 public:
  explicit FaultInjectingFileSystem(FileSystem* target) : FileSystemWrapper(target) {}

  void FailOn(FsOp op, std::string_view path_part, int code, int times = -1, int skip = 0) {
    faults_.push_back(Fault{op, std::string(path_part), code, times, skip});
  }
  void ClearFaults() { faults_.clear(); }
  // Called before every checked call with its operation and path, ahead of the faults: a test looks at
  // the disk as the call finds it (a file's bytes just before it is deleted).
  void Observe(std::function<void(FsOp, std::string_view)> observer) { observer_ = std::move(observer); }
  int calls(FsOp op) const { return calls_[static_cast<std::size_t>(op)]; }
  // Updates opened from now on say their safety copies share the file's blocks, as on a file system
  // with reflinks, whatever the file system under the test does.
  void ShareUpdateData() { share_update_data_ = true; }

  Status ToHostPath(std::string_view engine_path, std::string* host_path) override {
    if (Status s = Check(FsOp::kToHostPath, engine_path); !s.ok()) return s;
    return FileSystemWrapper::ToHostPath(engine_path, host_path);
  }
  Status FromHostPath(std::string_view host_path, std::string* engine_path) override {
    if (Status s = Check(FsOp::kFromHostPath, host_path); !s.ok()) return s;
    return FileSystemWrapper::FromHostPath(host_path, engine_path);
  }
  Status FindFiles(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                   std::size_t* invisible) override {
    if (Status s = Check(FsOp::kFindFiles, directory); !s.ok()) return s;
    return FileSystemWrapper::FindFiles(directory, pattern, entries, invisible);
  }
  Status FindNames(std::string_view directory, std::string_view pattern, std::vector<FindData>* entries,
                   std::size_t* invisible) override {
    // A listing is a listing: the faults of kFindFiles hold for both kinds.
    if (Status s = Check(FsOp::kFindFiles, directory); !s.ok()) return s;
    return FileSystemWrapper::FindNames(directory, pattern, entries, invisible);
  }
  Status Stat(std::string_view path, FindData* data) override {
    if (Status s = Check(FsOp::kStat, path); !s.ok()) return s;
    return FileSystemWrapper::Stat(path, data);
  }
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override {
    if (Status s = Check(FsOp::kSetAttributes, path); !s.ok()) return s;
    return FileSystemWrapper::SetAttributes(path, attributes);
  }
  Status SetAttributesGivingWriteBits(std::string_view path, std::uint32_t attributes,
                                      std::uint32_t write_bits) override {
    if (Status s = Check(FsOp::kSetAttributes, path); !s.ok()) return s;
    return FileSystemWrapper::SetAttributesGivingWriteBits(path, attributes, write_bits);
  }
  Status SetTimes(std::string_view path, const FileTime* creation_time, const FileTime* last_access_time,
                  const FileTime* last_write_time) override {
    if (Status s = Check(FsOp::kSetTimes, path); !s.ok()) return s;
    return FileSystemWrapper::SetTimes(path, creation_time, last_access_time, last_write_time);
  }
  Status Move(std::string_view from, std::string_view to) override {
    if (Status s = Check(FsOp::kMove, from); !s.ok()) return s;
    return FileSystemWrapper::Move(from, to);
  }
  Status Copy(std::string_view from, std::string_view to, bool overwrite) override {
    if (Status s = Check(FsOp::kCopy, from); !s.ok()) return s;
    return FileSystemWrapper::Copy(from, to, overwrite);
  }
  Status CreateDirectory(std::string_view path) override {
    if (Status s = Check(FsOp::kCreateDirectory, path); !s.ok()) return s;
    return FileSystemWrapper::CreateDirectory(path);
  }
  Status GetVolumeLabel(std::string_view path, std::string* label) override {
    if (Status s = Check(FsOp::kGetVolumeLabel, path); !s.ok()) return s;
    return FileSystemWrapper::GetVolumeLabel(path, label);
  }
  Status ReadFile(std::string_view path, std::uint64_t max_size, std::string* data) override {
    if (Status s = Check(FsOp::kReadFile, path); !s.ok()) return s;
    return FileSystemWrapper::ReadFile(path, max_size, data);
  }
  Status OpenRead(std::string_view path, std::unique_ptr<ReadableFile>* file) override {
    if (Status s = Check(FsOp::kOpenRead, path); !s.ok()) return s;
    return FileSystemWrapper::OpenRead(path, file);
  }
  Status WriteFile(std::string_view path, std::string_view data) override {
    if (Status s = Check(FsOp::kWriteFile, path); !s.ok()) return s;
    return FileSystemWrapper::WriteFile(path, data);
  }
  Status OpenAppend(std::string_view path, std::unique_ptr<AppendFile>* file) override {
    if (Status s = Check(FsOp::kOpenAppend, path); !s.ok()) return s;
    std::unique_ptr<AppendFile> opened;
    if (Status s = FileSystemWrapper::OpenAppend(path, &opened); !s.ok()) return s;
    *file = std::make_unique<CheckedAppendFile>(this, std::string(path), std::move(opened));
    return Status::Ok();
  }
  Status OpenLockedFile(std::string_view path, std::size_t map_size, bool wait,
                        std::unique_ptr<LockedFile>* file) override {
    if (Status s = Check(FsOp::kOpenLockedFile, path); !s.ok()) return s;
    return FileSystemWrapper::OpenLockedFile(path, map_size, wait, file);
  }
  Status OpenReplacement(std::string_view path, std::string_view temporary_name,
                         std::unique_ptr<ReplacementFile>* file) override {
    if (Status s = Check(FsOp::kOpenReplacement, path); !s.ok()) return s;
    std::unique_ptr<ReplacementFile> opened;
    if (Status s = FileSystemWrapper::OpenReplacement(path, temporary_name, &opened); !s.ok()) return s;
    *file = std::make_unique<CheckedReplacementFile>(this, std::string(path), std::move(opened));
    return Status::Ok();
  }
  Status RemoveFile(std::string_view path) override {
    if (Status s = Check(FsOp::kRemoveFile, path); !s.ok()) return s;
    return FileSystemWrapper::RemoveFile(path);
  }
  Status Trash(std::string_view path) override {
    if (Status s = Check(FsOp::kTrash, path); !s.ok()) return s;
    return FileSystemWrapper::Trash(path);
  }
  Status DeleteTree(std::string_view path) override {
    if (Status s = Check(FsOp::kDeleteTree, path); !s.ok()) return s;
    return FileSystemWrapper::DeleteTree(path);
  }
  Status Overwrite(std::string_view path, int level) override {
    if (Status s = Check(FsOp::kOverwrite, path); !s.ok()) return s;
    return FileSystemWrapper::Overwrite(path, level);
  }
  Status OpenUpdate(std::string_view path, std::string_view backup, std::unique_ptr<FileUpdate>* update) override {
    if (Status s = Check(FsOp::kOpenUpdate, path); !s.ok()) return s;
    std::unique_ptr<FileUpdate> opened;
    if (Status s = FileSystemWrapper::OpenUpdate(path, backup, &opened); !s.ok()) return s;
    *update = std::make_unique<CheckedFileUpdate>(this, std::string(path), std::move(opened), share_update_data_);
    return Status::Ok();
  }

 private:
  // A disk that fills up, or a flush that fails, while a file is changed under its safety copy.
  class CheckedFileUpdate : public FileUpdate {
   public:
    CheckedFileUpdate(FaultInjectingFileSystem* owner, std::string path, std::unique_ptr<FileUpdate> update,
                      bool shares_data)
        : owner_(owner), path_(std::move(path)), update_(std::move(update)), shares_data_(shares_data) {}
    ReadableFile& original() override { return update_->original(); }
    Status Write(std::uint64_t offset, std::string_view data) override {
      if (Status s = owner_->Check(FsOp::kUpdateWrite, path_); !s.ok()) return s;
      return update_->Write(offset, data);
    }
    Status CopyOriginal(std::uint64_t original_offset, std::uint64_t offset) override {
      if (Status s = owner_->Check(FsOp::kUpdateWrite, path_); !s.ok()) return s;
      return update_->CopyOriginal(original_offset, offset);
    }
    Status Commit() override {
      if (Status s = owner_->Check(FsOp::kUpdateCommit, path_); !s.ok()) return s;
      return update_->Commit();
    }
    Status Restore() override { return update_->Restore(); }
    bool removed() const override { return update_->removed(); }
    bool shares_data() const override { return shares_data_ || update_->shares_data(); }
    std::uint64_t volume() const override { return update_->volume(); }
    Status FlushVolume() override {
      if (Status s = owner_->Check(FsOp::kUpdateFlushVolume, path_); !s.ok()) return s;
      return update_->FlushVolume();
    }
    void VolumeFlushed() override { update_->VolumeFlushed(); }

   private:
    FaultInjectingFileSystem* owner_;
    std::string path_;
    std::unique_ptr<FileUpdate> update_;
    bool shares_data_;
  };

  // A disk that fills up while a replacement is written.
  class CheckedReplacementFile : public ReplacementFile {
   public:
    CheckedReplacementFile(FaultInjectingFileSystem* owner, std::string path, std::unique_ptr<ReplacementFile> file)
        : owner_(owner), path_(std::move(path)), file_(std::move(file)) {}
    Status Append(std::string_view data) override {
      if (Status s = owner_->Check(FsOp::kReplacementAppend, path_); !s.ok()) return s;
      return file_->Append(data);
    }
    Status Commit() override { return file_->Commit(); }

   private:
    FaultInjectingFileSystem* owner_;
    std::string path_;
    std::unique_ptr<ReplacementFile> file_;
  };

  // Passes each append through the faults of kAppend first: a disk that fills up in the middle of a log.
  class CheckedAppendFile : public AppendFile {
   public:
    CheckedAppendFile(FaultInjectingFileSystem* owner, std::string path, std::unique_ptr<AppendFile> file)
        : owner_(owner), path_(std::move(path)), file_(std::move(file)) {}
    Status Append(std::string_view data) override {
      if (Status s = owner_->Check(FsOp::kAppend, path_); !s.ok()) return s;
      return file_->Append(data);
    }
    Status Describe(std::uint64_t* size, FileIdentity* identity) override { return file_->Describe(size, identity); }

   private:
    FaultInjectingFileSystem* owner_;
    std::string path_;
    std::unique_ptr<AppendFile> file_;
  };

  struct Fault {
    FsOp op;
    std::string path_part;
    int code;
    int times;
    int skip;
  };

  Status Check(FsOp op, std::string_view path) {
    ++calls_[static_cast<std::size_t>(op)];
    if (observer_) observer_(op, path);
    for (Fault& f : faults_) {
      if (f.op != op || f.times == 0) continue;
      if (!f.path_part.empty() && path.find(f.path_part) == std::string_view::npos) continue;
      if (f.skip > 0) {
        --f.skip;
        continue;
      }
      if (f.times > 0) --f.times;
      return Status::Error(f.code, "injected fault");
    }
    return Status::Ok();
  }

  std::vector<Fault> faults_;
  std::function<void(FsOp, std::string_view)> observer_;
  bool share_update_data_ = false;
  std::array<int, static_cast<std::size_t>(FsOp::kCount)> calls_{};
};

}  // namespace morva

#endif  // MORVA_PLATFORM_FILE_SYSTEM_WRAPPER_H_
