#include "symmetry/orbits.h"

#include <numeric>

namespace symmetry {

namespace {

int find(std::vector<int>& root, int k) {
  while (root[k] != k) k = root[k] = root[root[k]];
  return k;
}

int countOrbits(const std::vector<Translates>& things, const std::vector<Operation>& symmetries,
                const Frame& frame, double near) {
  PeriodIndex index(frame, near);
  for (int k = 0; k < int(things.size()); ++k)
    if (!things[k].sparse) index.add(things[k].st, k);
  std::vector<int> root(things.size());
  std::iota(root.begin(), root.end(), 0);
  for (int k = 0; k < int(things.size()); ++k) {
    if (things[k].sparse) continue;
    for (const Operation& op : symmetries) {
      const int image = index.find(apply(op, things[k].st),
                                   [&](int j) { return things[j].kind == things[k].kind; });
      if (image >= 0) root[find(root, image)] = find(root, k);
    }
  }
  int orbits = 0;
  for (int k = 0; k < int(things.size()); ++k) orbits += !things[k].sparse && find(root, k) == k;
  return orbits;
}

std::string word(int n, const char* stem) {
  if (n == 0) return "";
  return (n == 1 ? std::string() : std::to_string(n) + "-") + stem;
}

}  // namespace

Orbits orbitsOf(const Motif& motif, const std::vector<Operation>& symmetries, const Frame& frame,
                double near) {
  return {countOrbits(motif.tiles, symmetries, frame, near),
          countOrbits(motif.vertices, symmetries, frame, near),
          countOrbits(motif.edges, symmetries, frame, near)};
}

std::string orbitWords(const Orbits& o) {
  std::string text;
  for (const std::string& w :
       {word(o.tiles, "isohedral"), word(o.vertices, "isogonal"), word(o.edges, "isotoxal")})
    if (!w.empty()) text += (text.empty() ? "" : ", ") + w;
  return text;
}

}  // namespace symmetry
