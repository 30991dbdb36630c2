#include "symmetry/identity.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "symmetry/pentagons.h"

namespace symmetry {

namespace {

// Places closer than this share of a period's size (the square root of its
// area) are the same: far above the drawings' float noise, far below the
// distance between any two corners.
constexpr double sameShare = 1e-3;
// Translations among the symmetries that are no periods make the lattice
// finer, and everything is found again on it: at most this many times.
constexpr int mostRefinements = 4;

Vec2 middleOf(const faces::Analysis& a) {
  Vec2 low{1e300, 1e300}, high{-1e300, -1e300};
  for (const faces::Face& f : a.faces)
    for (Vec2 p : f.corners) {
      low = {std::min(low.x, p.x), std::min(low.y, p.y)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
  return {(low.x + high.x) / 2, (low.y + high.y) / 2};
}

}  // namespace

Identity identify(const faces::Analysis& analysis) {
  return identify(analysis, faces::findPeriods(analysis));
}

Identity identify(const faces::Analysis& analysis, std::optional<faces::Lattice> periods) {
  Identity id;
  for (const faces::FaceClass& c : analysis.classes) id.types.push_back(pentagonTypes(c));
  if (!periods || analysis.faces.empty()) return id;
  periods->area = periods->u.x * periods->v.y - periods->u.y * periods->v.x;
  const Vec2 middle = middleOf(analysis);
  for (int step = 0; step <= mostRefinements; ++step) {
    const Frame frame(*periods, middle);
    const double near = sameShare * std::sqrt(std::abs(frame.det));
    const Motif motif = motifOf(analysis, frame, near);
    const std::vector<Operation> symmetries = symmetriesOf(motif, frame, near);
    if (const auto finer = finerLattice(symmetries, frame, near); finer && step < mostRefinements) {
      periods = finer;
      continue;
    }
    id.lattice = periods;
    id.symmetries = symmetries;
    id.origin = middle;
    id.near = near;
    id.group = classify(symmetries, frame, near);
    if (id.group) id.orbits = orbitsOf(motif, symmetries, frame, near);
    break;
  }
  return id;
}

std::string typeList(const std::vector<int>& types) {
  std::string text;
  for (int t : types) text += (text.empty() ? "" : ", ") + std::to_string(t);
  return text;
}

std::string groupName(const Identity& id) {
  if (id.group) return std::string(id.group->name) + " (" + std::string(id.group->orbifold) + ")";
  return id.lattice ? "none (its symmetries make no wallpaper group)"
                    : "none (no two independent periods)";
}

std::string describe(const Identity& id) {
  std::string text;
  if (id.group) {
    text = groupName(id);
    if (const std::string words = orbitWords(id.orbits); !words.empty()) text += ", " + words;
  } else {
    text = id.lattice ? "no wallpaper group" : "no wallpaper group (no two independent periods)";
  }
  std::set<int> all;
  for (const std::vector<int>& t : id.types) all.insert(t.begin(), t.end());
  if (!all.empty())
    text += std::string("; pentagon type") + (all.size() == 1 ? " " : "s ") +
            typeList(std::vector<int>(all.begin(), all.end()));
  return text;
}

}  // namespace symmetry
