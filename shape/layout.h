// Where a program's drawing lies relative to its given points, learned from
// its unit and periods: on which copy the handles sit, how large a block of
// copies around them is analysed, and how much of the endless drawing the
// view shows at start-up.
#pragma once

#include <span>

#include "scene/scene.h"
#include "tools/periodic.h"
#include "tools/registry.h"

namespace shape {

struct Vec {
  double x = 0, y = 0;
};

struct Layout {
  // Copies along each side of the block analysed, centred on the copy the
  // handles sit on; odd.
  int block = 3;
  // The copies are built with the first given point moved to the origin;
  // otherwise they lie where the given points are.
  bool movedToOrigin = false;
  // The first given point stays where the program has it (see layOut).
  bool firstPinned = false;
  // The given points, in order, are the corners of one tile.
  bool corners = false;
  double size = 1;   // the largest distance between the program's own points
  Vec centre;        // the middle of the program's own points: the view's centre
  Vec spread;        // half the width and height of the own points' box
  Vec u, v;          // the own shape's periods
};

Layout layOut(const tools::TilingProgram& program);

// The program's unit and periods from `given`, its first copy moved onto
// the points; the stored-once segments stay where the construction puts
// them, which is on the points too.
tools::Periodic placedUnit(const tools::TilingProgram& program, const Layout& layout,
                           std::span<const Point> given);

// The vector that moves the first copy built from `given` onto the points.
Point copyShift(const Layout& layout, std::span<const Point> given);

// The block the explorer analyses: the stored-once segments and the copies
// i v + j u of the placed unit for |i|, |j| up to half the block.
SceneStore blockAround(const tools::Periodic& placed, const Layout& layout);

// Half the height, in drawing units, of the view at start-up: four of the
// own shape's periods across the window's shorter side, yet no smaller than
// shows every given point well inside it.
double viewHalfHeight(const Layout& layout, double aspect);

}  // namespace shape
