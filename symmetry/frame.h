// A drawing's periods as a frame of coordinates: a place as so many of each
// period from an origin, brought back into one period, and things filed by
// where they lie within the period, so that translates are found as one.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "faces/faces.h"
#include "faces/periods.h"

namespace symmetry {

using faces::Vec2;

// p = origin + s u + t v; (s, t) are the lattice coordinates of p.
struct Frame {
  Vec2 origin, u, v;
  double det = 0;  // cross(u, v)

  Frame(const faces::Lattice& lattice, Vec2 origin);
  Vec2 toLattice(Vec2 p) const;
  Vec2 toPlane(Vec2 st) const;
  // A vector given in periods, in the plane, and a vector of the plane in
  // periods.
  Vec2 along(Vec2 st) const;
  Vec2 inPeriods(Vec2 vector) const;
  // How far apart two places are in the plane once whole periods between
  // them are taken out.
  double apart(Vec2 st, Vec2 other) const;
  // How far (s, t) is from a whole number of periods, in the plane.
  double offLattice(Vec2 st) const { return apart(st, {0, 0}); }
};

// (s, t) moved by whole periods into [0, 1) x [0, 1).
Vec2 wrap(Vec2 st);

// Places filed by where they lie within one period: a place found again
// within `near` (in the plane) whatever whole periods lie between.
class PeriodIndex {
 public:
  PeriodIndex(const Frame& frame, double near);
  void add(Vec2 st, int id);
  // The first id filed within `near` of st that `accept` takes, or -1.
  template <class Accept>
  int find(Vec2 st, Accept accept) const {
    const Vec2 w = wrap(st);
    const std::int64_t cs = cell(w.x, ns_), ct = cell(w.y, nt_);
    for (std::int64_t i = -1; i <= 1; ++i)
      for (std::int64_t j = -1; j <= 1; ++j) {
        const auto it = cells_.find(key((cs + i + ns_) % ns_, (ct + j + nt_) % nt_));
        if (it == cells_.end()) continue;
        for (const Entry& e : it->second)
          if (frame_.apart(w, e.st) <= near_ && accept(e.id)) return e.id;
      }
    return -1;
  }

 private:
  struct Entry {
    Vec2 st;
    int id;
  };
  static std::int64_t cell(double x, std::int64_t n) {
    return std::min<std::int64_t>(std::int64_t(x * double(n)), n - 1);
  }
  static std::uint64_t key(std::int64_t s, std::int64_t t) {
    return (std::uint64_t(s) << 32) | std::uint64_t(t);
  }

  Frame frame_;
  double near_;
  std::int64_t ns_, nt_;
  std::unordered_map<std::uint64_t, std::vector<Entry>> cells_;
};

}  // namespace symmetry
