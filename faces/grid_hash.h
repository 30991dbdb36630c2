// Points filed by square cells of one size, so that the points near a place
// are found without scanning them all: the neighbours within one cell size
// are always among the nine cells around it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// Cells numbered in the order first met, found by open addressing in one
// array: no allocation per cell, one look at memory for most finds.
class CellIndex {
 public:
  // The number of cell c, numbering it if it is new.
  int add(Cell c) {
    if (2 * std::size_t(count_ + 1) > slots_.size()) grow();
    Slot& slot = slots_[place(c)];
    if (slot.number < 0) slot = {c, count_++};
    return slot.number;
  }
  // The number of cell c, or -1 if it has none.
  int find(Cell c) const { return slots_.empty() ? -1 : slots_[place(c)].number; }
  int size() const { return count_; }

 private:
  struct Slot {
    Cell cell;
    int number = -1;
  };
  // Where c is, or the empty slot where it would go.
  std::size_t place(Cell c) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = CellHash{}(c) & mask;
    while (slots_[at].number >= 0 && !(slots_[at].cell == c)) at = (at + 1) & mask;
    return at;
  }
  void grow() {
    std::vector<Slot> old(std::max<std::size_t>(16, 2 * slots_.size()));
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.number >= 0) slots_[place(slot.cell)] = slot;
  }

  std::vector<Slot> slots_;  // a power of two of them, at most half full
  int count_ = 0;
};

class GridHash {
 public:
  explicit GridHash(double cell) : cell_(cell) {}

  void insert(Vec2 p, int id) {
    const int number = index_.add(cellAt(p, cell_));
    if (number == int(ids_.size())) ids_.emplace_back();
    ids_[number].push_back(id);
  }

  // Calls visit(id) for every point filed in the nine cells around p.
  template <class Visit>
  void forNear(Vec2 p, Visit visit) const {
    const Cell c = cellAt(p, cell_);
    for (std::int64_t i = c.i - 1; i <= c.i + 1; ++i)
      for (std::int64_t j = c.j - 1; j <= c.j + 1; ++j) {
        const int number = index_.find({i, j});
        if (number < 0) continue;
        for (int id : ids_[number]) visit(id);
      }
  }

 private:
  double cell_;
  CellIndex index_;
  std::vector<std::vector<int>> ids_;  // by cell number
};

}  // namespace faces
