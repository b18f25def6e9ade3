#include "mp3_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace bench {

Mp3Files::Mp3Files(const std::string& dir) {
  for (const std::string& name : FilesEndingIn(dir, ".mp3")) paths_.push_back(dir + "/" + name);
}

Mp3Files::Mp3Files(const char* templ, int count, const std::string& data)
    : own_(std::make_unique<TempDirectory>(templ)) {
  if (own_->path().empty()) return;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "/song%05d.mp3", i);
    const std::string file = own_->path() + name;
    const int fd = open(file.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) continue;
    const bool ok = write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    close(fd);
    if (ok) paths_.push_back(file);
  }
}

Mp3Files InitializeWithMp3Files(int argc, char** argv, int default_count, const char* templ,
                                std::string (*make_data)()) {
  const std::string dir = TakeFlag(&argc, argv, "--mp3_dir");
  const int count = InitializeWithFileCount(argc, argv, default_count);
  return dir.empty() ? Mp3Files(templ, count, make_data()) : Mp3Files(dir);
}

bool ToEnginePaths(morva::FileSystem& fs, const std::vector<std::string>& host_paths,
                   std::vector<std::string>* engine_paths) {
  for (const std::string& host : host_paths) {
    if (!fs.FromHostPath(host, &engine_paths->emplace_back()).ok()) return false;
  }
  return true;
}

}  // namespace bench
