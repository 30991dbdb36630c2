// Forced into every translation unit of the browser build (-include): fills
// the gaps of the legacy-GL emulation (Emscripten 3.1.6) so that the
// programs' own sources compile and draw unchanged. Each piece names the
// emulation fault it covers; drop it once the emulation is fixed.
#pragma once

#ifdef __cplusplus
#include <GL/gl.h>
#include <GL/glu.h>

#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <iostream>
#include <numbers>
#include <string>
#include <string_view>

namespace webcompat {

// How many values glGet writes for pname.
inline int valueCount(GLenum pname) {
  switch (pname) {
    case GL_MODELVIEW_MATRIX:
    case GL_PROJECTION_MATRIX:
    case GL_TEXTURE_MATRIX:
      return 16;
    case GL_VIEWPORT:
    case GL_COLOR_CLEAR_VALUE:
    case GL_CURRENT_COLOR:
      return 4;
    case GL_DEPTH_RANGE:
      return 2;
    default:
      return 1;
  }
}

// Fault: glGetDoublev is not provided at all (a link error); glGetFloatv
// answers the same queries, and the emulation keeps its matrices in floats.
inline void getDoublev(GLenum pname, GLdouble* params) {
  GLfloat values[16] = {};
  glGetFloatv(pname, values);
  for (int i = 0; i < valueCount(pname); ++i) params[i] = values[i];
}

// Multiplies a column-major matrix onto the current one in float, the way
// the emulation stores it.
inline void multiply(const double (&m)[16]) {
  GLfloat f[16];
  for (int i = 0; i < 16; ++i) f[i] = GLfloat(m[i]);
  glMultMatrixf(f);
}

// Fault: gluPerspective replaces the current matrix instead of multiplying
// onto it. The textbook frustum, multiplied.
inline void perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  const double radians = fovy / 2 * std::numbers::pi / 180;
  const double depth = zFar - zNear;
  const double s = std::sin(radians);
  if (depth == 0 || s == 0 || aspect == 0) return;  // as GLU: nothing
  const double f = std::cos(radians) / s;
  const double m[16] = {f / aspect, 0, 0, 0,  0, f, 0, 0,
                        0, 0, -(zFar + zNear) / depth, -1,
                        0, 0, -2 * zNear * zFar / depth, 0};
  multiply(m);
}

// Fault: gluLookAt hands its arguments to the matrix library in the wrong
// order and changes nothing. The textbook eye transform, multiplied.
inline void lookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy,
                   GLdouble cz, GLdouble ux, GLdouble uy, GLdouble uz) {
  double f[3] = {cx - ex, cy - ey, cz - ez};
  const auto normalise = [](double (&v)[3]) {
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (n != 0)
      for (double& c : v) c /= n;
  };
  normalise(f);
  double s[3] = {f[1] * uz - f[2] * uy, f[2] * ux - f[0] * uz, f[0] * uy - f[1] * ux};
  normalise(s);
  const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                       s[0] * f[1] - s[1] * f[0]};
  const double m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0,
                        s[2], u[2], -f[2], 0, 0,    0,    0,     1};
  multiply(m);
  glTranslated(-ex, -ey, -ez);
}

// Not an emulation fault but the page's size: std::cout brings the whole of
// the C++ stream and locale machinery along, over 40 KB after gzip, for two
// programs that only ever print a few words and flush. Their std::cout
// becomes this console, which writes each piece straight to standard output.
//
// Fault of the console itself, met by code that uses std::cout as a stream
// (tools/registry.cpp quiets the constructions' words with
// std::cout.rdbuf(sink); the explorer prints std::strings and std::endl):
// rdbuf swaps where the pieces go, as a stream's does, and strings and endl
// are written as a stream writes them.
struct Console {
  std::streambuf* target = nullptr;  // null: standard output

  Console& operator<<(std::string_view text) {
    if (target != nullptr) {
      target->sputn(text.data(), std::streamsize(text.size()));
    } else {
      // Nothing is to be done about a failed write to the page.
      [[maybe_unused]] const auto written = ::write(1, text.data(), text.size());
    }
    return *this;
  }
  Console& operator<<(const char* text) { return *this << std::string_view(text); }
  Console& operator<<(const std::string& text) { return *this << std::string_view(text); }
  // std::endl ends the line; std::flush has nothing to do, every piece is
  // written at once already.
  Console& operator<<(std::ostream& (*manipulator)(std::ostream&)) {
    using Manipulator = std::ostream& (*)(std::ostream&);
    if (manipulator == static_cast<Manipulator>(std::endl)) *this << "\n";
    return *this;
  }
  std::streambuf* rdbuf() const { return target; }
  std::streambuf* rdbuf(std::streambuf* to) {
    std::streambuf* was = target;
    target = to;
    return was;
  }
};

}  // namespace webcompat

namespace std {
inline webcompat::Console webcompat_cout;

// Fault: Emscripten 3.1.6's C++ library has no std::bit_cast (C++20, in
// <bit>), which g++ 12's has; clang's builtin does the same.
#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From), "bit_cast between types of different sizes");
  return __builtin_bit_cast(To, from);
}
#endif
}  // namespace std

#define glGetDoublev webcompat::getDoublev
#define gluPerspective webcompat::perspective
#define gluLookAt webcompat::lookAt
#define cout webcompat_cout
#endif
