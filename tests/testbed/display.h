// Real windows for tests. Each test process starts its own private virtual
// display (Xvfb, Mesa's software GL) on first use and points DISPLAY at it,
// so tests never touch the user's screen and can run in parallel.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "scene/scene.h"

namespace testbed {

// The private display, started on first call (":N").
const std::string& privateDisplay();

struct Pixel {
  std::uint8_t r, g, b;
  bool operator==(const Pixel&) const = default;
};

// An RGB picture, row 0 at the top.
struct Image {
  int width = 0, height = 0;
  std::vector<Pixel> pixels;
  Pixel at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  // Is any pixel within `radius` of (x, y) darker than `level` in every
  // channel?
  bool darkNear(int x, int y, int radius = 2, int level = 100) const;
};

// The clear colour (0.9, 0.9, 0.8) as the window shows it.
inline constexpr Pixel clearPixel{230, 230, 204};
bool closeTo(Pixel p, Pixel q, int tol = 2);

// --- In-process GL: the test process itself owns one GLUT window.

// Opens the test process's window (openWindow with the real title, size and
// position) on the private display and waits until it is mapped. Later calls
// do nothing.
void openTestWindow();
// What a program shows first: frameCamera, onReshape(1024, 700), onDisplay;
// returns the front buffer.
Image drawStartupFrame();
// What the test window shows now, read back from the X server.
Image readFrontBuffer();
// glGetDoublev of GL_MODELVIEW_MATRIX or GL_PROJECTION_MATRIX, column-major.
std::array<double, 16> glMatrix(GLenum which);

// Where p lands in window pixels under the current GL matrices and viewport:
// x from the left, y from the top (as screenshots and the mouse count).
struct WindowPoint {
  double x, y;
};
WindowPoint projectToWindow(const Point& p);

}  // namespace testbed
