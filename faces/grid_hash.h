// Points filed by square cells of one size, so that the points near a place
// are found without scanning them all: the neighbours within one cell size
// are always among the nine cells around it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "faces/faces.h"

namespace faces {

// A square of the plane, as its column and row.
struct Cell {
  std::int64_t i = 0, j = 0;
  bool operator==(const Cell&) const = default;
};

struct CellHash {
  std::size_t operator()(Cell c) const {
    // Mixes both halves: cells far apart in either direction stay apart.
    std::uint64_t h = std::uint64_t(c.i) * 0x9e3779b97f4a7c15ull;
    h ^= std::uint64_t(c.j) + 0x632be59bd9b4e019ull + (h << 6) + (h >> 2);
    return std::size_t(h ^ (h >> 29));
  }
};

// The cell of side `size` that holds p. Far-off points share the outermost
// cells rather than overflow.
inline Cell cellAt(Vec2 p, double size) {
  auto column = [size](double v) { return std::int64_t(std::clamp(std::floor(v / size), -1e15, 1e15)); };
  return {column(p.x), column(p.y)};
}

class GridHash {
 public:
  explicit GridHash(double cell) : cell_(cell) {}

  void insert(Vec2 p, int id) { cells_[key(column(p.x), column(p.y))].push_back(id); }

  // Calls visit(id) for every point filed in the nine cells around p.
  template <class Visit>
  void forNear(Vec2 p, Visit visit) const {
    const std::int64_t cx = column(p.x), cy = column(p.y);
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i)
      for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
        const auto it = cells_.find(key(i, j));
        if (it == cells_.end()) continue;
        for (int id : it->second) visit(id);
      }
  }

 private:
  // Far-off points share the outermost cells rather than overflow.
  std::int64_t column(double v) const {
    return std::int64_t(std::clamp(std::floor(v / cell_), -1e15, 1e15));
  }
  static std::uint64_t key(std::int64_t i, std::int64_t j) {
    return (std::uint64_t(i) << 32) ^ std::uint64_t(std::uint32_t(j));
  }

  double cell_;
  std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

}  // namespace faces
