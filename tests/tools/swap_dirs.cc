// Swaps each directory given for a symbolic link to OUTSIDE and back, over and over, until SIGTERM or
// SIGINT, then leaves every directory in its place. A race harness runs it beside a deletion of the tree.
// Usage: morva_swap_dirs OUTSIDE DIR...
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void RequestStop(int) { stop_requested = 1; }

bool Exchange(const std::string& a, const std::string& b) {
  return renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s OUTSIDE DIR...\n", argv[0]);
    return 2;
  }
  signal(SIGTERM, RequestStop);
  signal(SIGINT, RequestStop);
  struct Pair {
    std::string dir;
    std::string link;  // the link while the directory has its name, the directory otherwise
    bool swapped = false;
  };
  std::vector<Pair> pairs;
  for (int i = 2; i < argc; ++i) {
    Pair p{argv[i], std::string(argv[i]) + ".swap"};
    if (symlink(argv[1], p.link.c_str()) != 0) {
      perror(p.link.c_str());
      return 1;
    }
    pairs.push_back(p);
  }
  unsigned long swaps = 0;
  while (!stop_requested) {
    for (Pair& p : pairs) {
      if (Exchange(p.dir, p.link)) {
        p.swapped = !p.swapped;
        ++swaps;
      }
    }
  }
  for (Pair& p : pairs) {
    if (p.swapped && Exchange(p.dir, p.link)) p.swapped = false;
    if (!p.swapped) unlink(p.link.c_str());
  }
  printf("%lu swaps\n", swaps);
  return 0;
}
