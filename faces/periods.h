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

// The same lattice as the basis a, b, reduced and turned the one way every
// drawing of it gets: u, of the shortest vectors, the one pointing furthest
// along +x (then furthest along +y); v, of the shortest vectors
// counter-clockwise from u and independent of it, the one nearest u in
// direction: the angle from u to v lies between 60 and 120 degrees, and of
// two equally short choices is the smaller. Lengths and coordinates within
// `near` count as equal.
Lattice reduceLattice(Vec2 a, Vec2 b, double near);

// Faces by number of sides, and interior vertex configurations, in one
// period: each counted once per translation class. Problem faces are left
// out, and so are the vertices at them; what does not repeat along both
// periods (the drawing's edge, a stray face) adds nothing.
struct PerPeriod {
  std::map<int, int> faces;
  std::map<std::string, int> vertices;
};
PerPeriod countPerPeriod(const Analysis& analysis, const Lattice& lattice);

}  // namespace faces
