// The explorer's state without a window: one program in one of two modes,
// the drawing as it is now, the block of copies around the handles with its
// face analysis and what that says, and the fills of one period.
//
// In symmetry mode (the default) every vertex of one period is a handle,
// and so are the periods: a drag moves a vertex orbit's representative as
// its freedom under the kept group lets it, every image with it, and never
// makes a shape that does not tile (family/). In construction mode the
// handles are the program's given points, and the program's own
// construction re-forms the tiling from them, however it breaks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "explore/cells.h"
#include "explore/feedback.h"
#include "faces/faces.h"
#include "family/family.h"
#include "family/moves.h"
#include "shape/opened.h"
#include "symmetry/identity.h"
#include "tools/registry.h"

namespace explore {

struct FillTriangles {
  faces::Rgb8 colour;
  std::size_t first = 0, count = 0;  // corners in Explorer::triangles
};

using shape::FamilyView;
using shape::Mode;

// A handle as it shows: its name, where it is, whether it stays put, and
// what it moves.
struct Handle {
  enum class Kind { point, period, bend };  // a given point or vertex, a period, a bend point
  std::string name;
  Point at;
  bool fixed = false;
  Kind kind = Kind::point;
};

// A bend point's handle: on which edge class it shows, and which point.
struct BendHandle {
  int edge = 0;
  family::Bend bend;
};

// The tiling opened (its program, mode, given points, own analysis and
// family), and what the explorer shows of it.
struct Explorer : shape::Opened {
  std::string note;  // what the last press on an edge could not do
  // In symmetry mode, the vertices of one period: where the unit's edges
  // meet, as opposed to the points along a bent edge.
  std::vector<faces::Vec2> corners;
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

// Opens `program` with its own shape, in symmetry mode unless asked
// otherwise or the drawing has no family (then in construction mode).
void load(Explorer& explorer, const tools::TilingProgram& program, Mode mode = Mode::symmetry);
// Switches mode; each mode keeps its own shape. False when there is no
// family to switch to.
bool setMode(Explorer& explorer, Mode mode);
// Keeps the next group on offer (the shape stays as it is when the group
// allows it, and is the own shape otherwise); false without a family.
bool keepNext(Explorer& explorer);
// Keeps the group on offer called `name`; false when none is.
bool keepGroup(Explorer& explorer, const std::string& name);
// Keeps congruent the tiles the drawing has congruent across orbits, or
// stops; false when there are none to keep or no symmetry mode.
bool keepTiles(Explorer& explorer, bool on);
using shape::analysisOptions;
using shape::bent;
using shape::cutUnit;
using shape::inSymmetryMode;
using shape::pinned;
using shape::shownBlock;
using shape::shownOptions;
// In construction mode, for a tiling built from a table rather than from
// given points (the atlas's), why no handle shows; otherwise empty.
std::string nothingToDrag(const Explorer& explorer);
// Why the kept group is not the drawing's own, when the explorer opened in
// it for that reason: "p31m leaves nothing to move"; empty otherwise.
std::string openingReason(const FamilyView& family);

// The handles of the mode: the given points, or every vertex of the
// handles' period followed by the periods u and v and the bend points of
// its edges.
std::vector<Handle> handlesOf(const Explorer& explorer);
std::vector<BendHandle> bendHandles(const Explorer& explorer);
// A press on an edge of the handles' period within `reach` of `at` (in the
// drawing's units) adds a bend point there, for the edge's whole orbit: the
// new handle's index. None when no edge is that near, or when the edge is
// held straight (the explorer's note says why).
std::optional<std::size_t> bendEdgeAt(Explorer& explorer, Point at, double reach);
// Removes the bend point of handle k; false for any other handle.
bool removeHandle(Explorer& explorer, std::size_t k);
// Smooth curves through the bend points, or straight pieces.
void switchCurve(Explorer& explorer);
// Builds, checks and analyses the drawing from the points as they are.
void rebuild(Explorer& explorer);
// Moves handle k toward `to` (held in reach) and rebuilds; false, and
// nothing changes, when k is fixed or out of range or `to` is not finite.
bool movePoint(Explorer& explorer, std::size_t k, Point to);
// The own shape again: the program's own points, or the family's own shape.
void resetPoints(Explorer& explorer);

// "P1 (2, 1)  P2 (6, 0)  P3 (5.25, 3.5)", or in symmetry mode "keeps p2:
// V1 (2, 1)  V2 (6, 0)  u (5, 0)  v (1, 4)": the shape now, for the terminal.
std::string pointsLine(const Explorer& explorer);

}  // namespace explore
