#include "shape/layout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "faces/periods.h"

namespace shape {

namespace {

// A block of at most this many segments keeps one rebuild with its face
// analysis within a few milliseconds for every tiling.
constexpr int segmentBudget = 250;

bool near(Point p, double x, double y, double tolerance) {
  return std::abs(p.x - x) <= tolerance && std::abs(p.y - y) <= tolerance;
}

// The unit after every given point is moved by a small step: the same when
// the copies are built at the origin, moved with the step when they lie
// where the points are, and neither when the construction depends on where
// its points are, not only on where they are relative to each other.
enum class Frame { own, origin, neither };

Frame frameOf(const tools::TilingProgram& program, const tools::Periodic& own,
              std::span<const Point> given) {
  constexpr double dx = 0.25, dy = 0.125, tolerance = 1e-4;
  std::vector<Point> stepped(given.begin(), given.end());
  for (Point& p : stepped) p.x += float(dx), p.y += float(dy);
  const std::vector<Segment> after = tools::periodicOf(program, stepped).unit;
  if (after.size() != own.unit.size()) return Frame::neither;
  bool same = true, moved = true;
  for (std::size_t k = 0; k < after.size(); ++k) {
    const Point a = own.unit[k].a;
    same = same && near(after[k].a, a.x, a.y, tolerance);
    moved = moved && near(after[k].a, a.x + dx, a.y + dy, tolerance);
  }
  if (same) return Frame::origin;
  if (moved) return Frame::own;
  return Frame::neither;
}

double distanceToSegment(double x, double y, const Segment& s, Point shift) {
  const double ax = s.a.x + shift.x, ay = s.a.y + shift.y;
  const double bx = s.b.x + shift.x, by = s.b.y + shift.y;
  const double ex = bx - ax, ey = by - ay, length2 = ex * ex + ey * ey;
  double t = length2 > 0 ? ((x - ax) * ex + (y - ay) * ey) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (ax + t * ex), y - (ay + t * ey));
}

// Is the side from p to q drawn, in one segment or several on one line?
bool sideDrawn(const std::vector<Segment>& segments, Point shift, Point p, Point q,
               double tolerance) {
  for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    const double x = p.x + t * (q.x - p.x), y = p.y + t * (q.y - p.y);
    const bool on = std::any_of(segments.begin(), segments.end(), [&](const Segment& s) {
      return distanceToSegment(x, y, s, shift) <= tolerance;
    });
    if (!on) return false;
  }
  return true;
}

int blockWithin(const tools::Periodic& own) {
  const int once = int(own.once.size()), perCopy = int(own.unit.size());
  int n = 3;
  while (once + perCopy * (n + 2) * (n + 2) <= segmentBudget) n += 2;
  return n;
}

double largestDistance(std::span<const Point> points) {
  double size = 0;
  for (const Point& p : points)
    for (const Point& q : points) size = std::max(size, std::hypot(double(p.x) - q.x, double(p.y) - q.y));
  return size;
}

// The points that say where a drawing is and how large: its given points,
// or, for a tiling given none, the ends of its unit's segments.
std::vector<Point> extentPoints(std::span<const Point> given, const tools::Periodic& own) {
  if (!given.empty()) return {given.begin(), given.end()};
  std::vector<Point> ends;
  for (const Segment& s : own.unit) ends.insert(ends.end(), {s.a, s.b});
  if (ends.empty()) ends.push_back(Point{0, 0, 0, 9});
  return ends;
}

}  // namespace

Layout layOut(const tools::TilingProgram& program) {
  const std::vector<Point> given = tiles::givenValues(program.givenPoints());
  const tools::Periodic own = tools::periodicOf(program, given);
  Layout layout;
  layout.block = blockWithin(own);
  const std::vector<Point> extent = extentPoints(given, own);
  layout.size = std::max(largestDistance(extent), 1e-3);
  layout.u = {own.u.x, own.u.y};
  layout.v = {own.v.x, own.v.y};

  // A construction that stores part of its drawing where the points are and
  // the copies at the origin (pentatile7's pentagon before its tile), or one
  // whose shape depends on where its first point is, keeps that point where
  // the program has it: only then do its handles, its stored drawing and its
  // copies agree.
  const Frame frame = frameOf(program, own, given);
  layout.movedToOrigin = frame == Frame::origin;
  layout.firstPinned = frame == Frame::neither || (layout.movedToOrigin && !own.once.empty());

  const Point shift = copyShift(layout, given);
  const double tolerance = 1e-4 * layout.size;
  layout.corners = given.size() >= 3;
  for (std::size_t k = 0; k < given.size() && layout.corners; ++k)
    layout.corners = sideDrawn(own.unit, shift, given[k], given[(k + 1) % given.size()], tolerance);

  const auto [left, right] = std::minmax_element(
      extent.begin(), extent.end(), [](Point a, Point b) { return a.x < b.x; });
  const auto [low, high] = std::minmax_element(
      extent.begin(), extent.end(), [](Point a, Point b) { return a.y < b.y; });
  layout.centre = {(left->x + right->x) / 2.0, (low->y + high->y) / 2.0};
  layout.spread = {(right->x - left->x) / 2.0, (high->y - low->y) / 2.0};
  return layout;
}

tools::Periodic placedUnit(const tools::TilingProgram& program, const Layout& layout,
                           std::span<const Point> given) {
  tools::Periodic placed = tools::periodicOf(program, given);
  const Point shift = copyShift(layout, given);
  for (Segment& s : placed.unit) {
    s.a.x += shift.x, s.a.y += shift.y;
    s.b.x += shift.x, s.b.y += shift.y;
  }
  return placed;
}

Point copyShift(const Layout& layout, std::span<const Point> given) {
  if (layout.movedToOrigin && !given.empty()) return Point{given[0].x, given[0].y, 0, 9};
  return Point{0, 0, 0, 9};
}

SceneStore blockAround(const tools::Periodic& placed, const Layout& layout) {
  const int half = layout.block / 2;
  SceneStore block;
  block.segments = tools::periodicBlock(placed, -half, half);
  return block;
}

double viewHalfHeight(const Layout& layout, double aspect) {
  // The program's steps may be long and slanted; its lattice's shortest
  // basis says how large one period looks.
  const faces::Lattice shortest =
      faces::reduceLattice({layout.u.x, layout.u.y}, {layout.v.x, layout.v.y}, 1e-9 * layout.size);
  const double period = std::max(faces::length(shortest.u), faces::length(shortest.v));
  // Four periods across the shorter side, whichever side that is.
  const double shorter = 2 * period;
  const double fourPeriods = aspect >= 1 ? shorter : shorter / aspect;
  // Every given point within the inner two thirds of the view.
  const double shown = 1.5 * std::max(layout.spread.y, layout.spread.x / aspect);
  return std::max(fourPeriods, shown);
}

}  // namespace shape
