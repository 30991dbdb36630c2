// Reference 4 x 4 matrices (column-major doubles, as GL stores them) for
// predicting the camera, what a navigation step does to the projection, and
// where a point lands in the picture, computed from their textbook
// definitions rather than by the code under test.
#pragma once

#include <array>

#include "scene/scene.h"

namespace testbed::reference {

using Matrix4 = std::array<double, 16>;

Matrix4 identity();
Matrix4 product(const Matrix4& a, const Matrix4& b);
Matrix4 translation(double x, double y, double z);
Matrix4 turnAboutZ(double degrees);
Matrix4 uniformScale(double s);
// A 30-degree perspective of the given aspect, near 1, far 1000.
Matrix4 perspective(double aspect);
// T(c) * middle * T(-c) for the centre c.
Matrix4 aboutPoint(double cx, double cy, double cz, const Matrix4& middle);

struct Viewport {
  int width, height;
};
// Window pixel of p under projection * model: x from the left, y counted
// from the bottom as GL does.
struct Window {
  double x, y, depth;
};
Window project(const Matrix4& projection, const Matrix4& model, Viewport v,
               const Point& p);
// The object point at window (x, y from the bottom, depth).
Point unproject(const Matrix4& projection, const Matrix4& model, Viewport v,
                double x, double y, double depth);

// Largest absolute difference between two matrices.
double maxDifference(const Matrix4& a, const Matrix4& b);

}  // namespace testbed::reference
