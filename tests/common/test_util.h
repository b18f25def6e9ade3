#ifndef MORVA_TESTS_COMMON_TEST_UTIL_H_
#define MORVA_TESTS_COMMON_TEST_UTIL_H_

// Helpers shared by the test programs: a temporary directory under /tmp removed with everything in it,
// a scoped change of the current directory, small file helpers, and engine paths for host paths.

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva::testing {

// path() is free of symbolic links, so it can be compared with getcwd and realpath.
class TempDir {
 public:
  TempDir() {
    char templ[] = "/tmp/morva-test-XXXXXX";
    if (mkdtemp(templ) == nullptr) return;
    std::unique_ptr<char, decltype(&free)> real(realpath(templ, nullptr), &free);
    path_ = real ? real.get() : templ;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    if (path_.empty()) return;
    // Depth first, never following a link; read-only entries are no obstacle to root or to the owner.
    nftw(
        path_.c_str(),
        [](const char* p, const struct stat* st, int, struct FTW*) {
          if (S_ISDIR(st->st_mode)) {
            chmod(p, 0700);
            return rmdir(p) == 0 ? 0 : 0;
          }
          unlink(p);
          return 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
  }

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  std::string Sub(std::string_view name) const { return path_ + "/" + std::string(name); }
  std::string operator/(std::string_view name) const { return Sub(name); }

  // Writes `text` to the file `name` (relative to the directory), creating or truncating it.
  bool WriteFile(std::string_view name, std::string_view text) const {
    std::ofstream out(Sub(name), std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
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

inline void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// Puts a symbolic link to `target` in place of the directory `dir`, which moves to `dir`.real: what
// another user with write access to the tree can do while a run is at work.
inline bool SwapForLink(const std::string& dir, const std::string& target) {
  return rename(dir.c_str(), (dir + ".real").c_str()) == 0 && symlink(target.c_str(), dir.c_str()) == 0;
}

// Every name in a host directory, dot files included (a leftover temporary file shows here), sorted.
inline std::vector<std::string> HostNames(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return names;
  while (struct dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// The engine path of an absolute host path (ASCII or UTF-8 that has a code page 932 form).
inline std::string EnginePath(TextCodec* codec, const std::string& host) {
  std::string cp932;
  EXPECT_TRUE(codec->Utf8ToCp932(host, &cp932).ok()) << host;
  std::string out = "Z:";
  for (char c : cp932) out.push_back(c == '/' ? '\\' : c);
  return out;
}

// The code page 932 form of UTF-8 text written in a test.
inline std::string Sjis(TextCodec* codec, const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(codec->Utf8ToCp932(utf8, &out).ok()) << utf8;
  return out;
}

// Whether UTF-8 `text` holds a Japanese word (kana or kanji): a text the program left untranslated.
// Marks and brackets ("→", "】") read the same in English, and so do the examples of the full-width /
// half-width rule, which show kana in any language.
inline bool HasJapaneseWord(std::string_view given) {
  std::string text(given);
  for (const std::string_view example : {"ｱ→ア", "ア→ｱ", "。 、 ゜ ゛ ー", "゛ ゜"}) {
    for (std::size_t at = text.find(example); at != std::string::npos; at = text.find(example, at)) {
      text.erase(at, example.size());
    }
  }
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    if ((b(0) & 0xF0) != 0xE0) continue;
    const char32_t c = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF66 && c <= 0xFF9F)) return true;
  }
  return false;
}

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_TEST_UTIL_H_
