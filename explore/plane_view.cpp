#include "explore/plane_view.h"

#include <GL/glu.h>

#include <cmath>

#include "viewer/viewer.h"

namespace explore {

namespace {

// The navigation acts after the model-view translation, which carries view
// point p to (p - centre) on the plane z = -eyeDistance; a step multiplied
// on the right of the projection moves the drawing before anything else.
void aboutPoint(Vec p, void (*step)(double), double amount) {
  const double x = p.x - centerX, y = p.y - centerY;
  glMatrixMode(GL_PROJECTION);
  glTranslated(x, y, 0);
  step(amount);
  glTranslated(-x, -y, 0);
}

}  // namespace

Matrices currentMatrices() {
  Matrices m;
  glGetDoublev(GL_MODELVIEW_MATRIX, m.model);
  glGetDoublev(GL_PROJECTION_MATRIX, m.projection);
  glGetIntegerv(GL_VIEWPORT, m.viewport);
  return m;
}

std::optional<Vec> pixelOf(const Matrices& m, Vec v) {
  double x, y, z;
  if (gluProject(v.x, v.y, 0, m.model, m.projection, m.viewport, &x, &y, &z) != GL_TRUE)
    return std::nullopt;
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return Vec{x, m.viewport[3] - 1 - y};
}

std::optional<Vec> planePointAt(int x, int y) {
  const Matrices m = currentMatrices();
  const double winY = double(m.viewport[3]) - double(y) - 1;
  double n[3], f[3];
  if (gluUnProject(x, winY, 0, m.model, m.projection, m.viewport, &n[0], &n[1], &n[2]) != GL_TRUE ||
      gluUnProject(x, winY, 1, m.model, m.projection, m.viewport, &f[0], &f[1], &f[2]) != GL_TRUE)
    return std::nullopt;
  const double dz = f[2] - n[2];
  if (!(std::abs(dz) > 0)) return std::nullopt;
  const double t = -n[2] / dz;
  const Vec p{n[0] + t * (f[0] - n[0]), n[1] + t * (f[1] - n[1])};
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
  return p;
}

void panInPlane(Vec grabbed, Vec under) {
  glMatrixMode(GL_PROJECTION);
  glTranslated(under.x - grabbed.x, under.y - grabbed.y, 0);
}

void zoomInPlane(Vec about, double factor) {
  aboutPoint(about, [](double k) { glScaled(k, k, 1); }, factor);
}

void turnInPlane(Vec about, double degrees) {
  aboutPoint(about, [](double a) { glRotated(a, 0, 0, 1); }, degrees);
}

}  // namespace explore
