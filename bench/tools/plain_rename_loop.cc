// The least the renames of compare_rename_tools.sh cost: renameat2 over names known in advance
// (file0000000.txt -> FILE0000000.txt for 0..N-1) in the current directory, no listing, no log.
//
//   plain_rename_loop N
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  const long count = argc > 1 ? strtol(argv[1], nullptr, 10) : 100000;
  char from[32];
  char to[32];
  for (long i = 0; i < count; ++i) {
    snprintf(from, sizeof from, "file%07ld.txt", i);
    snprintf(to, sizeof to, "FILE%07ld.txt", i);
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) != 0) {
      perror(from);
      return 1;
    }
  }
  return 0;
}
