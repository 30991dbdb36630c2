#include "explore/explorer.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "explore/shape.h"
#include "explore/triangles.h"

namespace explore {

namespace {

// Builds the patch from `points` and moves it onto them.
SceneStore placedPatch(const Explorer& e, const std::vector<Point>& points) {
  SceneStore placed = builtPatch(*e.program, e.layout, points);
  const Point shift = drawingShift(e.layout, points, placed);
  for (Segment& s : placed.segments) {
    s.a.x += shift.x, s.a.y += shift.y;
    s.b.x += shift.x, s.b.y += shift.y;
  }
  return placed;
}

faces::Analysis analysed(const SceneStore& placed) {
  return faces::analyse(faces::sceneSegments(placed));
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
    e.own = analysed(placedPatch(e, e.points));
  } catch (const std::invalid_argument&) {
    e.own = {};
  }
  rebuild(e);
}

void rebuild(Explorer& e) {
  const std::string name(e.program->name);
  e.analysis = {};
  e.placed = {};
  std::optional<std::string> wrong = degeneracy(e.program->givenPoints(), e.points, e.layout);
  SceneStore placed = placedPatch(e, e.points);
  // Whatever the points, a drawing is shown only when it is finite and near.
  const std::optional<std::string> far = sceneDegeneracy(placed, e.layout);
  if (!far) e.placed = std::move(placed);
  if (!wrong) wrong = far;
  if (!wrong) {
    try {
      e.analysis = analysed(e.placed);
    } catch (const std::invalid_argument& error) {
      wrong = std::string("degenerate: ") + error.what();
    }
  }
  e.feedback = wrong ? unanalysed(name, *wrong) : assess(name, e.own, e.analysis);
  // Faces the comparison flags are problem faces like the analysis's own,
  // on screen and in the exported picture alike.
  for (std::size_t k = 0; k < e.analysis.faces.size() && k < e.feedback.flagged.size(); ++k)
    e.analysis.faces[k].problem = e.analysis.faces[k].problem || e.feedback.flagged[k];
  fill(e);
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
