// The explorer's view of the drawing's plane through the GL matrices: where
// a view point shows in the window, which view point lies under a pixel,
// and the pan, zoom and turn that move the drawing within its own plane.
//
// The framework's navigation pans by differences on the camera's near
// plane and zooms by scaling depth too; with the camera standing far back
// the first barely moves the drawing, and the second carries the plane out
// of the camera's reach after a halving. Moving the plane within itself has
// neither limit, so the endless drawing can be travelled as far as wanted.
#pragma once

#include <optional>

#include "shape/layout.h"

namespace explore {

using shape::Vec;

struct Matrices {
  double model[16], projection[16];
  int viewport[4];
};

Matrices currentMatrices();

// Where view point v shows, in GLUT window pixels (y down).
std::optional<Vec> pixelOf(const Matrices& m, Vec v);

// The view point on the drawing's plane under GLUT window pixel (x, y).
std::optional<Vec> planePointAt(int x, int y);

// Each multiplies onto the projection matrix, which is left current:
// view point `grabbed` moves to where view point `under` shows now;
void panInPlane(Vec grabbed, Vec under);
// the drawing grows by `factor` about view point `about`;
void zoomInPlane(Vec about, double factor);
// the drawing turns by `degrees` counter-clockwise about `about`.
void turnInPlane(Vec about, double degrees);

}  // namespace explore
