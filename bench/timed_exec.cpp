// timed-exec PROGRAM [ARGS...]: puts the CLOCK_MONOTONIC time in nanoseconds
// into FIRST_FRAME_START_NS and executes PROGRAM in this same process, so
// that the first-frame shim measures from the program's start (loading and
// dynamic linking included).
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: timed-exec PROGRAM [ARGS...]\n");
    return 2;
  }
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
  setenv("FIRST_FRAME_START_NS", std::to_string(ns).c_str(), 1);
  execv(argv[1], argv + 1);
  std::perror(argv[1]);
  return 127;
}
