#include "faces/shape_index.h"

#include <algorithm>
#include <cmath>

#include "faces/shapes.h"

namespace faces {

namespace {

// Matching corners of congruent shapes lie within fitDistance of each other
// once fitted, but for the second, which may lie sideTolerance off along
// the first side, and the first, which is the anchor: so distances between
// corners differ by at most three fitDistances. A little more for rounding.
constexpr double keyTolerance = 3 * fitDistance * (1 + 1e-6) + 1e-9;

// At most this many numbers a shape: its six smallest and six largest.
constexpr std::size_t keySize = 12;

double distance(Vec2 p, Vec2 q) { return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y)); }

// The distances between every two corners (only the sides, for shapes of
// many corners), sorted: sorting moves no distance further from its
// partner's than they were.
std::vector<double> keyOf(const Face& f) {
  const std::size_t n = f.corners.size();
  std::vector<double> d;
  if (n <= 16) {
    for (std::size_t k = 0; k < n; ++k)
      for (std::size_t l = k + 1; l < n; ++l) d.push_back(distance(f.corners[k], f.corners[l]));
  } else {
    d = f.sides;
  }
  std::sort(d.begin(), d.end());
  if (d.size() > keySize) d.erase(d.begin() + keySize / 2, d.end() - keySize / 2);
  return d;
}

bool within(const std::vector<double>& a, const std::vector<double>& b) {
  for (std::size_t k = 0; k < a.size(); ++k)
    if (!(std::abs(a[k] - b[k]) <= keyTolerance)) return false;
  return true;
}

}  // namespace

// Shapes of fewer than three corners fit nothing (see fitShape): they need
// no filing.
void ShapeIndex::add(const Face& f, int c) {
  if (f.corners.size() < 3) return;
  std::vector<Node>& tree = trees_[f.corners.size()];
  Node node{keyOf(f), c};
  const int id = int(tree.size());
  if (!tree.empty()) {
    int at = 0;
    for (std::size_t depth = 0;; ++depth) {
      const std::size_t axis = depth % node.key.size();
      int& next = node.key[axis] < tree[at].key[axis] ? tree[at].low : tree[at].high;
      if (next < 0) {
        next = id;
        break;
      }
      at = next;
    }
  }
  tree.push_back(std::move(node));
}

std::vector<int> ShapeIndex::candidates(const Face& f) const {
  std::vector<int> found;
  const auto tree = trees_.find(f.corners.size());
  if (f.corners.size() < 3 || tree == trees_.end()) return found;
  const std::vector<Node>& nodes = tree->second;
  const std::vector<double> key = keyOf(f);
  std::vector<std::pair<int, std::size_t>> todo{{0, 0}};  // node, depth
  while (!todo.empty()) {
    const auto [at, depth] = todo.back();
    todo.pop_back();
    const Node& node = nodes[at];
    if (within(key, node.key)) found.push_back(node.cls);
    const std::size_t axis = depth % key.size();
    if (node.low >= 0 && key[axis] - keyTolerance < node.key[axis]) todo.push_back({node.low, depth + 1});
    if (node.high >= 0 && key[axis] + keyTolerance >= node.key[axis]) todo.push_back({node.high, depth + 1});
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace faces
