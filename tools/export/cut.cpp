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

// The edges with the pieces of one straight line joined where only those
// two pieces meet: a side the drawing splits in two, or that a shared edge
// stored twice over splits, is cut in one go.
class EdgeJoiner {
 public:
  explicit EdgeJoiner(const std::vector<faces::Edge>& edges) : edges_(edges) {
    for (int e = 0; e < int(edges.size()); ++e) {
      ends_.push_back({nodeAt(edges[e].a), nodeAt(edges[e].b)});
      at_[ends_[e].first].push_back(e);
      at_[ends_[e].second].push_back(e);
    }
  }

  std::vector<Polyline> joined() const {
    std::vector<char> used(edges_.size(), 0);
    std::vector<Polyline> lines;
    for (int e = 0; e < int(edges_.size()); ++e) {
      if (used[e]) continue;
      // Back from e to where its line starts, then along the line to its end.
      const auto [first, start] = walk(e, ends_[e].second, nullptr);
      const int end = walk(first, start, &used).second;
      lines.push_back({{points_[start], points_[end]}, false});
    }
    return lines;
  }

 private:
  int nodeAt(Vec2 p) {
    const auto [it, added] = nodes_.try_emplace({p.x, p.y}, int(points_.size()));
    if (added) points_.push_back(p), at_.emplace_back();
    return it->second;
  }
  int otherEnd(int e, int node) const {
    return ends_[e].first == node ? ends_[e].second : ends_[e].first;
  }
  int otherEdge(int e, int node) const {
    const std::vector<int>& here = at_[node];
    return here[0] == e ? here[1] : here[0];
  }
  // Only two edges meet at the node, running on in one straight line.
  bool straightThrough(int node) const {
    const std::vector<int>& here = at_[node];
    if (here.size() != 2 || here[0] == here[1]) return false;
    const Vec2 p = points_[node];
    const Vec2 d = faces::minus(points_[otherEnd(here[0], node)], p);
    const Vec2 e = faces::minus(points_[otherEnd(here[1], node)], p);
    constexpr double straightSine = 1e-4;
    return faces::dot(d, e) < 0 &&
           std::abs(faces::cross(d, e)) <= straightSine * faces::length(d) * faces::length(e);
  }
  // Along edge e away from `node`, and on through nodes where the line runs
  // straight: the last edge taken and the node it ends at. Marks the edges
  // taken in `used`, if given.
  std::pair<int, int> walk(int e, int node, std::vector<char>* used) const {
    int end = otherEnd(e, node);
    if (used) (*used)[e] = 1;
    for (std::size_t steps = 0; straightThrough(end) && steps < edges_.size(); ++steps) {
      e = otherEdge(e, end);
      end = otherEnd(e, end);
      if (used) (*used)[e] = 1;
    }
    return {e, end};
  }

  const std::vector<faces::Edge>& edges_;
  std::map<std::pair<double, double>, int> nodes_;
  std::vector<Vec2> points_;
  std::vector<std::vector<int>> at_;
  std::vector<std::pair<int, int>> ends_;
};

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
    if (!boxOf(line.points).meets(page_)) return pieces;
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
  for (Polyline& line : EdgeJoiner(analysis.edges).joined()) {
    for (Vec2& p : line.points) p = onPage(p, page, layout);
    for (Polyline& piece : clip.line(line)) drawing.edges.push_back(std::move(piece));
  }
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
  Drawing drawing{page, {}, {outline}};
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
  for (const Polyline& line : drawing.edges)
    out << (line.closed ? "<polygon" : "<polyline") << " points=\"" << pointList(line.points)
        << "\"/>\n";
  out << "</g>\n</svg>\n";
}

}  // namespace tools
