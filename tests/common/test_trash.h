#ifndef MORVA_TESTS_COMMON_TEST_TRASH_H_
#define MORVA_TESTS_COMMON_TEST_TRASH_H_

// A trash of the test program's own. GIO reads HOME and XDG_DATA_HOME once per process and puts a file
// into the home trash only when it lives on the home's file system, so both point into one temporary
// directory under /tmp (where every TempDir is) from the first call on, before GIO looks; child
// processes (morva-cli) inherit them.

#include <dirent.h>
#include <stdlib.h>

#include <string>

#include "common/test_util.h"

namespace morva::testing {

// The trash directory (…/Trash, with files/ and info/ once something is trashed).
inline const std::string& TestTrash() {
  static const TempDir home;
  static const std::string trash = [] {
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    return home / "data/Trash";
  }();
  return trash;
}

// The host path in the trash of what was trashed from `original` (a host path): the entry of files/
// whose .trashinfo names it. Empty when there is none.
inline std::string Trashed(const std::string& original) {
  // The trash names the original path as a URI path: every byte but the unreserved ones and '/' escaped.
  std::string escaped;
  for (unsigned char c : original) {
    if (isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      escaped.push_back(static_cast<char>(c));
    } else {
      char hex[4];
      snprintf(hex, sizeof(hex), "%%%02X", c);
      escaped += hex;
    }
  }
  const std::string info_dir = TestTrash() + "/info";
  for (const std::string& info : HostNames(info_dir)) {
    const std::string suffix = ".trashinfo";
    if (info.size() <= suffix.size() || info.compare(info.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
    if (ReadFile(info_dir + "/" + info).find("\nPath=" + escaped + "\n") == std::string::npos) continue;
    return TestTrash() + "/files/" + info.substr(0, info.size() - suffix.size());
  }
  return "";
}

}  // namespace morva::testing

#endif  // MORVA_TESTS_COMMON_TEST_TRASH_H_
