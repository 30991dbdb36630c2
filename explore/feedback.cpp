#include "explore/feedback.h"

#include <optional>

#include "faces/periods.h"
#include "symmetry/identity.h"
#include "tools/analyse/report.h"

namespace explore {

namespace {

std::string counted(int n, int sides) {
  const std::string shape = tools::polygonName(sides);
  return std::to_string(n) + " " + (n == 1 ? shape : shape + "s");
}

// Counted per period where the drawing has periods: a figure of the
// tiling, not of how many copies the block holds.
std::string census(const faces::Analysis& a, const std::optional<faces::PerPeriod>& per) {
  std::string text;
  for (auto [sides, n] : per ? per->faces : a.facesBySides())
    text += (text.empty() ? "" : ", ") + counted(n, sides);
  if (text.empty()) return "no faces";
  return per ? text + " per period" : text;
}

std::string vertexList(const faces::Analysis& a, const std::optional<faces::PerPeriod>& per) {
  std::string text;
  for (const auto& [configuration, n] : per ? per->vertices : a.vertices)
    text += (text.empty() ? "" : ", ") + configuration + " x" + std::to_string(n);
  if (text.empty()) return "no interior vertex";
  return per ? text + " per period" : text;
}

// The classes of `now` that match none of `own`'s by sides and number.
std::vector<bool> unmatchedClasses(const faces::Analysis& own, const faces::Analysis& now) {
  std::vector<bool> used(own.classes.size(), false), unmatched(now.classes.size(), true);
  for (std::size_t c = 0; c < now.classes.size(); ++c)
    for (std::size_t o = 0; o < own.classes.size() && unmatched[c]; ++o)
      if (!used[o] && own.classes[o].sides == now.classes[c].sides &&
          own.classes[o].count == now.classes[c].count)
        used[o] = true, unmatched[c] = false;
  return unmatched;
}

}  // namespace

std::string Status::line() const {
  std::string text = name;
  for (const std::string* part : {&census, &vertices, &identity, &verdict})
    if (!part->empty()) text += " | " + *part;
  return text;
}

namespace {

Feedback judged(std::string_view name, const faces::Analysis& now) {
  Feedback f;
  const symmetry::Identity identity = symmetry::identify(now);
  std::optional<faces::PerPeriod> per;
  if (identity.lattice) per = faces::countPerPeriod(now, *identity.lattice);
  f.status = {std::string(name), census(now, per), vertexList(now, per),
              symmetry::describe(identity), now.verdict(), false};
  f.flagged.assign(now.faces.size(), false);
  f.status.clean = f.status.verdict == "tiles without gaps or overlaps";
  return f;
}

}  // namespace

Feedback assessFamily(std::string_view name, const faces::Analysis& now, const family::Family& family,
                      std::string_view why, bool tilesKept, int freedom) {
  Feedback f = judged(name, now);
  if (!why.empty()) f.status.identity.append("; ").append(why);
  if (freedom < 0) freedom = family.freedom;
  f.status.identity += "; keeps " + family.keep.name + ", ";
  if (tilesKept) f.status.identity += "tiles kept congruent, ";
  f.status.identity += std::to_string(freedom) + (freedom == 1 ? " degree" : " degrees") + " of freedom";
  return f;
}

Feedback assess(std::string_view name, const faces::Analysis& own,
                const faces::Analysis& now) {
  Feedback f = judged(name, now);
  if (f.status.clean && now.faces.size() != own.faces.size()) {
    f.status.clean = false;
    f.status.verdict = "gaps or overlaps: " + std::to_string(now.faces.size()) +
                       " faces where the program's own shape makes " +
                       std::to_string(own.faces.size());
    const std::vector<bool> unmatched = unmatchedClasses(own, now);
    for (std::size_t k = 0; k < now.faces.size(); ++k)
      f.flagged[k] = now.faces[k].cls >= 0 && unmatched[std::size_t(now.faces[k].cls)];
  }
  return f;
}

Feedback unanalysed(std::string_view name, std::string what) {
  Feedback f;
  f.status.name = std::string(name);
  f.status.verdict = std::move(what);
  return f;
}

}  // namespace explore
