#include "tools/export/cut.h"

#include <geos_c.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "faces/periods.h"

namespace tools {

using faces::Vec2;

namespace {

// A plain decimal: digits with at most one point among them, nothing else
// (no sign, exponent, "inf" or "nan").
bool parseDecimal(std::string_view text, double& value) {
  int digits = 0, points = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.') ++points;
    else return false;
  }
  if (digits == 0 || points > 1) return false;
  // strtod rather than from_chars: the web build's library has no
  // floating-point from_chars.
  const std::string digitsOnly(text);
  char* stop = nullptr;
  value = std::strtod(digitsOnly.c_str(), &stop);
  return stop == digitsOnly.c_str() + digitsOnly.size() && std::isfinite(value);
}

struct Box {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  void add(Vec2 p) {
    minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
  }
  Vec2 middle() const { return {(minX + maxX) / 2, (minY + maxY) / 2}; }
  bool meets(const Page& page) const {
    return maxX >= 0 && minX <= page.width && maxY >= 0 && minY <= page.height;
  }
  bool within(const Page& page) const {
    return minX > 0 && maxX < page.width && minY > 0 && maxY < page.height;
  }
};

Box boxOf(std::span<const Vec2> points) {
  Box b;
  for (Vec2 p : points) b.add(p);
  return b;
}

Box unitBox(const Periodic& periodic) {
  Box b;
  for (const Segment& s : periodic.unit) b.add({s.a.x, s.a.y}), b.add({s.b.x, s.b.y});
  if (periodic.unit.empty() || !std::isfinite(b.maxX - b.minX) || !std::isfinite(b.maxY - b.minY))
    throw std::invalid_argument("the unit has no finite segments");
  return b;
}

// The lattice's two shortest independent periods.
faces::Lattice shortestPeriods(const Periodic& periodic) {
  const Vec2 u{periodic.u.x, periodic.u.y}, v{periodic.v.x, periodic.v.y};
  const double size = std::max(faces::length(u), faces::length(v));
  if (!std::isfinite(size) || !(std::abs(faces::cross(u, v)) > 1e-9 * size * size))
    throw std::invalid_argument("the periods are not two independent steps");
  return faces::reduceLattice(u, v, 1e-9 * size);
}

double longerOf(const faces::Lattice& l) {
  return std::max(faces::length(l.u), faces::length(l.v));
}

std::length_error tooLarge(double segments, const char* roughly) {
  char text[200];
  std::snprintf(text, sizeof text,
                "the page needs %s%.0f segments of copies of the unit, more than %zu: choose fewer "
                "periods or a smaller page",
                roughly, segments, maxPageSegments);
  return std::length_error(text);
}

Vec2 onPage(Vec2 p, const Page& page, const PageLayout& layout) {
  return {page.width / 2 + (p.x - layout.centre.x) * layout.scale,
          page.height / 2 - (p.y - layout.centre.y) * layout.scale};
}

// GEOS, one context, cutting lines and rings to the page's rectangle.
class PageClip {
 public:
  explicit PageClip(const Page& page) : page_(page), ctx_(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(ctx_, &PageClip::onError, &error_);
  }
  ~PageClip() { GEOS_finish_r(ctx_); }
  PageClip(const PageClip&) = delete;
  PageClip& operator=(const PageClip&) = delete;

  // The pieces of an open line on the page.
  std::vector<Polyline> line(const Polyline& line) {
    std::vector<Polyline> pieces;
    const Box box = boxOf(line.points);
    if (!box.meets(page_)) return pieces;
    if (box.within(page_)) return {line};
    std::vector<Vec2> points = line.points;
    if (line.closed) points.push_back(points.front());
    const Owned clipped = clip(GEOSGeom_createLineString_r(ctx_, sequence(points)));
    forParts(clipped.get(), [&](const GEOSGeometry* part) {
      if (GEOSGeomTypeId_r(ctx_, part) != GEOS_LINESTRING) return;
      Polyline piece{pointsOf(GEOSGeom_getCoordSeq_r(ctx_, part)), false};
      if (piece.points.size() >= 2) pieces.push_back(std::move(piece));
    });
    return pieces;
  }

  // The parts of a face's ring on the page, each without its closing point.
  std::vector<std::vector<Vec2>> ring(std::vector<Vec2> points) {
    std::vector<std::vector<Vec2>> parts;
    if (points.size() < 3 || !boxOf(points).meets(page_)) return parts;
    points.push_back(points.front());
    GEOSGeometry* shell = GEOSGeom_createLinearRing_r(ctx_, sequence(points));
    const Owned clipped = clip(shell ? GEOSGeom_createPolygon_r(ctx_, shell, nullptr, 0) : nullptr);
    // Faces have no holes, nor do their parts within a rectangle.
    forParts(clipped.get(), [&](const GEOSGeometry* part) {
      if (GEOSGeomTypeId_r(ctx_, part) != GEOS_POLYGON) return;
      std::vector<Vec2> outline =
          pointsOf(GEOSGeom_getCoordSeq_r(ctx_, GEOSGetExteriorRing_r(ctx_, part)));
      if (outline.size() >= 4) outline.pop_back(), parts.push_back(std::move(outline));
    });
    return parts;
  }

 private:
  struct Free {
    GEOSContextHandle_t ctx;
    void operator()(GEOSGeometry* g) const { GEOSGeom_destroy_r(ctx, g); }
  };
  using Owned = std::unique_ptr<GEOSGeometry, Free>;

  static void onError(const char* message, void* userdata) {
    *static_cast<std::string*>(userdata) = message;
  }
  Owned own(GEOSGeometry* g) const {
    if (g == nullptr) throw std::runtime_error("GEOS: " + error_);
    return Owned(g, Free{ctx_});
  }
  Owned clip(GEOSGeometry* g) const {
    const Owned whole = own(g);
    return own(GEOSClipByRect_r(ctx_, whole.get(), 0, 0, page_.width, page_.height));
  }
  GEOSCoordSequence* sequence(const std::vector<Vec2>& points) const {
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(ctx_, unsigned(points.size()), 2);
    for (unsigned k = 0; s && k < points.size(); ++k)
      GEOSCoordSeq_setXY_r(ctx_, s, k, points[k].x, points[k].y);
    return s;
  }
  std::vector<Vec2> pointsOf(const GEOSCoordSequence* s) const {
    unsigned n = 0;
    std::vector<Vec2> points;
    if (s == nullptr || !GEOSCoordSeq_getSize_r(ctx_, s, &n)) return points;
    points.resize(n);
    for (unsigned k = 0; k < n; ++k) GEOSCoordSeq_getXY_r(ctx_, s, k, &points[k].x, &points[k].y);
    return points;
  }
  template <class Visit>
  void forParts(const GEOSGeometry* g, Visit visit) const {
    const int n = GEOSGetNumGeometries_r(ctx_, g);
    for (int k = 0; k < n; ++k) {
      const GEOSGeometry* part = GEOSGetGeometryN_r(ctx_, g, k);
      const int type = GEOSGeomTypeId_r(ctx_, part);
      if (type == GEOS_GEOMETRYCOLLECTION || type == GEOS_MULTILINESTRING || type == GEOS_MULTIPOLYGON)
        forParts(part, visit);
      else
        visit(part);
    }
  }

  Page page_;
  GEOSContextHandle_t ctx_;
  std::string error_ = "failed";
};

// Shortest text for a length in millimetres, to a tenth of a micrometre.
std::string millimetres(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", v);
  std::string s = text;
  s.erase(s.find_last_not_of('0') + 1);
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string hex(faces::Rgb8 c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

std::string pointList(const std::vector<Vec2>& points) {
  std::string list;
  for (const Vec2& p : points) {
    if (!list.empty()) list += ' ';
    list += millimetres(p.x) + "," + millimetres(p.y);
  }
  return list;
}

// --- Strokes: the lines as a graph of exactly matched points, walked into
// runs; then points bucketed in cells to find the nearest ends.

// The lines' pieces between numbered points, and the pieces at each point.
struct LineGraph {
  std::vector<Vec2> points;
  std::vector<std::pair<int, int>> pieces;
  std::vector<std::vector<int>> at;
};

LineGraph graphOf(const std::vector<Polyline>& lines) {
  LineGraph g;
  std::map<std::pair<double, double>, int> numbered;
  auto number = [&](Vec2 p) {
    const auto [it, added] = numbered.try_emplace({p.x, p.y}, int(g.points.size()));
    if (added) g.points.push_back(p), g.at.emplace_back();
    return it->second;
  };
  for (const Polyline& line : lines) {
    const std::size_t n = line.points.size();
    const std::size_t sides = n < 2 ? 0 : line.closed && n > 2 ? n : n - 1;
    for (std::size_t k = 0; k < sides; ++k) {
      const int a = number(line.points[k]), b = number(line.points[(k + 1) % n]);
      if (a == b) continue;  // a piece of no length draws nothing
      g.at[a].push_back(int(g.pieces.size()));
      g.at[b].push_back(int(g.pieces.size()));
      g.pieces.push_back({a, b});
    }
  }
  return g;
}

// The points of the run from `start` along `piece`, on through points where
// only two pieces meet, to one where more or fewer do or back to `start`.
// Marks the pieces taken.
std::vector<int> walkRun(const LineGraph& g, int start, int piece, std::vector<char>& used) {
  std::vector<int> run{start};
  for (int p = start;;) {
    used[piece] = 1;
    const auto [a, b] = g.pieces[piece];
    p = a == p ? b : a;
    run.push_back(p);
    if (p == start || g.at[p].size() != 2) return run;
    piece = g.at[p][0] == piece ? g.at[p][1] : g.at[p][0];
    if (used[piece]) return run;
  }
}

// Going on from `before` through `p` to `after` in one straight line.
bool runsStraight(Vec2 before, Vec2 p, Vec2 after) {
  const Vec2 d = faces::minus(p, before), e = faces::minus(after, p);
  constexpr double straightSine = 1e-4;
  return faces::dot(d, e) > 0 &&
         std::abs(faces::cross(d, e)) <= straightSine * faces::length(d) * faces::length(e);
}

// The points where a stroke turns; a closed one starts at one of them.
std::vector<Vec2> cornersOf(std::vector<Vec2> points, bool closed) {
  const std::size_t n = points.size();
  if (closed) {
    std::size_t corner = 0;
    while (corner < n && runsStraight(points[(corner + n - 1) % n], points[corner], points[(corner + 1) % n]))
      ++corner;
    if (corner == n) return points;  // no corner: nothing to leave out
    std::rotate(points.begin(), points.begin() + std::ptrdiff_t(corner), points.end());
    points.push_back(points.front());
  }
  std::vector<Vec2> kept{points.front()};
  for (std::size_t k = 1; k + 1 < points.size(); ++k)
    if (!runsStraight(kept.back(), points[k], points[k + 1])) kept.push_back(points[k]);
  if (!closed) kept.push_back(points.back());
  return kept;
}

Polyline strokeOf(const LineGraph& g, const std::vector<int>& run, bool closed) {
  std::vector<Vec2> points;
  for (std::size_t k = 0; k < run.size() - (closed ? 1 : 0); ++k) points.push_back(g.points[run[k]]);
  return {cornersOf(std::move(points), closed), closed};
}

Vec2 lastOf(const Polyline& stroke) {
  return stroke.closed ? stroke.points.front() : stroke.points.back();
}

double distance(Vec2 p, Vec2 q) { return faces::length(faces::minus(p, q)); }

// A stroke's point where the pen may go down: its vertex `vertex`.
struct StrokePoint {
  int stroke, vertex;
  Vec2 at;
};

// Stroke points bucketed in square cells, looked at ring by ring around a
// place: a point in ring r + 1 is at least r cells' widths away.
class PointGrid {
 public:
  explicit PointGrid(const std::vector<StrokePoint>& points) {
    Box box;
    for (const StrokePoint& p : points) box.add(p.at);
    origin_ = {box.minX, box.minY};
    const double side = std::max({box.maxX - box.minX, box.maxY - box.minY, 1e-9});
    cell_ = side / std::max(1.0, std::ceil(std::sqrt(double(points.size()))));
    columns_ = int((box.maxX - box.minX) / cell_) + 1;
    rows_ = int((box.maxY - box.minY) / cell_) + 1;
    cells_.resize(std::size_t(columns_) * std::size_t(rows_));
    for (const StrokePoint& p : points) cells_[cellOf(p.at)].push_back(p);
  }

  // The nearest point of a stroke not yet taken, those of taken strokes
  // dropped on the way; false when there is none.
  bool takeNearest(Vec2 from, const std::vector<char>& taken, StrokePoint& nearest) {
    double best = INFINITY;
    lookAround(from, [&](std::vector<StrokePoint>& cell) {
      for (std::size_t k = 0; k < cell.size();) {
        if (taken[cell[k].stroke]) {
          cell[k] = cell.back(), cell.pop_back();
          continue;
        }
        const double d = distance(from, cell[k].at);
        if (d < best) best = d, nearest = cell[k];
        ++k;
      }
    }, [&](double beyond) { return best <= beyond; });
    return best < INFINITY;
  }

  // The `count` nearest points of strokes other than `stroke`, nearest first.
  std::vector<StrokePoint> nearest(Vec2 from, int stroke, std::size_t count) {
    std::vector<std::pair<double, StrokePoint>> found;
    lookAround(from, [&](std::vector<StrokePoint>& cell) {
      for (const StrokePoint& p : cell)
        if (p.stroke != stroke) found.push_back({distance(from, p.at), p});
    }, [&](double beyond) {
      if (found.size() < count) return false;
      std::nth_element(found.begin(), found.begin() + std::ptrdiff_t(count - 1), found.end(),
                       [](const auto& l, const auto& r) { return l.first < r.first; });
      found.resize(count);
      return found.back().first <= beyond;
    });
    std::sort(found.begin(), found.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    std::vector<StrokePoint> points;
    for (std::size_t k = 0; k < found.size() && k < count; ++k) points.push_back(found[k].second);
    return points;
  }

 private:
  std::size_t cellOf(Vec2 p) const {
    return std::size_t(rowOf(p)) * std::size_t(columns_) + std::size_t(columnOf(p));
  }
  int columnOf(Vec2 p) const { return std::clamp(int((p.x - origin_.x) / cell_), 0, columns_ - 1); }
  int rowOf(Vec2 p) const { return std::clamp(int((p.y - origin_.y) / cell_), 0, rows_ - 1); }

  // Each cell ring by ring around `from`, until `enough` says the points
  // found beat any at least `beyond` away, or the rings leave the grid.
  template <class Look, class Enough>
  void lookAround(Vec2 from, Look look, Enough enough) {
    const int c = columnOf(from), r = rowOf(from);
    const int last = std::max({c, columns_ - 1 - c, r, rows_ - 1 - r});
    auto at = [&](int i, int j) {
      if (i >= 0 && i < columns_ && j >= 0 && j < rows_)
        look(cells_[std::size_t(j) * std::size_t(columns_) + std::size_t(i)]);
    };
    for (int ring = 0; ring <= last; ++ring) {
      if (ring == 0) at(c, r);
      for (int i = c - ring; ring > 0 && i <= c + ring; ++i) at(i, r - ring), at(i, r + ring);
      for (int j = r - ring + 1; ring > 0 && j < r + ring; ++j) at(c - ring, j), at(c + ring, j);
      if (enough(ring * cell_)) return;
    }
  }

  Vec2 origin_;
  double cell_ = 1;
  int columns_ = 1, rows_ = 1;
  std::vector<std::vector<StrokePoint>> cells_;
};

// Where the pen may go down on each stroke: an open one's two ends, every
// vertex of a closed one (or only its start, `startsOnly`).
std::vector<StrokePoint> penDownPoints(const std::vector<Polyline>& strokes, bool startsOnly) {
  std::vector<StrokePoint> points;
  for (int s = 0; s < int(strokes.size()); ++s) {
    const std::vector<Vec2>& p = strokes[s].points;
    if (strokes[s].closed && !startsOnly)
      for (int v = 0; v < int(p.size()); ++v) points.push_back({s, v, p[v]});
    else if (strokes[s].closed)
      points.push_back({s, 0, p.front()});
    else
      points.push_back({s, 0, p.front()}), points.push_back({s, int(p.size()) - 1, p.back()});
  }
  return points;
}

// A drawing order of strokes as reversals of stretches of it see it: the
// pen's start at place 0, then the strokes, each maybe drawn backwards.
class StrokeOrder {
 public:
  StrokeOrder(const std::vector<Polyline>& strokes, Vec2 from) : strokes_(strokes), from_(from) {
    for (int s = 0; s < int(strokes.size()); ++s) order_.push_back(s), place_.push_back(s + 1);
    order_.insert(order_.begin(), -1);
    backwards_.assign(strokes.size(), 0);
  }
  int size() const { return int(strokes_.size()); }
  int at(int place) const { return order_[place]; }
  int placeOf(int stroke) const { return place_[stroke]; }
  bool backwards(int stroke) const { return backwards_[stroke]; }
  // Where the stroke at a place starts and ends as drawn.
  Vec2 head(int place) const { return end(order_[place], false); }
  Vec2 tail(int place) const { return end(order_[place], true); }
  // Whether the pen goes down (or up) at vertex `vertex` of `stroke`.
  bool startsAt(int stroke, int vertex) const { return isEnd(stroke, vertex, false); }
  bool endsAt(int stroke, int vertex) const { return isEnd(stroke, vertex, true); }

  // How much shorter the travel gets drawing places `first` to `last`
  // (1 <= first <= last) the other way round.
  double gainReversing(int first, int last) const {
    double gain = distance(tail(first - 1), head(first)) - distance(tail(first - 1), tail(last));
    if (last < size()) gain += distance(tail(last), head(last + 1)) - distance(head(first), head(last + 1));
    return gain;
  }
  void reverse(int first, int last) {
    std::reverse(order_.begin() + first, order_.begin() + last + 1);
    for (int k = first; k <= last; ++k) backwards_[order_[k]] ^= 1, place_[order_[k]] = k;
  }

 private:
  Vec2 end(int stroke, bool tail) const {
    if (stroke < 0) return from_;
    const Polyline& s = strokes_[stroke];
    return s.closed || tail == bool(backwards_[stroke]) ? s.points.front() : s.points.back();
  }
  bool isEnd(int stroke, int vertex, bool tail) const {
    const Polyline& s = strokes_[stroke];
    return s.closed || (vertex == 0) == (tail == bool(backwards_[stroke]));
  }

  const std::vector<Polyline>& strokes_;
  Vec2 from_;
  std::vector<int> order_, place_;
  std::vector<char> backwards_;
};

// One stroke's element: a straight one a line, a closed one a path.
std::string strokeElement(const Polyline& stroke) {
  const std::vector<Vec2>& p = stroke.points;
  if (p.size() < 2) return "";
  if (stroke.closed) return "<path d=\"M " + pointList({p.front()}) + " L " +
                            pointList({p.begin() + 1, p.end()}) + " Z\"/>\n";
  if (p.size() == 2)
    return "<line x1=\"" + millimetres(p[0].x) + "\" y1=\"" + millimetres(p[0].y) + "\" x2=\"" +
           millimetres(p[1].x) + "\" y2=\"" + millimetres(p[1].y) + "\"/>\n";
  return "<polyline points=\"" + pointList(p) + "\"/>\n";
}

}  // namespace

bool parsePageSize(std::string_view text, Page& page, std::string& error) {
  const std::size_t times = text.find('x');
  const bool shaped = text.size() > 2 && text.substr(text.size() - 2) == "mm" &&
                      times != std::string_view::npos;
  if (!shaped || !parseDecimal(text.substr(0, times), page.width) ||
      !parseDecimal(text.substr(times + 1, text.size() - 2 - (times + 1)), page.height)) {
    error = "give the width and height in millimetres as WIDTHxHEIGHTmm, e.g. 200x150mm";
    return false;
  }
  if (page.width <= 0 || page.height <= 0) {
    error = "the width and height must be more than 0 mm";
    return false;
  }
  if (page.width > maxPageSide || page.height > maxPageSide) {
    error = "the width and height may be at most " + millimetres(maxPageSide) + " mm";
    return false;
  }
  return true;
}

bool parsePeriods(std::string_view text, double& periods, std::string& error) {
  if (!parseDecimal(text, periods) || periods <= 0) {
    error = "give a positive number, e.g. 4 or 2.5";
    return false;
  }
  return true;
}

PageLayout layOutPage(const Periodic& periodic, const Page& page, double periods) {
  PageLayout layout;
  layout.centre = unitBox(periodic).middle();
  layout.scale = std::min(page.width, page.height) / (periods * longerOf(shortestPeriods(periodic)));
  return layout;
}

std::vector<faces::Segment2> pageBlock(const Periodic& periodic, const Page& page,
                                       const PageLayout& layout) {
  const Box unit = unitBox(periodic);
  const faces::Lattice lattice = shortestPeriods(periodic);
  // Every face that reaches the page lies whole within this much of it.
  const double margin = std::hypot(unit.maxX - unit.minX, unit.maxY - unit.minY) + longerOf(lattice);
  const double halfWidth = page.width / 2 / layout.scale + margin;
  const double halfHeight = page.height / 2 / layout.scale + margin;
  // The steps that move the unit's box onto the page so enlarged.
  Box steps;
  steps.add({layout.centre.x - halfWidth - unit.maxX, layout.centre.y - halfHeight - unit.maxY});
  steps.add({layout.centre.x + halfWidth - unit.minX, layout.centre.y + halfHeight - unit.minY});
  // The same corners in steps of the two periods.
  Box along;
  for (Vec2 corner : {Vec2{steps.minX, steps.minY}, Vec2{steps.minX, steps.maxY},
                      Vec2{steps.maxX, steps.minY}, Vec2{steps.maxX, steps.maxY}})
    along.add({faces::cross(corner, lattice.v) / lattice.area,
               faces::cross(lattice.u, corner) / lattice.area});
  const double firstI = std::floor(along.minX), lastI = std::ceil(along.maxX);
  const double firstJ = std::floor(along.minY), lastJ = std::ceil(along.maxY);
  const double unitSize = double(periodic.unit.size());
  // Far too many are refused before they are counted one by one.
  if ((lastI - firstI + 1) * (lastJ - firstJ + 1) * unitSize > 16.0 * double(maxPageSegments))
    throw tooLarge((steps.maxX - steps.minX) * (steps.maxY - steps.minY) / lattice.area * unitSize,
                   "about ");

  std::vector<Vec2> shifts;
  for (double i = firstI; i <= lastI; ++i)
    for (double j = firstJ; j <= lastJ; ++j) {
      const Vec2 s = faces::plus(faces::times(i, lattice.u), faces::times(j, lattice.v));
      if (s.x >= steps.minX && s.x <= steps.maxX && s.y >= steps.minY && s.y <= steps.maxY)
        shifts.push_back(s);
    }
  if (double(shifts.size()) * unitSize > double(maxPageSegments))
    throw tooLarge(double(shifts.size()) * unitSize, "");
  std::vector<faces::Segment2> block;
  block.reserve(shifts.size() * periodic.unit.size());
  for (Vec2 s : shifts)
    for (const Segment& seg : periodic.unit)
      block.push_back({{seg.a.x + s.x, seg.a.y + s.y}, {seg.b.x + s.x, seg.b.y + s.y}});
  return block;
}

Drawing pageDrawing(const faces::Analysis& analysis, const Page& page, const PageLayout& layout,
                    bool filled) {
  Drawing drawing{page, {}, {}};
  PageClip clip(page);
  if (filled)
    for (const faces::Face& f : analysis.faces) {
      std::vector<Vec2> ring;
      for (Vec2 p : faces::outlineOf(f)) ring.push_back(onPage(p, page, layout));
      for (std::vector<Vec2>& part : clip.ring(std::move(ring)))
        drawing.fills.push_back({std::move(part), faces::fillOf(analysis, f)});
    }
  std::vector<Polyline> pieces;
  for (const faces::Edge& e : analysis.edges)
    for (Polyline& piece : clip.line({{onPage(e.a, page, layout), onPage(e.b, page, layout)}, false}))
      pieces.push_back(std::move(piece));
  drawing.strokes = orderStrokes(joinStrokes(pieces));
  return drawing;
}

Drawing tileDrawing(const faces::Analysis& analysis, const Page& page, Vec2 middle, bool filled) {
  const faces::Face* nearest = nullptr;
  double best = INFINITY;
  const bool clean = std::any_of(analysis.faces.begin(), analysis.faces.end(),
                                 [](const faces::Face& f) { return !f.problem; });
  for (const faces::Face& f : analysis.faces) {
    const double d = faces::length(faces::minus(faces::middleOf(f), middle));
    if ((!clean || !f.problem) && d < best) best = d, nearest = &f;
  }
  if (nearest == nullptr) throw std::invalid_argument("the drawing has no closed face");
  const Box box = boxOf(faces::outlineOf(*nearest));
  PageLayout layout;
  layout.centre = box.middle();
  layout.scale = 0.9 * std::min(page.width / std::max(box.maxX - box.minX, 1e-300),
                                page.height / std::max(box.maxY - box.minY, 1e-300));
  Polyline outline{{}, true};
  for (Vec2 p : faces::outlineOf(*nearest)) outline.points.push_back(onPage(p, page, layout));
  Drawing drawing{page, {}, orderStrokes(joinStrokes({outline}))};
  if (filled) drawing.fills.push_back({outline.points, faces::fillOf(analysis, *nearest)});
  return drawing;
}

Drawing cutDrawing(const Periodic& periodic, const CutRequest& request) {
  const PageLayout layout = layOutPage(periodic, request.page, request.periods);
  const std::vector<faces::Segment2> block = pageBlock(periodic, request.page, layout);
  const faces::Analysis analysis = faces::analyse(block, faces::AnalysisOptions{request.curved, {}});
  if (request.tile) return tileDrawing(analysis, request.page, layout.centre, request.filled);
  return pageDrawing(analysis, request.page, layout, request.filled);
}

std::vector<Polyline> joinStrokes(const std::vector<Polyline>& lines) {
  const LineGraph g = graphOf(lines);
  std::vector<char> used(g.pieces.size(), 0);
  std::vector<Polyline> strokes;
  // The runs from their ends, then what is left: loops without an end.
  for (const bool loops : {false, true})
    for (int p = 0; p < int(g.points.size()); ++p)
      if ((g.at[p].size() == 2) == loops)
        for (int piece : g.at[p])
          if (!used[piece]) strokes.push_back(strokeOf(g, walkRun(g, p, piece, used), loops));
  return strokes;
}

double penUpTravel(const std::vector<Polyline>& strokes, Vec2 from) {
  double travel = 0;
  for (const Polyline& s : strokes)
    if (!s.points.empty()) travel += distance(from, s.points.front()), from = lastOf(s);
  return travel;
}

std::vector<Polyline> orderByNearestEnd(std::vector<Polyline> strokes, Vec2 from) {
  std::erase_if(strokes, [](const Polyline& s) { return s.points.empty(); });
  if (strokes.empty()) return strokes;
  PointGrid grid(penDownPoints(strokes, false));
  std::vector<char> taken(strokes.size(), 0);
  std::vector<Polyline> ordered;
  for (StrokePoint next; grid.takeNearest(from, taken, next);) {
    taken[next.stroke] = 1;
    Polyline s = std::move(strokes[next.stroke]);
    if (s.closed) std::rotate(s.points.begin(), s.points.begin() + next.vertex, s.points.end());
    else if (next.vertex != 0) std::reverse(s.points.begin(), s.points.end());
    from = lastOf(s);
    ordered.push_back(std::move(s));
  }
  return ordered;
}

std::vector<Polyline> shortenTravel(std::vector<Polyline> strokes, Vec2 from) {
  std::erase_if(strokes, [](const Polyline& s) { return s.points.empty(); });
  if (strokes.size() < 2) return strokes;
  // The few ends nearest each end, and nearest the pen's start: a reversal
  // worth making joins one of them to a new neighbour in the order.
  constexpr std::size_t neighbours = 8;
  constexpr int longestReversal = 2000;
  constexpr int passes = 50;
  constexpr double gainWorthIt = 1e-9;
  const std::vector<StrokePoint> ends = penDownPoints(strokes, true);
  PointGrid grid(ends);
  // Each stroke's front's, then its back's (none for a closed one).
  std::vector<std::vector<StrokePoint>> near(2 * strokes.size());
  for (const StrokePoint& e : ends)
    near[2 * std::size_t(e.stroke) + (e.vertex == 0 ? 0 : 1)] = grid.nearest(e.at, e.stroke, neighbours);
  const std::vector<StrokePoint> nearStart = grid.nearest(from, -1, neighbours);
  auto nearTo = [&](int stroke, bool tail, const StrokeOrder& order) -> const std::vector<StrokePoint>& {
    if (stroke < 0) return nearStart;
    const bool front = strokes[stroke].closed || tail == order.backwards(stroke);
    return near[2 * std::size_t(stroke) + (front ? 0 : 1)];
  };

  StrokeOrder order(strokes, from);
  const int n = order.size();
  auto tryReversing = [&](int first, int last) {
    if (first < 1 || first > last || last - first > longestReversal) return false;
    if (!(order.gainReversing(first, last) > gainWorthIt)) return false;
    order.reverse(first, last);
    return true;
  };
  for (int pass = 0, better = 1; pass < passes && better; ++pass) {
    better = 0;
    // The pen going from the end before `place` to the end of a later stroke,
    // or from the start of an earlier stroke to the start after `place`.
    for (int place = 1; place <= n; ++place) {
      for (const StrokePoint& p : nearTo(order.at(place - 1), true, order))
        if (order.endsAt(p.stroke, p.vertex) && tryReversing(place, order.placeOf(p.stroke))) {
          ++better;
          break;
        }
      if (place == n) continue;
      for (const StrokePoint& p : nearTo(order.at(place + 1), false, order))
        if (order.startsAt(p.stroke, p.vertex) && tryReversing(order.placeOf(p.stroke), place)) {
          ++better;
          break;
        }
    }
  }
  std::vector<Polyline> ordered;
  for (int place = 1; place <= n; ++place) {
    Polyline s = std::move(strokes[order.at(place)]);
    if (order.backwards(order.at(place)) && !s.closed) std::reverse(s.points.begin(), s.points.end());
    ordered.push_back(std::move(s));
  }
  return ordered;
}

std::vector<Polyline> orderStrokes(std::vector<Polyline> strokes, Vec2 from) {
  // The nearest end next breaks ties between ends equally near by the order
  // it is given, and a symmetric drawing has many: ordered again from its
  // own order, it may find a shorter way. The shortest of a few goes.
  std::vector<Polyline> now = shortenTravel(orderByNearestEnd(std::move(strokes), from), from);
  std::vector<Polyline> best = now;
  double shortest = penUpTravel(best, from);
  for (int again = 0; again < 3; ++again) {
    now = shortenTravel(orderByNearestEnd(std::move(now), from), from);
    if (const double travel = penUpTravel(now, from); travel < shortest) {
      best = now;
      shortest = travel;
    }
  }
  return best;
}

std::string strokeSummary(const Drawing& drawing) {
  char text[80];
  std::snprintf(text, sizeof text, "%zu stroke%s, pen-up travel %.1f mm", drawing.strokes.size(),
                drawing.strokes.size() == 1 ? "" : "s", penUpTravel(drawing.strokes));
  return text;
}

void writeCutSvg(std::ostream& out, const Drawing& drawing) {
  const std::string w = millimetres(drawing.page.width), h = millimetres(drawing.page.height);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w << "mm\" height=\"" << h
      << "mm\" viewBox=\"0 0 " << w << " " << h << "\">\n";
  if (!drawing.fills.empty()) {
    out << "<g stroke=\"none\">\n";
    for (const Fill& f : drawing.fills)
      out << "<polygon fill=\"" << hex(f.colour) << "\" points=\"" << pointList(f.ring) << "\"/>\n";
    out << "</g>\n";
  }
  out << "<g fill=\"none\" stroke=\"#000000\" stroke-width=\"" << millimetres(cutStrokeWidth)
      << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
  for (const Polyline& stroke : drawing.strokes) out << strokeElement(stroke);
  out << "</g>\n</svg>\n";
}

}  // namespace tools
