#include "explore/feedback.h"

#include "symmetry/identity.h"
#include "tools/analyse/report.h"

namespace explore {

namespace {

std::string counted(int n, int sides) {
  const std::string shape = tools::polygonName(sides);
  return std::to_string(n) + " " + (n == 1 ? shape : shape + "s");
}

std::string census(const faces::Analysis& a) {
  std::string text;
  for (auto [sides, n] : a.facesBySides()) text += (text.empty() ? "" : ", ") + counted(n, sides);
  return text.empty() ? "no faces" : text;
}

std::string vertexList(const faces::Analysis& a) {
  std::string text;
  for (const auto& [configuration, n] : a.vertices)
    text += (text.empty() ? "" : ", ") + configuration + " x" + std::to_string(n);
  return text.empty() ? "no interior vertex" : text;
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

Feedback assess(std::string_view name, const faces::Analysis& own,
                const faces::Analysis& now) {
  Feedback f;
  f.status = {std::string(name), census(now), vertexList(now),
              symmetry::describe(symmetry::identify(now)), now.verdict(), false};
  f.flagged.assign(now.faces.size(), false);
  f.status.clean = f.status.verdict == "tiles without gaps or overlaps";
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
