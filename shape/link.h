// The link that shares a shape: the tiling and its shape as a web address's
// query, under the names the handles show. In construction mode it holds
// the given points, "explore.html?tiling=pentatile1&A=1,3&B=2,1"; in
// symmetry mode the kept group, every vertex orbit's representative, the
// periods and the bends, "explore.html?tiling=quadtile&keep=p2&V1=9,27&u=3,3
// &v=-3,6&E1=7,25;8,26&curve=straight", with "&tiles=congruent" while the
// tiles are kept congruent, its places in the frame of the
// program's stored drawing (`tilings-export NAME --segments`).
// Read back, a point the link leaves out keeps its own value, and whatever
// cannot be used is said in words.
#pragma once

#include <cstddef>
#include <ostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shape/opened.h"

namespace shape {

// The explorer's page, which the links open.
inline constexpr std::string_view linkPage = "explore.html";

// A coordinate as a link writes it: the shortest plain decimal that reads
// back as the same float, and 0 for anything within a millionth of `size`
// (the drawing's) from zero, which is float noise.
std::string linkNumber(double value, double size);

// The link of the shape the opened tiling is in now.
std::string linkOf(const Opened& opened);

struct LinkedPoint {
  std::size_t index = 0;  // in the program's given points
  Point value;
};

// A place a symmetry-mode link names: a vertex orbit's representative
// ("V1") or a period ("u", "v").
struct NamedPoint {
  std::string name;
  faces::Vec2 value;
};

struct LinkRequest {
  const tools::TilingProgram* program = nullptr;  // never null
  std::vector<LinkedPoint> points;
  std::vector<std::string> problems;  // what was left out and why
  // A link with a kept group opens symmetry mode; one without, construction
  // mode. Opening a tiling by name alone is symmetry mode.
  Mode mode = Mode::symmetry;
  std::string keep;  // empty: the drawing's own group (the explorer: the one it opens in)
  std::vector<NamedPoint> shape;
  // Bends: an edge orbit's name ("E1") and the points its representative
  // passes through, in order from its `from` end; the first half for the
  // half-turn and mirror shapes.
  struct NamedBend {
    std::string name;
    std::vector<faces::Vec2> points;
  };
  std::vector<NamedBend> bends;
  bool smooth = true;  // curve=smooth (the default) or curve=straight
  // tiles=congruent: tiles congruent in the drawing but in different orbits
  // stay congruent; tiles=free: they move as the group alone keeps them.
  // Unsaid: free for a link that carries a shape (as every link written
  // before tiles could be kept); for one that carries none, as the explorer
  // opens, kept wherever that leaves something to move.
  std::optional<bool> keepTiles;
};

// Reads a link, its query alone ("?tiling=..." or "tiling=...") or a whole
// address. Anything malformed is left out and named in `problems`: an
// unknown or missing tiling opens `fallback` and lists the tilings; a point
// the tiling does not have, or that is not two finite numbers, keeps its own
// value.
LinkRequest readLink(std::string_view link, std::string_view fallback = "deltatile");

// Puts the linked given points in place, held in reach as a drag would
// hold them; says which could not move (a fixed point).
std::vector<std::string> applyPoints(Opened& opened, const std::vector<LinkedPoint>& points);

// What became of a symmetry-mode link's shape.
struct ShapeOutcome {
  std::vector<std::string> problems;  // unusable: an unknown group or name
  std::vector<std::string> notes;     // put right: a vertex put back onto its mirror
  std::string untileable;             // "V3 folds a tile": the own shape is kept
};

// Keeps the request's group and puts its vertices and periods in place, on
// a tiling opened in symmetry mode with the request's program.
ShapeOutcome applyShape(Opened& opened, const LinkRequest& request);

// For the command-line tools: opens a link and says on `errors` what was
// wrong, prefixed by `tool`. 0 when the shape is open (a vertex put back
// onto its freedom is said, and is no error); 2 for a link that cannot be
// used (an unknown tiling, group or name, a coordinate that is not a
// number); 1 for a shape that does not tile.
int openLink(Opened& opened, std::string_view link, const std::string& tool, std::ostream& errors);

}  // namespace shape
