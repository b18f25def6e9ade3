#ifndef MORVA_TESTS_PLATFORM_PATHS_TEMP_DIR_H_
#define MORVA_TESTS_PLATFORM_PATHS_TEMP_DIR_H_

#include <fcntl.h>
#include <ftw.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace morva::test {

// A fresh directory under /tmp, removed with everything in it (links are removed, never followed) when
// the object goes. path() is free of symbolic links, so it can be compared with getcwd and realpath.
class PathsTempDir {
 public:
  PathsTempDir() {
    char pattern[] = "/tmp/morva_paths_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    std::unique_ptr<char, decltype(&free)> real(realpath(pattern, nullptr), &free);
    path_ = real ? real.get() : pattern;
  }
  PathsTempDir(const PathsTempDir&) = delete;
  PathsTempDir& operator=(const PathsTempDir&) = delete;
  ~PathsTempDir() {
    if (path_.empty()) return;
    nftw(path_.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
         FTW_DEPTH | FTW_PHYS);
  }

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

  // Writes `text` to the file `name` (relative to the directory), creating or truncating it.
  bool WriteFile(std::string_view name, std::string_view text) const {
    const std::string full = *this / name;
    std::unique_ptr<FILE, decltype(&fclose)> f(fopen(full.c_str(), "we"), &fclose);
    return f && fwrite(text.data(), 1, text.size(), f.get()) == text.size();
  }

 private:
  std::string path_;
};

// Changes the current directory for the life of the object and restores the previous one.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::string& dir) : old_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    ok_ = old_ >= 0 && chdir(dir.c_str()) == 0;
  }
  ScopedChdir(const ScopedChdir&) = delete;
  ScopedChdir& operator=(const ScopedChdir&) = delete;
  ~ScopedChdir() {
    if (old_ < 0) return;
    if (fchdir(old_) != 0) perror("fchdir");
    close(old_);
  }
  bool ok() const { return ok_; }

 private:
  int old_;
  bool ok_ = false;
};

}  // namespace morva::test

#endif  // MORVA_TESTS_PLATFORM_PATHS_TEMP_DIR_H_
