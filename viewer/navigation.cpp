// Mouse navigation: the button flags, the grabbed point, and the drag steps
// that multiply a translation, rotation or scaling onto the current matrix.
#include <GL/glu.h>
#include <GL/glut.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

#include "viewer/viewer.h"

std::int32_t lastX = 0;
std::int32_t lastY = 0;
bool leftDown = false;
bool middleDown = false;
bool rightDown = false;
Point pressPoint{0, 0, 0, 9};

namespace {

using Matrix4 = std::array<double, 16>;  // column-major, as GL reads it

struct NearPoint {
  double x, y, z;
};

bool finiteFloat(double v) { return std::isfinite(v) && std::fabs(v) <= FLT_MAX; }

// The scene point under window pixel (x, y) on the near clipping plane, read
// through the current viewport, model-view and projection. Nothing when the
// matrices cannot be inverted or the result is not a finite float triple: a
// singular projection (a collapsed zoom, say) must not leak garbage into the
// navigation state.
std::optional<NearPoint> unproject(int x, int y) {
  GLint viewport[4];
  Matrix4 model, projection;
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetDoublev(GL_MODELVIEW_MATRIX, model.data());
  glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
  // Window y grows upwards in GL; doubles keep extreme cursors from overflowing.
  const double winY = double(viewport[3]) - double(y) - 1;
  double ox, oy, oz;
  if (gluUnProject(double(x), winY, 0, model.data(), projection.data(), viewport,
                   &ox, &oy, &oz) != GL_TRUE)
    return std::nullopt;
  if (!finiteFloat(ox) || !finiteFloat(oy) || !finiteFloat(oz)) return std::nullopt;
  return NearPoint{ox, oy, oz};
}

Matrix4 currentMatrix() {
  GLint mode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  GLenum which = GL_MODELVIEW_MATRIX;
  if (mode == GL_PROJECTION) which = GL_PROJECTION_MATRIX;
  if (mode == GL_TEXTURE) which = GL_TEXTURE_MATRIX;
  Matrix4 m;
  glGetDoublev(which, m.data());
  return m;
}

Matrix4 translation(double tx, double ty, double tz) {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, tx, ty, tz, 1};
}

Matrix4 product(const Matrix4& a, const Matrix4& b) {
  Matrix4 m{};
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
      m[col * 4 + row] = sum;
    }
  return m;
}

// Would multiplying `step` onto the current matrix keep every element a
// finite float? Repeated zooming one way drives the matrix towards overflow;
// once an infinity is in it, the view is lost for good. A step that is not
// finite itself fails here too.
bool stepStaysFinite(const Matrix4& step) {
  for (double v : product(currentMatrix(), step))
    if (!finiteFloat(v)) return false;
  return true;
}

// T(c) * middle * T(-c) about the fixed centre (centerX, centerY, eyeDistance).
Matrix4 aboutCentre(const Matrix4& middle) {
  return product(product(translation(centerX, centerY, eyeDistance), middle),
                 translation(-centerX, -centerY, -eyeDistance));
}

void translateAboutCentre() { glTranslatef(centerX, centerY, eyeDistance); }
void translateBack() { glTranslatef(-centerX, -centerY, -eyeDistance); }

// Moves the current matrix by the near-plane difference between the cursor
// and the grabbed point, so that the grabbed point is under the cursor again.
bool pan(const NearPoint& p) {
  const float tx = float(p.x - double(pressPoint.x));
  const float ty = float(p.y - double(pressPoint.y));
  const float tz = float(p.z - double(pressPoint.z));
  if (!stepStaysFinite(translation(tx, ty, tz))) return false;
  glTranslatef(tx, ty, tz);
  return true;
}

// Turns about the z axis through the centre by the step length in degrees,
// a whole viewport width being just under 180; a step to the right turns
// clockwise.
bool rotate(std::int64_t dx, std::int64_t dy) {
  // Two squared differences of 32-bit coordinates overflow even 64 bits, so
  // the sum is formed in double: exact up to 2^53, and never overflowing.
  const double q = double(dx) * double(dx) + double(dy) * double(dy);
  const float dist = float(std::sqrt(q));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  float angle = dist / float(viewport[2] + 1) * 180.0f;
  if (dx > 0) angle = -angle;

  const double radians = double(angle) * std::numbers::pi / 180;
  const double c = std::cos(radians), s = std::sin(radians);
  const Matrix4 turn{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  if (!stepStaysFinite(aboutCentre(turn))) return false;
  translateAboutCentre();
  glRotatef(angle, 0, 0, 1);
  translateBack();
  return true;
}

// Scales about the centre by e^(dy / 2100): dragging down shrinks, up grows.
bool zoom(std::int64_t dy) {
  const float s = float(std::exp(double(dy) / 2100));
  // A zero factor would collapse the view for good.
  if (s == 0) return false;
  if (!stepStaysFinite(aboutCentre(Matrix4{s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1})))
    return false;
  translateAboutCentre();
  glScalef(s, s, s);
  translateBack();
  return true;
}

}  // namespace

void onMouse(int button, int state, int x, int y) {
  if (state != GLUT_DOWN) {
    // Any release ends every mode, whichever button it was.
    leftDown = middleDown = rightDown = false;
    glutPostRedisplay();
    return;
  }
  lastX = x;
  lastY = y;
  // Where the cursor cannot be unprojected, the last grabbed point stays.
  if (const std::optional<NearPoint> p = unproject(x, y))
    pressPoint = Point{float(p->x), float(p->y), float(p->z), 9};
  if (button == GLUT_LEFT_BUTTON) leftDown = true;
  if (button == GLUT_MIDDLE_BUTTON) middleDown = true;
  if (button == GLUT_RIGHT_BUTTON) rightDown = true;
  glutPostRedisplay();
}

void onMotion(int x, int y) {
  // 64-bit differences: any two int coordinates differ by less than 2^32.
  const std::int64_t dx = std::int64_t(x) - lastX;
  const std::int64_t dy = std::int64_t(y) - lastY;
  if (dx == 0 && dy == 0) return;

  const std::optional<NearPoint> p = unproject(x, y);
  if (!p) return;

  bool applied;
  if (middleDown || (leftDown && rightDown))
    applied = zoom(dy);
  else if (leftDown)
    applied = pan(*p);
  else if (rightDown)
    applied = rotate(dx, dy);
  else
    return;
  if (!applied) return;

  lastX = x;
  lastY = y;
  glutPostRedisplay();
}
