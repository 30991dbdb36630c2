// The translations that carry a drawing onto itself, found from its faces
// alone: the two shortest independent periods, and what one period holds.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "faces/faces.h"

namespace faces {

// A reduced basis of the drawing's translations: u is a shortest period, v a
// shortest one independent of u, turning counter-clockwise from u.
struct Lattice {
  Vec2 u, v;
  double area = 0;  // of the parallelogram u, v
};

// None when the drawing has no two independent periods (a lone tile, a
// strip, random segments). Faces far from the drawing's edge decide; a few
// faces that do not repeat (a hole, a stray face) do not hide the periods.
std::optional<Lattice> findPeriods(const Analysis& analysis);

// Faces by number of sides, and interior vertex configurations, in one
// period: each counted once per translation class, problem faces left out.
struct PerPeriod {
  std::map<int, int> faces;
  std::map<std::string, int> vertices;
};
PerPeriod countPerPeriod(const Analysis& analysis, const Lattice& lattice);

}  // namespace faces
