#include "explore/layout.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace explore {

namespace {

// A patch of at most this many segments keeps one rebuild with its face
// analysis within a few milliseconds for every tiling.
constexpr int segmentBudget = 250;

std::vector<Segment> segmentsBuilt(const tools::TilingProgram& program,
                                   std::span<const Point> given, int n) {
  return tools::builtScene(program, given, n).segments;
}

bool near(Point p, double x, double y, double tolerance) {
  return std::abs(p.x - x) <= tolerance && std::abs(p.y - y) <= tolerance;
}

// The copies at either frame, after every given point is moved by a small
// step: the same when the copies are built at the origin, moved with the
// step when they lie where the points are, and neither when the
// construction depends on where its points are, not only on where they are
// relative to each other.
enum class Frame { own, origin, neither };

Frame frameOf(const tools::TilingProgram& program, const Layout& layout,
              std::span<const Point> given) {
  constexpr double dx = 0.25, dy = 0.125, tolerance = 1e-4;
  std::vector<Point> stepped(given.begin(), given.end());
  for (Point& p : stepped) p.x += float(dx), p.y += float(dy);
  const std::vector<Segment> before = segmentsBuilt(program, given, 1);
  const std::vector<Segment> after = segmentsBuilt(program, stepped, 1);
  if (before.size() != after.size()) return Frame::neither;
  bool same = true, moved = true;
  for (std::size_t k = std::size_t(layout.prefix); k < before.size(); ++k) {
    const Point a = before[k].a;
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

Vec copyOffset(const Layout& layout, const std::vector<Segment>& segments, int n, int i,
               int j) {
  const std::size_t first = std::size_t(layout.prefix);
  const std::size_t at = first + std::size_t(i * n + j) * std::size_t(layout.perCopy);
  if (layout.perCopy <= 0 || at >= segments.size()) return {};
  return {double(segments[at].a.x) - segments[first].a.x,
          double(segments[at].a.y) - segments[first].a.y};
}

int patchWithin(const Layout& layout) {
  int n = 3;
  while (layout.prefix + layout.perCopy * (n + 2) * (n + 2) <= segmentBudget) n += 2;
  return n;
}

double largestDistance(std::span<const Point> points) {
  double size = 0;
  for (const Point& p : points)
    for (const Point& q : points) size = std::max(size, std::hypot(double(p.x) - q.x, double(p.y) - q.y));
  return size;
}

}  // namespace

Layout layOut(const tools::TilingProgram& program) {
  const std::vector<Point> given = tiles::givenValues(program.givenPoints());
  Layout layout;
  const std::vector<Segment> one = segmentsBuilt(program, given, 1);
  const std::vector<Segment> two = segmentsBuilt(program, given, 2);
  layout.perCopy = int(two.size() - one.size()) / 3;
  layout.prefix = int(one.size()) - layout.perCopy;
  layout.patch = patchWithin(layout);
  layout.size = std::max(largestDistance(given), 1e-3);

  // A construction that stores part of its drawing where the points are and
  // the copies at the origin (pentatile7's pentagon before its tile), or one
  // whose shape depends on where its first point is, keeps that point where
  // the program has it: only then do its handles, its stored drawing and its
  // copies agree.
  const Frame frame = frameOf(program, layout, given);
  layout.movedToOrigin = frame == Frame::origin;
  layout.firstPinned = frame == Frame::neither || (layout.movedToOrigin && layout.prefix > 0);

  const Point shift = copyShift(layout, given);
  const double tolerance = 1e-4 * layout.size;
  layout.corners = given.size() >= 3;
  for (std::size_t k = 0; k < given.size() && layout.corners; ++k)
    layout.corners = sideDrawn(one, shift, given[k], given[(k + 1) % given.size()], tolerance);

  double sx = 0, sy = 0;
  for (std::size_t k = std::size_t(layout.prefix); k < one.size(); ++k)
    sx += one[k].a.x + one[k].b.x, sy += one[k].a.y + one[k].b.y;
  const double ends = 2.0 * std::max<std::size_t>(one.size() - std::size_t(layout.prefix), 1);
  layout.middle = {sx / ends + shift.x, sy / ends + shift.y};
  const auto [left, right] = std::minmax_element(
      given.begin(), given.end(), [](Point a, Point b) { return a.x < b.x; });
  const auto [low, high] = std::minmax_element(
      given.begin(), given.end(), [](Point a, Point b) { return a.y < b.y; });
  layout.centre = {(left->x + right->x) / 2.0, (low->y + high->y) / 2.0};
  layout.spread = {(right->x - left->x) / 2.0, (high->y - low->y) / 2.0};

  layout.u = copyOffset(layout, two, 2, 0, 1);
  layout.v = copyOffset(layout, two, 2, 1, 0);
  return layout;
}

SceneStore builtPatch(const tools::TilingProgram& program, const Layout& layout,
                      std::span<const Point> given) {
  return tools::builtScene(program, given, layout.patch);
}

Point copyShift(const Layout& layout, std::span<const Point> given) {
  if (layout.movedToOrigin && !given.empty()) return Point{given[0].x, given[0].y, 0, 9};
  return Point{0, 0, 0, 9};
}

Point drawingShift(const Layout& layout, std::span<const Point> given,
                   const SceneStore& built) {
  Point shift = copyShift(layout, given);
  const int middle = (layout.patch - 1) / 2;
  const std::size_t first = std::size_t(layout.prefix);
  const std::size_t at =
      first + std::size_t(middle * layout.patch + middle) * std::size_t(layout.perCopy);
  if (at < built.segments.size() && at > first) {
    shift.x -= built.segments[at].a.x - built.segments[first].a.x;
    shift.y -= built.segments[at].a.y - built.segments[first].a.y;
  }
  return shift;
}

double viewHalfHeight(const Layout& layout, double aspect) {
  // The patch as a parallelogram of copies about the middle one, less a
  // margin for the ragged edge of its outer copies, in lattice coordinates
  // (a, b) of the view's centre plus a u + b v.
  const double reach = layout.patch / 2.0 - 0.35;
  const Vec u = layout.u, v = layout.v;
  const double det = u.x * v.y - u.y * v.x;
  const double dx = layout.centre.x - layout.middle.x, dy = layout.centre.y - layout.middle.y;
  double filled = 0;
  if (std::abs(det) > 0) {
    // A corner (±aspect h, ±h) of the view lies at most this far out in a
    // and in b.
    const double a0 = std::abs(v.y * dx - v.x * dy) / std::abs(det);
    const double b0 = std::abs(u.x * dy - u.y * dx) / std::abs(det);
    const double perA = (std::abs(v.y) * aspect + std::abs(v.x)) / std::abs(det);
    const double perB = (std::abs(u.y) * aspect + std::abs(u.x)) / std::abs(det);
    filled = std::max(0.0, std::min((reach - a0) / perA, (reach - b0) / perB));
  }
  // Every given point within the inner two thirds of the view.
  const double shown = 1.5 * std::max(layout.spread.y, layout.spread.x / aspect);
  return std::max(filled, shown);
}

}  // namespace explore
