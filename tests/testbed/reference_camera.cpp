#include "tests/testbed/reference_camera.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace testbed::reference {

Matrix4 identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix4 product(const Matrix4& a, const Matrix4& b) {
  Matrix4 m{};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r)
      for (int k = 0; k < 4; ++k) m[c * 4 + r] += a[k * 4 + r] * b[c * 4 + k];
  return m;
}

Matrix4 translation(double x, double y, double z) {
  Matrix4 m = identity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

Matrix4 turnAboutZ(double degrees) {
  const double a = degrees * std::numbers::pi / 180;
  Matrix4 m = identity();
  m[0] = std::cos(a);
  m[1] = std::sin(a);
  m[4] = -std::sin(a);
  m[5] = std::cos(a);
  return m;
}

Matrix4 uniformScale(double s) {
  Matrix4 m = identity();
  m[0] = m[5] = m[10] = s;
  return m;
}

Matrix4 perspective(double aspect) {
  const double f = 1 / std::tan(15 * std::numbers::pi / 180);
  const double zNear = 1, zFar = 1000;
  Matrix4 m{};
  m[0] = f / aspect;
  m[5] = f;
  m[10] = (zFar + zNear) / (zNear - zFar);
  m[11] = -1;
  m[14] = 2 * zFar * zNear / (zNear - zFar);
  return m;
}

Matrix4 aboutPoint(double cx, double cy, double cz, const Matrix4& middle) {
  return product(product(translation(cx, cy, cz), middle),
                 translation(-cx, -cy, -cz));
}

Window project(const Matrix4& projection, const Matrix4& model, Viewport v,
               const Point& p) {
  const Matrix4 m = product(projection, model);
  double clip[4];
  for (int r = 0; r < 4; ++r)
    clip[r] = m[r] * p.x + m[4 + r] * p.y + m[8 + r] * p.z + m[12 + r];
  return {(clip[0] / clip[3] + 1) / 2 * v.width,
          (clip[1] / clip[3] + 1) / 2 * v.height, (clip[2] / clip[3] + 1) / 2};
}

Point unproject(const Matrix4& projection, const Matrix4& model, Viewport v,
                double x, double y, double depth) {
  const GLint viewport[4] = {0, 0, v.width, v.height};
  double ox, oy, oz;
  if (gluUnProject(x, y, depth, model.data(), projection.data(), viewport, &ox,
                   &oy, &oz) != GL_TRUE)
    throw std::runtime_error("reference unprojection failed");
  return Point{float(ox), float(oy), float(oz), 9};
}

double maxDifference(const Matrix4& a, const Matrix4& b) {
  double d = 0;
  for (int i = 0; i < 16; ++i) d = std::max(d, std::fabs(a[i] - b[i]));
  return d;
}

}  // namespace testbed::reference
