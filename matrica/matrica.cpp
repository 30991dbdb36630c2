#include "matrica/matrica"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr double pi = 3.141592653589793;

// The standard square root taken in double and rounded to float.
float floatRoot(float s) { return static_cast<float>(std::sqrt(static_cast<double>(s))); }
}  // namespace

void failMatricaCheck(const char* expression, int line, const char* function) {
  std::fprintf(stderr, "%s: matrica:%d: %s: Assertion `%s' failed.\n",
               program_invocation_short_name, line, function, expression);
  std::fflush(stderr);
  std::abort();
}

Point pointSub(Point p, Point q) { return Point{q.x - p.x, q.y - p.y, 0, 9}; }

Point pointAdd(Point p, Point q) { return Point{q.x + p.x, q.y + p.y, 0, 9}; }

Matrix translationMatrix(Point v) {
  Matrix t(3, 3);
  const float values[3][3] = {{1, 0, v.x}, {0, 1, v.y}, {0, 0, 1}};
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) t.at(x, y) = values[x][y];
  return t;
}

Matrix pointColumn(Point p) {
  Matrix column(3, 1);
  column.at(0, 0) = p.x;
  column.at(1, 0) = p.y;
  column.at(2, 0) = 1;
  return column;
}

Matrix rotationAbout(float angle, Point c) {
  const float theta = static_cast<float>(angle / 180.0 * pi);
  const float cosT = static_cast<float>(std::cos(static_cast<double>(theta)));
  const float sinT = static_cast<float>(std::sin(static_cast<double>(theta)));
  Matrix turn(3, 3);
  const float values[3][3] = {{cosT, -sinT, 0}, {sinT, cosT, 0}, {0, 0, 1}};
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) turn.at(x, y) = values[x][y];
  const Matrix there = translationMatrix(Point{c.x, c.y, 0, 9});
  const Matrix back = translationMatrix(Point{-c.x, -c.y, 0, 9});
  return multiply(multiply(there, turn), back);
}

void transformPoint(Matrix m, Point& p) {
  Matrix image = multiply(m, pointColumn(p));
  p.x = image.at(0, 0);
  p.y = image.at(1, 0);
}

Point normalize(Point v) {
  const float s = v.x * v.x + v.y * v.y + v.z * v.z;
  const float inverse = 1 / floatRoot(s);
  return Point{v.x * inverse, v.y * inverse, v.z * inverse, 9};
}

float angleBetween(Point a, Point b) {
  const float d = a.x * b.x + a.y * b.y + a.z * b.z;
  const float la = floatRoot(a.x * a.x + a.y * a.y + a.z * a.z);
  const float lb = floatRoot(b.x * b.x + b.y * b.y + b.z * b.z);
  float q = d / (lb * la);
  // Rounding can push the cosine of parallel or opposite vectors just past
  // +-1; clamp so that they give 0 or 180. NaN (a zero vector) passes through.
  if (q > 1) q = 1;
  if (q < -1) q = -1;
  const float radians = static_cast<float>(std::acos(static_cast<double>(q)));
  return static_cast<float>(radians / pi * 180);
}
