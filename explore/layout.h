// Where a program's drawing lies relative to its given points, learned by
// building it a few times: on which copy of the patch the handles sit, how
// large a patch the explorer shows, and where its view looks at start-up.
#pragma once

#include <span>

#include "scene/scene.h"
#include "tools/registry.h"

namespace explore {

struct Vec {
  double x = 0, y = 0;
};

struct Layout {
  int patch = 3;     // copies along each side of the patch shown
  int prefix = 0;    // segments stored before the first copy
  int perCopy = 0;   // segments each copy stores
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
  Vec middle;        // the middle of the first copy, on which the points lie
  Vec u, v;          // the lattice steps along a row and between rows
};

Layout layOut(const tools::TilingProgram& program);

// The program's scene from `given` over the layout's patch.
SceneStore builtPatch(const tools::TilingProgram& program, const Layout& layout,
                      std::span<const Point> given);

// The vector that moves the first copy built from `given` onto the points.
Point copyShift(const Layout& layout, std::span<const Point> given);

// The vector that moves the scene just built from `given` so that the
// middle copy's given points lie on the points themselves.
Point drawingShift(const Layout& layout, std::span<const Point> given,
                   const SceneStore& built);

// Half the height, in drawing units, of a view of the given aspect centred
// on Layout::centre that the program's own patch fills, yet no smaller than
// shows every given point well inside it.
double viewHalfHeight(const Layout& layout, double aspect);

}  // namespace explore
