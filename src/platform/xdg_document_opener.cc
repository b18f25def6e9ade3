// DocumentOpener through xdg-open, started detached with a double fork and exec so that no shell reads
// the path and nothing waits for the viewer.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/document_opener.h"
#include "platform/file_system.h"
#include "platform/posix_util.h"

namespace morva {
namespace {

// How long Open waits to learn whether exec of the viewer succeeded. An exec takes milliseconds; the
// limit only keeps a machine under heavy load from holding the caller (the window) longer than this.
constexpr int kExecReportMilliseconds = 2000;

// The program `program` names, as execvp would find it: itself when it holds a slash, else the first
// runnable file of that name in PATH. Empty when there is none. Looked up before the fork, so that the
// child only calls exec, which is safe after fork in a program with threads.
std::string FindProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path_variable = std::getenv("PATH");
  const std::string_view path = path_variable != nullptr ? path_variable : "/usr/local/bin:/usr/bin:/bin";
  std::string found_not_runnable;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(':', start);
    if (end == std::string_view::npos) end = path.size();
    std::string candidate(end > start ? path.substr(start, end - start) : std::string_view("."));
    candidate.push_back('/');
    candidate.append(program);
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
      // A file that is there but cannot run: exec reports it, unless a runnable one comes later.
      if (found_not_runnable.empty()) found_not_runnable = candidate;
    }
    start = end + 1;
  }
  return found_not_runnable;
}

class XdgDocumentOpener final : public DocumentOpener {
 public:
  XdgDocumentOpener(FileSystem* fs, std::string program) : fs_(fs), program_(std::move(program)) {}

  int Open(std::string_view engine_path) override {
    std::string host;
    if (!fs_->ToHostPath(engine_path, &host).ok()) return kDocumentNotFound;
    struct stat st {};
    if (stat(host.c_str(), &st) != 0) return kDocumentNotFound;
    std::string executable = FindProgram(program_);
    if (executable.empty()) return kDocumentViewerMissing;

    // The viewer reports a failed exec through the pipe; a successful exec closes its end unwritten.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return kDocumentNoResources;
    posix::ScopedFd read_end(report[0]);
    posix::ScopedFd write_end(report[1]);
    // Everything the children need is prepared before fork: after it only async-signal-safe calls.
    char* const argv[] = {program_.data(), host.data(), nullptr};
    const pid_t pid = fork();
    if (pid < 0) return kDocumentNoResources;
    if (pid == 0) {
      // The middle child ends at once, so that the viewer is nobody's child here: nothing waits for it,
      // and no zombie is left when it ends.
      const pid_t viewer = fork();
      if (viewer != 0) _exit(viewer < 0 ? 1 : 0);
      setsid();
      // Descriptors this process opened without close-on-exec (a held log lock among them) must not
      // live on in the viewer for as long as it runs.
      close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
      execv(executable.c_str(), argv);
      const int error = errno;
      (void)!write(write_end.get(), &error, sizeof error);
      _exit(127);
    }
    write_end.reset();
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
      if (errno != EINTR) return kDocumentFailed;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return kDocumentNoResources;

    pollfd ready{read_end.get(), POLLIN, 0};
    int polled;
    do {
      polled = poll(&ready, 1, kExecReportMilliseconds);
    } while (polled < 0 && errno == EINTR);
    // Nothing within the limit: the viewer is still on its way, which is no failure.
    if (polled <= 0) return kDocumentOpened + 1;
    int error = 0;
    ssize_t got;
    do {
      got = read(read_end.get(), &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof error)) return kDocumentOpened + 1;
    return error == ENOENT ? kDocumentViewerMissing : kDocumentBadViewer;
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
