#include "faces/weld.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_set>

namespace faces {

namespace {

// Union-find over end point indices.
struct Clusters {
  std::vector<int> parent;
  explicit Clusters(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  int root(int i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  }
  void join(int a, int b) { parent[root(a)] = root(b); }
};

// hypot, not a plain square root: far-flung points must not overflow.
double distance(Vec2 p, Vec2 q) { return std::hypot(p.x - q.x, p.y - q.y); }

// Keeps each segment once, whichever way round it was drawn, and none of
// no length.
void leaveOutCopies(std::vector<std::pair<int, int>>& segments) {
  std::unordered_set<std::uint64_t> seen;
  std::vector<std::pair<int, int>> kept;
  for (auto [a, b] : segments) {
    if (a == b) continue;
    if (a > b) std::swap(a, b);
    if (seen.insert((std::uint64_t(a) << 32) | std::uint32_t(b)).second) kept.emplace_back(a, b);
  }
  segments = std::move(kept);
}

// About one cell per segment over the drawing's extent, never finer than a
// few weld radii.
double cellSize(const Welded& w) {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (Vec2 p : w.points) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  const double extent = w.points.empty() ? 0 : std::max(maxX - minX, maxY - minY);
  const double perSegment =
      extent / std::sqrt(double(std::max<std::size_t>(w.segments.size(), 1)));
  return std::max(perSegment, 4 * weldRadius);
}

// Whether segments p-q and r-s cross: each pair of ends strictly on
// opposite sides of the other segment's line.
bool crosses(Vec2 p, Vec2 q, Vec2 r, Vec2 s) {
  auto side = [](Vec2 a, Vec2 b, Vec2 c) {
    const double d = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (d > 0) - (d < 0);
  };
  return side(p, q, r) * side(p, q, s) < 0 && side(r, s, p) * side(r, s, q) < 0;
}

}  // namespace

Welded weldEnds(std::span<const Segment2> drawn) {
  std::vector<Vec2> ends;
  ends.reserve(drawn.size() * 2);
  for (const Segment2& s : drawn) {
    ends.push_back(s.a);
    ends.push_back(s.b);
  }
  Clusters clusters(ends.size());
  GridHash hash(weldRadius);
  for (int i = 0; i < int(ends.size()); ++i) {
    hash.forNear(ends[i], [&](int j) {
      if (distance(ends[i], ends[j]) <= weldRadius) clusters.join(i, j);
    });
    hash.insert(ends[i], i);
  }

  Welded w;
  std::vector<int> index(ends.size(), -1);
  std::vector<int> members;
  for (int i = 0; i < int(ends.size()); ++i) {
    const int r = clusters.root(i);
    if (index[r] < 0) {
      index[r] = int(w.points.size());
      w.points.push_back({0, 0});
      members.push_back(0);
    }
    index[i] = index[r];
    w.points[index[i]].x += ends[i].x;
    w.points[index[i]].y += ends[i].y;
    ++members[index[i]];
  }
  for (std::size_t k = 0; k < w.points.size(); ++k) {
    w.points[k].x /= members[k];
    w.points[k].y /= members[k];
  }
  for (std::size_t s = 0; s < drawn.size(); ++s) w.segments.emplace_back(index[2 * s], index[2 * s + 1]);
  leaveOutCopies(w.segments);
  return w;
}

SegmentCells::SegmentCells(const Welded& w) : cell_(cellSize(w)), cells_(cell_) {
  for (int k = 0; k < int(w.segments.size()); ++k)
    forSamples(w, k, [&](Vec2 p) { cells_.insert(p, k); });
}

// Any point on the segment lies within half a cell of a sample, so the nine
// cells around the point hold the segment.
template <class Visit>
void SegmentCells::forSamples(const Welded& w, int k, Visit visit) const {
  const Vec2 s = w.points[w.segments[k].first], e = w.points[w.segments[k].second];
  // A cell is at least the extent over the root of the segment count, so no
  // segment needs more samples than this; the bound also holds where the
  // numbers are too far out to divide well.
  const double most = 3 * std::sqrt(double(w.segments.size())) + 2;
  const int n = int(std::min(std::ceil(2 * distance(s, e) / cell_), most));
  for (int i = 0; i <= n; ++i) {
    const double t = n == 0 ? 0 : double(i) / n;
    visit(Vec2{s.x + t * (e.x - s.x), s.y + t * (e.y - s.y)});
  }
}

std::size_t countCrossings(const Welded& w, const SegmentCells& cells, std::size_t limit) {
  std::size_t found = 0;
  std::vector<int> lastSeen(w.segments.size(), -1);
  for (int k = 0; k < int(w.segments.size()) && found < limit; ++k) {
    const auto [a, b] = w.segments[k];
    cells.forNearSegment(w, k, [&](int j) {
      if (j <= k || lastSeen[j] == k) return;
      lastSeen[j] = k;
      const auto [c, d] = w.segments[j];
      if (a == c || a == d || b == c || b == d) return;
      found += crosses(w.points[a], w.points[b], w.points[c], w.points[d]);
    });
  }
  return found;
}

void cutAtPoints(Welded& w, const SegmentCells& cells) {
  // For each segment, the points on it and how far along.
  std::vector<std::vector<std::pair<double, int>>> cuts(w.segments.size());
  std::vector<int> lastSeen(w.segments.size(), -1);
  for (int p = 0; p < int(w.points.size()); ++p) {
    const Vec2 at = w.points[p];
    cells.forNear(at, [&](int k) {
      if (lastSeen[k] == p) return;
      lastSeen[k] = p;
      const auto [a, b] = w.segments[k];
      if (a == p || b == p) return;
      const Vec2 s = w.points[a], e = w.points[b];
      const double len = distance(s, e);
      const double along = ((at.x - s.x) * (e.x - s.x) + (at.y - s.y) * (e.y - s.y)) / len;
      const double off = std::abs((at.x - s.x) * (e.y - s.y) - (at.y - s.y) * (e.x - s.x)) / len;
      if (off <= weldRadius && along > weldRadius && along < len - weldRadius)
        cuts[k].emplace_back(along, p);
    });
  }
  std::vector<std::pair<int, int>> pieces;
  for (std::size_t k = 0; k < w.segments.size(); ++k) {
    std::sort(cuts[k].begin(), cuts[k].end());
    int from = w.segments[k].first;
    for (auto [along, p] : cuts[k]) {
      pieces.emplace_back(from, p);
      from = p;
    }
    pieces.emplace_back(from, w.segments[k].second);
  }
  w.segments = std::move(pieces);
  leaveOutCopies(w.segments);
}

}  // namespace faces
