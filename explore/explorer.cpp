#include "explore/explorer.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "shape/link.h"
#include "shape/reach.h"
#include "explore/triangles.h"
#include "family/moves.h"

namespace explore {

namespace {

faces::Analysis analysed(const SceneStore& placed, const faces::AnalysisOptions& options = {}) {
  return faces::analyse(faces::sceneSegments(placed), options);
}

// The lattice cell about the handles' copy: its corner and its sides. It is
// set off the unit's middle by an odd fraction of the periods, so that the
// middles of faces that a tiling repeats never fall on its border.
struct PeriodCell {
  Vec corner, u, v;

  explicit PeriodCell(const tools::Periodic& unit) : u{unit.u.x, unit.u.y}, v{unit.v.x, unit.v.y} {
    double mx = 0, my = 0;
    for (const Segment& s : unit.unit) mx += double(s.a.x) + s.b.x, my += double(s.a.y) + s.b.y;
    const double ends = 2.0 * double(std::max<std::size_t>(unit.unit.size(), 1));
    corner = {mx / ends - 0.4871 * (u.x + v.x), my / ends - 0.4871 * (u.y + v.y)};
  }
  bool holds(faces::Vec2 p) const {
    double a, b;
    if (!latticeCoordinates({p.x - corner.x, p.y - corner.y}, u, v, a, b)) return false;
    return a >= 0 && a < 1 && b >= 0 && b < 1;
  }
};

void pickPeriod(Explorer& e) {
  e.periodFaces.clear();
  e.periodMarks.clear();
  const PeriodCell cell(e.periodic);
  for (std::size_t k = 0; k < e.analysis.faces.size(); ++k)
    if (cell.holds(faces::middleOf(e.analysis.faces[k]))) e.periodFaces.push_back(k);
  for (const faces::Problem& p : e.analysis.problems)
    if ((p.kind == faces::ProblemKind::crossing || p.kind == faces::ProblemKind::dangle ||
         p.kind == faces::ProblemKind::cut) &&
        cell.holds(p.at))
      e.periodMarks.push_back(p.at);
}

void fill(Explorer& e) {
  e.triangles.clear();
  e.fills.clear();
  for (const faces::Face& face : e.analysis.faces) {
    FillTriangles f{faces::fillOf(e.analysis, face), e.triangles.size(), 0};
    triangulate(faces::outlineOf(face), e.triangles);
    f.count = e.triangles.size() - f.first;
    e.fills.push_back(f);
  }
}

// Straight pieces to each span of a curve in the block analysed: coarser
// than the window's, for the faces and their classes come out the same in
// half the time.
constexpr int analysedPieces = 2;

using shape::pointOf;
using shape::segmentsOf;

void rebuildFamily(Explorer& e) {
  const family::Family& f = *e.family.family;
  const family::Shape& s = e.family.shape;
  e.periodic.unit = segmentsOf(family::unitEdges(f, s));
  const std::vector<faces::Vec2> st = family::placed(f, s);
  e.corners.clear();
  for (std::size_t v = 0; v < st.size(); ++v) e.corners.push_back(family::cornerAt(f, s, st, {int(v), 0, 0}));
  e.periodic.u = {s.u.x, s.u.y};
  e.periodic.v = {s.v.x, s.v.y};
  e.placed.segments = segmentsOf(family::blockTiles(f, s, shape::familyHalf(f), analysedPieces));
  const std::string name(e.program->name);
  try {
    e.analysis = analysed(e.placed, analysisOptions(e));
    e.feedback = assessFamily(name, e.analysis, f, openingReason(e.family), e.family.tiles.has_value(),
                              shape::freedomNow(e));
  } catch (const std::exception& error) {
    e.feedback = unanalysed(name, std::string("cannot analyse: ") + error.what());
  }
}

// The vertex handles: one on every vertex class, in the period centred on
// the given points, where the family's lattice coordinates are at home;
// none on the crossings of overlapping copies, which follow their sides
// (the last classes).
std::size_t vertexHandles(const Explorer& e) {
  const family::Family& f = *e.family.family;
  return f.vertices.size() - std::size_t(f.crossings);
}
family::Corner vertexHandle(std::size_t k) { return {int(k), 0, 0}; }

}  // namespace

void load(Explorer& e, const tools::TilingProgram& program, Mode mode) {
  shape::open(e, program, mode);
  shape::chooseOpening(e);
  rebuild(e);
}

std::string nothingToDrag(const Explorer& e) {
  if (inSymmetryMode(e) || !e.program->givenPoints().empty()) return {};
  std::string why = std::string(e.program->name) +
                    " is built from a table of tiles and periods, not from given points: its construction has "
                    "nothing to drag";
  if (e.family.family) why += "; symmetry mode (m) makes every vertex a handle";
  return why;
}

std::string openingReason(const FamilyView& view) {
  if (view.kept != view.opening || view.tiles.has_value() != view.openingTiles) return {};
  return view.openingWhy;
}

bool setMode(Explorer& e, Mode mode) {
  if (mode == Mode::symmetry && !e.family.family) return false;
  e.mode = mode;
  rebuild(e);
  return true;
}

bool keepGroup(Explorer& e, const std::string& name) {
  if (!shape::keepGroup(e, name)) return false;
  if (inSymmetryMode(e)) rebuild(e);
  return true;
}

bool keepTiles(Explorer& e, bool on) {
  if (!inSymmetryMode(e) || !shape::keepTiles(e, on)) return false;
  rebuild(e);
  return true;
}

bool keepNext(Explorer& e) {
  const FamilyView& view = e.family;
  if (!view.family || view.offer.empty()) return false;
  return keepGroup(e, view.offer[(view.kept + 1) % view.offer.size()].name);
}

std::vector<Handle> handlesOf(const Explorer& e) {
  std::vector<Handle> out;
  if (!inSymmetryMode(e)) {
    const auto names = e.program->givenPoints();
    for (std::size_t k = 0; k < e.points.size(); ++k) out.push_back({names[k].name, e.points[k], pinned(e, k)});
    return out;
  }
  const family::Family& f = *e.family.family;
  const family::Shape& s = e.family.shape;
  const std::vector<faces::Vec2> st = family::placed(f, s);
  // With the tiles kept, a vertex the equations hold shows fixed too.
  const std::vector<bool> moves =
      e.family.tiles ? family::freeOrbits(f, s, *e.family.tiles) : std::vector<bool>(f.orbits.size(), true);
  for (std::size_t k = 0; k < vertexHandles(e); ++k) {
    const int orbit = f.vertices[k].orbit;
    const family::Orbit& o = f.orbits[std::size_t(orbit)];
    out.push_back({o.name, pointOf(family::cornerAt(f, s, st, vertexHandle(k))),
                   o.free == 0 || !moves[std::size_t(orbit)]});
  }
  out.push_back({"u", pointOf(faces::plus(f.origin, s.u)), false, Handle::Kind::period});
  out.push_back({"v", pointOf(faces::plus(f.origin, s.v)), false, Handle::Kind::period});
  for (const BendHandle& b : bendHandles(e))
    out.push_back({f.edgeOrbits[b.bend.orbit].name, pointOf(family::bendAt(f, s, st, b.edge, b.bend)), false,
                   Handle::Kind::bend});
  return out;
}

std::vector<BendHandle> bendHandles(const Explorer& e) {
  std::vector<BendHandle> out;
  if (!inSymmetryMode(e)) return out;
  const family::Family& f = *e.family.family;
  for (int edge = 0; edge < int(f.edges.size()); ++edge) {
    const int orbit = f.edges[edge].orbit;
    if (f.edgeOrbits[orbit].shape == family::EdgeShape::straight) continue;
    // A side in pieces shows its bend points once.
    if (f.sides[std::size_t(f.edges[edge].side)].pieces.front() != edge) continue;
    for (int k = 0; k < int(e.family.shape.bends[orbit].size()); ++k) out.push_back({edge, {orbit, k}});
  }
  return out;
}

std::optional<std::size_t> bendEdgeAt(Explorer& e, Point at, double reach) {
  e.note.clear();
  if (!inSymmetryMode(e) || !std::isfinite(at.x) || !std::isfinite(at.y)) return std::nullopt;
  FamilyView& view = e.family;
  const family::Family& f = *view.family;
  const std::vector<faces::Vec2> st = family::placed(f, view.shape);
  const faces::Vec2 p{at.x, at.y};
  int nearest = -1;
  double best = reach;
  for (int edge = 0; edge < int(f.edges.size()); ++edge) {
    const std::vector<faces::Vec2> path = family::edgePath(f, view.shape, st, edge);
    for (std::size_t k = 0; k + 1 < path.size(); ++k) {
      const double off = faces::distanceToSegment(p, path[k], path[k + 1]);
      if (off < best) best = off, nearest = edge;
    }
  }
  if (nearest < 0) return std::nullopt;
  std::string why;
  const std::optional<family::Bend> added =
      family::addBend(f, view.shape, nearest, p, why, view.tiles ? &*view.tiles : nullptr);
  if (!added) {
    e.note = why;
    return std::nullopt;
  }
  rebuild(e);
  const std::vector<BendHandle> bends = bendHandles(e);
  for (std::size_t k = 0; k < bends.size(); ++k)
    if (bends[k].edge == nearest && bends[k].bend.orbit == added->orbit && bends[k].bend.index == added->index)
      return vertexHandles(e) + 2 + k;
  return std::nullopt;
}

bool removeHandle(Explorer& e, std::size_t k) {
  if (!inSymmetryMode(e) || k < vertexHandles(e) + 2) return false;
  const std::vector<BendHandle> bends = bendHandles(e);
  const std::size_t b = k - vertexHandles(e) - 2;
  if (b >= bends.size() || !family::removeBend(e.family.shape, bends[b].bend)) return false;
  rebuild(e);
  return true;
}

void switchCurve(Explorer& e) {
  family::Shape smoother = e.family.shape;
  smoother.smooth = !smoother.smooth;
  // A smooth curve may swing wider than its straight pieces: kept only
  // while the edges stay apart.
  if (e.family.family && family::faultOf(*e.family.family, smoother)) {
    e.note = "a smooth curve through these points would cross an edge";
    return;
  }
  e.family.shape.smooth = smoother.smooth;
  if (inSymmetryMode(e)) rebuild(e);
}

void rebuild(Explorer& e) {
  const std::string name(e.program->name);
  e.analysis = {};
  e.placed = {};
  e.periodic = {};
  e.corners.clear();
  if (inSymmetryMode(e)) {
    rebuildFamily(e);
    fill(e);
    pickPeriod(e);
    return;
  }
  std::optional<std::string> wrong = degeneracy(e.program->givenPoints(), e.points, e.layout);
  tools::Periodic unit = placedUnit(*e.program, e.layout, e.points);
  SceneStore placed = blockAround(unit, e.layout);
  // Whatever the points, a drawing is shown only when it is finite and near.
  const std::optional<std::string> far = sceneDegeneracy(placed, e.layout);
  if (!far) e.placed = std::move(placed), e.periodic = std::move(unit);
  if (!wrong) wrong = far;
  // Copies along one line tile no plane; the block still shows what they do.
  if (!wrong && !spanPlane({e.periodic.u.x, e.periodic.u.y}, {e.periodic.v.x, e.periodic.v.y}))
    wrong = "degenerate: the copies lie along one line";
  if (!wrong) {
    try {
      e.analysis = analysed(e.placed);
    } catch (const std::invalid_argument& error) {
      wrong = std::string("degenerate: ") + error.what();
    } catch (const std::runtime_error& error) {
      // GEOS failing on a drawing it was handed: said, never a crash.
      wrong = std::string("cannot analyse: ") + error.what();
    }
  }
  e.feedback = wrong ? unanalysed(name, *wrong) : assess(name, e.own, e.analysis);
  // Faces the comparison flags are problem faces like the analysis's own,
  // on screen and in the exported picture alike.
  for (std::size_t k = 0; k < e.analysis.faces.size() && k < e.feedback.flagged.size(); ++k)
    e.analysis.faces[k].problem = e.analysis.faces[k].problem || e.feedback.flagged[k];
  fill(e);
  pickPeriod(e);
}

namespace {

bool moveFamily(Explorer& e, std::size_t k, Point to) {
  FamilyView& view = e.family;
  const family::Family& f = *view.family;
  const std::vector<BendHandle> bends = bendHandles(e);
  if (k >= vertexHandles(e) + 2 + bends.size() || pinned(e, k)) return false;
  if (!std::isfinite(to.x) || !std::isfinite(to.y)) return false;
  const Point held = heldInReach(to, e.layout);
  const faces::Vec2 at{held.x, held.y};
  const std::size_t n = vertexHandles(e);
  bool moved = false;
  const family::TileKeeping* tiles = view.tiles ? &*view.tiles : nullptr;
  family::Fault stopped;
  if (k < n)
    moved = family::moveVertex(f, view.shape, vertexHandle(k), at, tiles, &stopped);
  else if (k < n + 2)
    moved = family::movePeriod(f, view.shape, int(k - n), faces::minus(at, f.origin), tiles, &stopped);
  else
    moved = family::moveBend(f, view.shape, bends[k - n - 2].edge, bends[k - n - 2].bend, at, tiles, &stopped);
  // Where keeping the tiles stops a drag short, it says why.
  e.note = tiles ? stopped.what : std::string();
  if (moved) rebuild(e);
  return true;
}

}  // namespace

bool movePoint(Explorer& e, std::size_t k, Point to) {
  if (inSymmetryMode(e)) return moveFamily(e, k, to);
  if (k >= e.points.size() || pinned(e, k)) return false;
  // A cursor that could not be placed on the plane moves nothing.
  if (!std::isfinite(to.x) || !std::isfinite(to.y)) return false;
  const Point held = heldInReach(to, e.layout);
  if (held.x == e.points[k].x && held.y == e.points[k].y) return true;
  e.points[k].x = held.x;
  e.points[k].y = held.y;
  rebuild(e);
  return true;
}

void resetPoints(Explorer& e) {
  if (inSymmetryMode(e))
    e.family.shape = e.family.own;
  else
    e.points = tiles::givenValues(e.program->givenPoints());
  rebuild(e);
}

std::string pointsLine(const Explorer& e) {
  std::ostringstream out;
  out.precision(9);
  if (inSymmetryMode(e)) {
    // The numbers as the link writes them, float noise as 0.
    const family::Family f = shape::familyInExportFrame(e);
    const auto at = [&](faces::Vec2 p) {
      return " (" + shape::linkNumber(p.x, f.size) + ", " + shape::linkNumber(p.y, f.size) + ")";
    };
    out << "keeps " << f.keep.name << ":";
    for (int k = 0; k < int(f.orbits.size()); ++k)
      out << (k ? "  " : " ") << f.orbits[k].name << at(family::representativeAt(f, e.family.shape, k));
    out << "  u" << at(e.family.shape.u) << "  v" << at(e.family.shape.v);
    return out.str();
  }
  const auto names = e.program->givenPoints();
  for (std::size_t k = 0; k < e.points.size(); ++k)
    out << (k ? "  " : "") << names[k].name << " (" << e.points[k].x << ", " << e.points[k].y
        << ")";
  return out.str();
}

}  // namespace explore
