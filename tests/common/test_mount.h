#ifndef MORVA_TESTS_COMMON_TEST_MOUNT_H_
#define MORVA_TESTS_COMMON_TEST_MOUNT_H_

// A file system mounted for one test and unmounted when the object goes: a bind mount of a directory or
// a fresh tmpfs. Mounting needs privilege (root, as in the sandbox and in CI); without it ok() is false
// and why() says so, for GTEST_SKIP.

#include <sys/mount.h>
#include <sys/vfs.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace morva::testing {

class TestMount {
 public:
  // Mounts `source` (a directory) again on `target` (an existing directory).
  static TestMount Bind(const std::string& source, const std::string& target) {
    return TestMount(target, mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr));
  }
  // Mounts a fresh, empty tmpfs on `target`.
  static TestMount Tmpfs(const std::string& target) {
    return TestMount(target, mount("morva-test", target.c_str(), "tmpfs", 0, "size=4m"));
  }

  TestMount(TestMount&& other) noexcept : target_(std::move(other.target_)), why_(std::move(other.why_)) {
    other.target_.clear();
  }
  TestMount(const TestMount&) = delete;
  TestMount& operator=(const TestMount&) = delete;
  TestMount& operator=(TestMount&&) = delete;
  // Before the temporary directory holding it goes, whose removal would otherwise reach into it.
  ~TestMount() {
    if (!target_.empty()) umount2(target_.c_str(), MNT_DETACH);
  }

  bool ok() const { return why_.empty(); }
  const std::string& why() const { return why_; }

 private:
  TestMount(const std::string& target, int rc) {
    if (rc == 0) {
      target_ = target;
    } else {
      why_ = "cannot mount on " + target + ": " + std::strerror(errno) + " (mounting needs root)";
    }
  }

  std::string target_;  // empty when nothing is mounted
  std::string why_;
};

// Whether `path` lies on a tmpfs, where no trash is made at the top of a mount.
inline bool OnTmpfs(const std::string& path) {
  struct statfs info {};
  return statfs(path.c_str(), &info) == 0 && info.f_type == 0x01021994;
}

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_TEST_MOUNT_H_
