// The explorer's state without a window: one program, its given points as
// they are now, the unit and periods rebuilt from them by the program's own
// construction, the block of copies around the handles with its face
// analysis and what that says, and the fills of one period.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "explore/cells.h"
#include "explore/feedback.h"
#include "explore/layout.h"
#include "faces/faces.h"
#include "tools/registry.h"

namespace explore {

struct FillTriangles {
  faces::Rgb8 colour;
  std::size_t first = 0, count = 0;  // corners in Explorer::triangles
};

struct Explorer {
  const tools::TilingProgram* program = nullptr;
  Layout layout;
  faces::Analysis own;        // of the program's own shape, as the explorer shows it
  std::vector<Point> points;  // the given points now
  // The unit with its first copy on the points, and its periods: repeated,
  // the endless drawing (when the periods span the plane). Empty when the
  // points are degenerate in a way that leaves nothing to draw.
  tools::Periodic periodic;
  // The block of copies around the handles that is analysed and exported
  // (Layout::block copies a side); empty with `periodic`.
  SceneStore placed;
  // Of `placed`, empty when not analysed; the faces the feedback flags are
  // marked as problems.
  faces::Analysis analysis;
  Feedback feedback;
  std::vector<faces::Vec2> triangles;  // every fill, three corners each
  std::vector<FillTriangles> fills;    // one per face
  // The faces of one period: those whose middle lies in the lattice cell
  // about the handles' copy. Repeated by the periods, they fill the plane.
  std::vector<std::size_t> periodFaces;
  // The problem marks (crossings, loose ends) of that cell.
  std::vector<faces::Vec2> periodMarks;
};

// Opens `program` with its own given points.
void load(Explorer& explorer, const tools::TilingProgram& program);
// Builds, checks and analyses the drawing from the points as they are.
void rebuild(Explorer& explorer);
// Moves point k to `to` (held in reach) and rebuilds; false, and nothing
// changes, when k is pinned or out of range or `to` is not finite.
bool movePoint(Explorer& explorer, std::size_t k, Point to);
bool pinned(const Explorer& explorer, std::size_t k);
// The program's own points again.
void resetPoints(Explorer& explorer);

// "P1 (2, 1)  P2 (6, 0)  P3 (5.25, 3.5)": the points now, for the terminal.
std::string pointsLine(const Explorer& explorer);

}  // namespace explore
