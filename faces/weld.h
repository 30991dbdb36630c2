// The drawn segments made exact where they are meant to meet: end points
// closer than weldRadius become one point (their mean), an end point that
// close to the inside of another segment cuts it there, and copies of one
// edge become one segment. What is left to node is where segments cross.
//
// Every step here takes time near linear in the number of segments, however
// many of them share an end point or lie on top of each other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

#include "faces/faces.h"
#include "faces/grid_hash.h"

namespace faces {

// The drawn coordinates carry float noise of about 1e-5; the shapes of the
// tilings differ by far more than 1e-2.
inline constexpr double weldRadius = 2e-3;

// Looking for segments near one another may look at no more entries than
// this. Only long segments packed side by side by the thousand need more;
// such a drawing is refused rather than compared pair by pair.
inline constexpr std::size_t maxNearLooks = 400'000'000;

struct Welded {
  std::vector<Vec2> points;
  std::vector<std::pair<int, int>> segments;  // indices into points, lower first
};

// Welds end points and leaves out duplicates and segments of no length.
Welded weldEnds(std::span<const Segment2> drawn);

// The welded segments filed by the cells they pass through, so that the few
// that run near a point are found without scanning them all. Within a cell,
// the segments are filed under one of their end points (the one more
// segments share) and by their direction from it: the segments of a point
// where thousands meet are passed over at one go by a segment or point that
// shares it, and otherwise only those pointing the right way are looked at.
class SegmentCells {
 public:
  // Keeps a reference to w, which must outlive it unchanged.
  explicit SegmentCells(const Welded& w);
  // The points, and the segments by their middles, in an order that keeps
  // neighbours together: looked up one after another, they find the cells
  // they need still at hand in the memory caches.
  std::vector<int> pointsInPlaceOrder() const;
  std::vector<int> segmentsInPlaceOrder() const;
  // Calls visit(k), once or more, for every segment k that passes within
  // weldRadius of p, and maybe for others; segments that end at point
  // `skip` may be left out.
  template <class Visit>
  void forNear(Vec2 p, int skip, Visit visit) const {
    auto sector = [&](int group, bool narrow) {
      return group == skip ? Sector::none() : narrow ? Sector::round(w_.points[group], p) : Sector::all();
    };
    const Cell c = cellAt(p, cell_);
    for (std::int64_t i = c.i - 1; i <= c.i + 1; ++i)
      for (std::int64_t j = c.j - 1; j <= c.j + 1; ++j) visitCell({i, j}, sector, visit);
  }
  // Calls visit(j), once or more, for every segment j that may cross
  // segment k, and maybe for others, but none that shares an end point
  // with it.
  template <class Visit>
  void forCrossing(int k, Visit visit) const {
    const int a = w_.segments[k].first, b = w_.segments[k].second;
    auto sector = [&](int group, bool narrow) {
      return group == a || group == b ? Sector::none()
             : narrow                 ? Sector::between(w_.points[group], w_.points[a], w_.points[b])
                                      : Sector::all();
    };
    Cell last;
    bool started = false;
    forCells(k, [&](Cell c) {
      for (std::int64_t i = c.i - 1; i <= c.i + 1; ++i)
        for (std::int64_t j = c.j - 1; j <= c.j + 1; ++j) {
          // The nine around the previous cell were looked at already.
          if (started && std::abs(i - last.i) <= 1 && std::abs(j - last.j) <= 1) continue;
          visitCell({i, j}, sector, visit);
        }
      last = c;
      started = true;
    });
  }

 private:
  struct Entry {
    int group;     // the end point it is filed under
    double angle;  // of the segment's direction from there
    int segment;
    auto operator<=>(const Entry&) const = default;
  };

  // The directions from a group's point worth looking at: none, all, or
  // those from `low` to `high` (radians, the range maybe running past pi).
  struct Sector {
    enum { none_, all_, some_ } kind;
    double low = 0, high = 0;
    static Sector none() { return {none_}; }
    static Sector all() { return {all_}; }
    // Towards every point within weldRadius of p.
    static Sector round(Vec2 from, Vec2 p);
    // Towards every point of the segment a-b.
    static Sector between(Vec2 from, Vec2 a, Vec2 b);
  };

  // The cells of points along segment k no more than half a cell apart,
  // ends included, each once. Any point on the segment lies within half a
  // cell of one of them, so the nine cells around the point hold the
  // segment.
  template <class Visit>
  void forCells(int k, Visit visit) const {
    const Vec2 s = w_.points[w_.segments[k].first], e = w_.points[w_.segments[k].second];
    const int n = sampleCount(s, e);
    Cell last;
    for (int i = 0; i <= n; ++i) {
      const double t = double(i) / std::max(n, 1);
      const Vec2 p = i == 0 ? s : i == n ? e : Vec2{s.x + t * (e.x - s.x), s.y + t * (e.y - s.y)};
      const Cell c = cellAt(p, cell_);
      if (i > 0 && c == last) continue;
      visit(c);
      last = c;
    }
  }

  // Visits a cell's segments, each group's only in the sector
  // sectorOf(group, narrow); narrowed only where the group is large enough
  // to be worth it.
  template <class SectorOf, class Visit>
  void visitCell(Cell c, SectorOf& sectorOf, Visit& visit) const {
    const int number = index_.find(c);
    if (number < 0) return;
    const std::span<const Entry> entries(entries_.data() + starts_[number],
                                         entries_.data() + starts_[number + 1]);
    // Often a cell holds one group alone: the one shared, it is done with.
    if (entries.front().group == entries.back().group &&
        sectorOf(entries.front().group, false).kind == Sector::none_)
      return look(1);
    std::size_t looked = 0;
    for (std::size_t e = 0; e < entries.size();) {
      const std::size_t end = groupEnd(entries, e);
      const Sector sector = sectorOf(entries[e].group, end - e >= bigGroup);
      ++looked;
      if (sector.kind == Sector::none_) {
        e = end;
        continue;
      }
      auto visitRange = [&](std::size_t from, std::size_t to) {
        looked += to - from;
        for (std::size_t k = from; k < to; ++k) visit(entries[k].segment);
      };
      if (sector.kind == Sector::all_) {
        visitRange(e, end);
      } else {
        // The sector, turned by whole turns where it runs past pi.
        constexpr double turn = 2 * 3.14159265358979323846;
        visitRange(angleBound(entries, e, end, sector.low), angleBound(entries, e, end, sector.high));
        if (sector.low < -turn / 2)
          visitRange(angleBound(entries, e, end, sector.low + turn), end);
        if (sector.high > turn / 2)
          visitRange(e, angleBound(entries, e, end, sector.high - turn));
      }
      e = end;
    }
    look(looked);
  }

  // Groups smaller than this are looked at whole.
  static constexpr std::size_t bigGroup = 8;
  int sampleCount(Vec2 s, Vec2 e) const;
  // The first entry from e on that is filed under another end point.
  static std::size_t groupEnd(std::span<const Entry> entries, std::size_t e);
  // The first entry of the group [from, to) at or past `angle`.
  static std::size_t angleBound(std::span<const Entry> entries, std::size_t from, std::size_t to,
                                double angle);
  // Counts looks against maxNearLooks; throws std::invalid_argument past it.
  void look(std::size_t n) const;

  const Welded& w_;
  double cell_;
  CellIndex index_;
  std::vector<std::size_t> starts_;  // each cell's entries, by its number
  std::vector<Entry> entries_;
  mutable std::size_t looks_ = 0;
};

// The pairs of segments that cross (the lower index first), no more than
// `limit` of them.
std::vector<std::pair<int, int>> crossingPairs(const Welded& w, const SegmentCells& cells,
                                               std::size_t limit);

// Cuts every segment at the welded points that lie on it (within
// weldRadius, away from its ends), then leaves out the copies this makes.
void cutAtPoints(Welded& w, const SegmentCells& cells);

// For each segment, whether it crosses another or comes within weldRadius
// of an end point not its own (then so does every segment ending there):
// the segments that noding may split. All others meet the rest only at
// their own end points.
std::vector<char> entangled(const Welded& w, const SegmentCells& cells);
// The same, given every pair of segments that cross (crossingPairs).
std::vector<char> entangled(const Welded& w, const SegmentCells& cells,
                            std::span<const std::pair<int, int>> crossings);

}  // namespace faces
