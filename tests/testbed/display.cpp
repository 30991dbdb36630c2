#include "tests/testbed/display.h"

#include <GL/glu.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/freeglut.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "viewer/viewer.h"

namespace testbed {

namespace {

pid_t xvfbPid = -1;

void stopXvfb() {
  if (xvfbPid <= 0) return;
  kill(xvfbPid, SIGTERM);
  waitpid(xvfbPid, nullptr, 0);
  xvfbPid = -1;
}

// Starts Xvfb on a display number it picks itself and returns ":N" once the
// server accepts connections. The server dies with this process.
std::string startXvfb() {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0",
           "1600x1000x24", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  xvfbPid = pid;
  std::atexit(stopXvfb);
  return ":" + number;
}

bool windowShown = false;
void noteShown(int, int) { windowShown = true; }
void drawNothing() {}

}  // namespace

const std::string& privateDisplay() {
  static const std::string name = [] {
    std::string display = startXvfb();
    setenv("DISPLAY", display.c_str(), 1);
    return display;
  }();
  return name;
}

bool Image::darkNear(int x, int y, int radius, int level) const {
  for (int j = y - radius; j <= y + radius; ++j)
    for (int i = x - radius; i <= x + radius; ++i) {
      if (i < 0 || j < 0 || i >= width || j >= height) continue;
      const Pixel p = at(i, j);
      if (p.r < level && p.g < level && p.b < level) return true;
    }
  return false;
}

bool closeTo(Pixel p, Pixel q, int tol) {
  return std::abs(p.r - q.r) <= tol && std::abs(p.g - q.g) <= tol &&
         std::abs(p.b - q.b) <= tol;
}

// Mesa unloads its driver when the process ends, before the leak checker of
// a sanitizer build looks at memory: the driver's own long-lived allocations
// would then look lost and its frames could not be named. Keeping the driver
// loaded costs nothing.
static void keepGlDriverLoaded() {
  for (const char* driver : {"swrast_dri.so", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
    if (dlopen(driver, RTLD_LAZY | RTLD_NODELETE) != nullptr) return;
}

void openTestWindow() {
  static bool opened = false;
  if (opened) return;
  opened = true;
  privateDisplay();
  keepGlDriverLoaded();
  static char name[] = "testbed";
  static char* argv[] = {name, nullptr};
  int argc = 1;
  openWindow(argc, argv);
  // The window's own callbacks: nothing is drawn behind the test's back, and
  // the first reshape tells that the window is on the screen.
  glutDisplayFunc(drawNothing);
  glutReshapeFunc(noteShown);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!windowShown && std::chrono::steady_clock::now() < deadline) {
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (int i = 0; i < 10; ++i) glutMainLoopEvent();
}

Image readFrontBuffer() {
  // What the window shows, taken from the X server after the swap has
  // reached it, rather than from a GL buffer whose content after a swap is
  // the driver's business.
  glFinish();
  Display* display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  XSync(display, False);
  const int width = glutGet(GLUT_WINDOW_WIDTH);
  const int height = glutGet(GLUT_WINDOW_HEIGHT);
  XImage* shot = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
  if (shot == nullptr) throw std::runtime_error("XGetImage failed");
  Image image{width, height, std::vector<Pixel>(std::size_t(width) * height)};
  auto channel = [](unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
      mask >>= 1;
      ++shift;
    }
    return std::uint8_t(((pixel >> shift) & mask) * 255 / mask);
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      image.pixels[std::size_t(y) * width + x] =
          Pixel{channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                channel(pixel, shot->blue_mask)};
    }
  XDestroyImage(shot);
  return image;
}

Image drawStartupFrame() {
  openTestWindow();
  frameCamera();
  onReshape(windowWidth, windowHeight);
  onDisplay();
  return readFrontBuffer();
}

std::array<double, 16> glMatrix(GLenum which) {
  std::array<double, 16> m{};
  glGetDoublev(which, m.data());
  return m;
}

WindowPoint projectToWindow(const Point& p) {
  const std::array<double, 16> model = glMatrix(GL_MODELVIEW_MATRIX);
  const std::array<double, 16> projection = glMatrix(GL_PROJECTION_MATRIX);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  double wx, wy, wz;
  gluProject(p.x, p.y, p.z, model.data(), projection.data(), viewport, &wx,
             &wy, &wz);
  return WindowPoint{wx, viewport[3] - wy};
}

}  // namespace testbed
