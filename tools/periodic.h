// Every tiling as one unit repeated by two translations, learned from the
// program's own construction: the segments one copy stores, the segments
// some constructions store once before their copies, and the steps between
// neighbouring copies. Holds for the program's own points and for any others
// the construction accepts.
#pragma once

#include <span>
#include <vector>

#include "tools/registry.h"

namespace tools {

struct Step {
  double x = 0, y = 0;
};

struct Periodic {
  std::vector<Segment> once;  // stored before the first copy
  std::vector<Segment> unit;  // the first copy: row 0, column 0
  Step u;                     // from one copy to the next along a row
  Step v;                     // from one row to the next
};

// From the program's own given points, or from `given`.
Periodic periodicOf(const TilingProgram& program);
Periodic periodicOf(const TilingProgram& program, std::span<const Point> given);

// `segment` moved by i v + j u.
Segment copyOf(const Periodic& periodic, const Segment& segment, int i, int j);

// The stored-once segments, then the unit moved by i v + j u for every row
// i and column j from `first` to `last`, rows outer: the patch a program
// stores for first = 0, last = n - 1, up to float noise.
std::vector<Segment> periodicBlock(const Periodic& periodic, int first, int last);

}  // namespace tools
