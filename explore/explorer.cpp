#include "explore/explorer.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "explore/shape.h"
#include "explore/triangles.h"

namespace explore {

namespace {

faces::Analysis analysed(const SceneStore& placed) {
  return faces::analyse(faces::sceneSegments(placed));
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
    triangulate(face.corners, e.triangles);
    f.count = e.triangles.size() - f.first;
    e.fills.push_back(f);
  }
}

}  // namespace

void load(Explorer& e, const tools::TilingProgram& program) {
  e.program = &program;
  e.layout = layOut(program);
  e.points = tiles::givenValues(program.givenPoints());
  try {
    e.own = analysed(blockAround(placedUnit(program, e.layout, e.points), e.layout));
  } catch (const std::exception&) {
    e.own = {};
  }
  rebuild(e);
}

void rebuild(Explorer& e) {
  const std::string name(e.program->name);
  e.analysis = {};
  e.placed = {};
  e.periodic = {};
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

bool pinned(const Explorer& e, std::size_t k) { return k == 0 && e.layout.firstPinned; }

bool movePoint(Explorer& e, std::size_t k, Point to) {
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
  e.points = tiles::givenValues(e.program->givenPoints());
  rebuild(e);
}

std::string pointsLine(const Explorer& e) {
  std::ostringstream out;
  out.precision(9);
  const auto names = e.program->givenPoints();
  for (std::size_t k = 0; k < e.points.size(); ++k)
    out << (k ? "  " : "") << names[k].name << " (" << e.points[k].x << ", " << e.points[k].y
        << ")";
  return out.str();
}

}  // namespace explore
