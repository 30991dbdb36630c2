// LD_PRELOAD shim for scripts/startup-cost. It wraps glXSwapBuffers; at the
// first swap onto a window the X server shows (map state viewable) it
// finishes the swap, waits for the server to have handled it, writes
//   <seconds since start> <peak resident KiB> <swaps before>
// to the file named by FIRST_FRAME_OUT and ends the process with status 0.
// The start is FIRST_FRAME_START_NS, a CLOCK_MONOTONIC time in nanoseconds
// that timed-exec takes just before it executes the program.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

using SwapFn = void (*)(Display*, GLXDrawable);
using FinishFn = void (*)();
using SyncFn = int (*)(Display*, Bool);
using AttributesFn = Status (*)(Display*, Window, XWindowAttributes*);

template <typename Fn>
Fn lookup(void* handle, const char* name) {
  void* symbol = dlsym(handle, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "first-frame: %s not found\n", name);
    _exit(70);
  }
  return reinterpret_cast<Fn>(symbol);
}

long swapsBefore = 0;

bool viewable(Display* display, GLXDrawable drawable) {
  static const auto getAttributes =
      lookup<AttributesFn>(RTLD_DEFAULT, "XGetWindowAttributes");
  XWindowAttributes attributes;
  if (getAttributes(display, drawable, &attributes) == 0) return false;
  return attributes.map_state == IsViewable;
}

[[noreturn]] void report() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* start = std::getenv("FIRST_FRAME_START_NS");
  const char* out = std::getenv("FIRST_FRAME_OUT");
  if (start == nullptr || out == nullptr) {
    std::fprintf(stderr, "first-frame: FIRST_FRAME_START_NS or FIRST_FRAME_OUT unset\n");
    _exit(71);
  }
  const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
  const double seconds = static_cast<double>(nowNs - std::atoll(start)) * 1e-9;
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  std::FILE* file = std::fopen(out, "w");
  if (file == nullptr) _exit(72);
  std::fprintf(file, "%.6f %ld %ld\n", seconds, usage.ru_maxrss, swapsBefore);
  std::fclose(file);
  _exit(0);
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static const auto realSwap = lookup<SwapFn>(RTLD_NEXT, "glXSwapBuffers");
  static const auto finish = lookup<FinishFn>(RTLD_DEFAULT, "glFinish");
  static const auto sync = lookup<SyncFn>(RTLD_DEFAULT, "XSync");
  const bool shown = viewable(display, drawable);
  realSwap(display, drawable);
  if (!shown) {
    ++swapsBefore;
    return;
  }
  finish();
  sync(display, False);
  report();
}
