#include "symmetry/frame.h"

#include <algorithm>
#include <cmath>

namespace symmetry {

namespace {

// Cells no narrower than `near` across, and no more than this many along
// each period.
constexpr std::int64_t mostCells = 4096;

std::int64_t cellsAcross(double span) {
  if (!(span > 0)) return 1;
  return std::clamp<std::int64_t>(std::int64_t(std::floor(1 / span)), 1, mostCells);
}

}  // namespace

Frame::Frame(const faces::Lattice& lattice, Vec2 at)
    : origin(at), u(lattice.u), v(lattice.v), det(cross(lattice.u, lattice.v)) {}

Vec2 Frame::toLattice(Vec2 p) const { return inPeriods({p.x - origin.x, p.y - origin.y}); }

Vec2 Frame::inPeriods(Vec2 d) const { return {cross(d, v) / det, cross(u, d) / det}; }

Vec2 Frame::toPlane(Vec2 st) const {
  const Vec2 d = along(st);
  return {origin.x + d.x, origin.y + d.y};
}

Vec2 Frame::along(Vec2 st) const { return {st.x * u.x + st.y * v.x, st.x * u.y + st.y * v.y}; }

double Frame::apart(Vec2 st, Vec2 other) const {
  const Vec2 d{st.x - other.x - std::round(st.x - other.x),
               st.y - other.y - std::round(st.y - other.y)};
  // For a reduced basis the nearest whole period is among these nine.
  double best = length(along(d));
  for (int i = -1; i <= 1; ++i)
    for (int j = -1; j <= 1; ++j) best = std::min(best, length(along({d.x + i, d.y + j})));
  return best;
}

Vec2 wrap(Vec2 st) {
  Vec2 w{st.x - std::floor(st.x), st.y - std::floor(st.y)};
  // floor leaves 1 for values just below a whole number.
  if (w.x >= 1) w.x = 0;
  if (w.y >= 1) w.y = 0;
  return w;
}

PeriodIndex::PeriodIndex(const Frame& frame, double near)
    : frame_(frame),
      near_(near),
      // Places within `near` differ in s by at most near |v| / |det|, and in
      // t by near |u| / |det|.
      ns_(cellsAcross(near * length(frame.v) / std::abs(frame.det))),
      nt_(cellsAcross(near * length(frame.u) / std::abs(frame.det))) {}

void PeriodIndex::add(Vec2 st, int id) {
  const Vec2 w = wrap(st);
  cells_[key(cell(w.x, ns_), cell(w.y, nt_))].push_back({w, id});
}

}  // namespace symmetry
