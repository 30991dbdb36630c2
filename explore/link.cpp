#include "explore/link.h"

namespace explore {

std::vector<std::string> applyLink(Explorer& e, const std::vector<LinkedPoint>& points) {
  const std::vector<std::string> problems = shape::applyPoints(e, points);
  rebuild(e);
  return problems;
}

ShapeOutcome applyShape(Explorer& e, const LinkRequest& r) {
  const std::size_t kept = e.family.kept;
  const ShapeOutcome outcome = shape::applyShape(e, r);
  if (e.family.kept != kept || outcome.problems.empty()) rebuild(e);
  return outcome;
}

std::vector<std::string> openRequest(Explorer& e, const LinkRequest& r) {
  load(e, *r.program, r.mode);
  std::vector<std::string> said = r.problems;
  if (r.mode == Mode::construction) {
    for (const std::string& p : applyLink(e, r.points)) said.push_back(p);
    return said;
  }
  if (!inSymmetryMode(e)) {
    if (!r.keep.empty() || !r.shape.empty())
      said.push_back(std::string(r.program->name) + " has no symmetry mode (" + e.family.problem +
                     "): its construction is shown");
    return said;
  }
  const ShapeOutcome outcome = applyShape(e, r);
  for (const std::string& p : outcome.problems) said.push_back(p);
  for (const std::string& p : outcome.notes) said.push_back(p);
  if (!outcome.untileable.empty())
    said.push_back("the shape does not tile (" + outcome.untileable + "); the own shape is shown");
  return said;
}

}  // namespace explore
