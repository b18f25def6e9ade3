#include "ui/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace morva {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler reaches no object: the write end of the pipe is the one thing it needs, so it is
// kept where the handler can read it. Only async-signal-safe calls below.
volatile sig_atomic_t g_write_fd = -1;

void OnSignal(int) {
  const int saved_errno = errno;
  const char byte = 1;
  // A full pipe already holds a wake-up: a lost byte loses nothing.
  [[maybe_unused]] const ssize_t written = ::write(g_write_fd, &byte, 1);
  errno = saved_errno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  int fds[2];
  if (g_write_fd != -1 || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  read_fd_ = fds[0];
  write_fd_ = fds[1];
  g_write_fd = write_fd_;
  notifier_ = new QSocketNotifier(read_fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Drain);
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Restarted system calls: a signal must not fail a file operation of a run in progress.
  action.sa_flags = SA_RESTART;
  for (int signal_number : kSignals) ::sigaction(signal_number, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  if (notifier_ == nullptr) return;
  for (int signal_number : kSignals) std::signal(signal_number, SIG_DFL);
  g_write_fd = -1;
  notifier_->setEnabled(false);
  ::close(read_fd_);
  ::close(write_fd_);
}

void TerminationSignals::Drain() {
  char buffer[64];
  while (::read(read_fd_, buffer, sizeof buffer) > 0) {
  }
  emit Requested();
}

}  // namespace morva
