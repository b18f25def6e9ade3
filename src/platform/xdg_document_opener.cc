// DocumentOpener through xdg-open, started with fork and exec so that no shell reads the path.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/document_opener.h"
#include "platform/file_system.h"

namespace morva {
namespace {

// The exit status a child reports when exec itself failed: the viewer program is missing (127, as a
// shell would say) or present but not runnable (126).
constexpr int kExecMissing = 127;
constexpr int kExecRefused = 126;

class XdgDocumentOpener final : public DocumentOpener {
 public:
  XdgDocumentOpener(FileSystem* fs, std::string program) : fs_(fs), program_(std::move(program)) {}

  int Open(std::string_view engine_path) override {
    std::string host;
    if (!fs_->ToHostPath(engine_path, &host).ok()) return kDocumentNotFound;
    struct stat st {};
    if (stat(host.c_str(), &st) != 0) return kDocumentNotFound;

    // Everything the child needs is prepared before fork: after it only exec and _exit are called.
    char* const argv[] = {program_.data(), host.data(), nullptr};
    const pid_t pid = fork();
    if (pid < 0) return kDocumentNoResources;
    if (pid == 0) {
      execvp(argv[0], argv);
      _exit(errno == ENOENT ? kExecMissing : kExecRefused);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
      if (errno != EINTR) return kDocumentFailed;
    }
    if (!WIFEXITED(status)) return kDocumentFailed;
    switch (WEXITSTATUS(status)) {
      case 0:
        return kDocumentOpened + 1;
      case 2:
        return kDocumentNotFound;
      case 3:
      case kExecMissing:
        return kDocumentNoAssociation;
      case kExecRefused:
        return kDocumentBadViewer;
      default:
        return kDocumentFailed;
    }
  }

 private:
  FileSystem* fs_;
  std::string program_;
};

}  // namespace

std::unique_ptr<DocumentOpener> NewXdgDocumentOpener(FileSystem* fs, std::string program) {
  return std::make_unique<XdgDocumentOpener>(fs, std::move(program));
}

}  // namespace morva
