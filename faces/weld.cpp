#include "faces/weld.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <stdexcept>
#include <string>
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

// Whether p may lie within the weld radius of segment s-e: within twice
// that of its bounding box. Cheap, and it passes over most segments that
// merely share a cell with p.
bool mayTouch(Vec2 p, Vec2 s, Vec2 e) {
  constexpr double reach = 2 * weldRadius;
  return p.x >= std::min(s.x, e.x) - reach && p.x <= std::max(s.x, e.x) + reach &&
         p.y >= std::min(s.y, e.y) - reach && p.y <= std::max(s.y, e.y) + reach;
}

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

// --- Welding

// Cells a third narrower than the weld radius: two points in one cell are
// always closer than the radius, so a cell's points weld into one cluster at
// the cost of one measure each (exact copies are not even kept), and points
// within the radius of each other lie at most two cells apart.
constexpr double weldCell = weldRadius / 1.5;

struct WeldCell {
  int first = -1, last = -1;  // members, chained through Welder::next_
  Vec2 low{INFINITY, INFINITY}, high{-INFINITY, -INFINITY};
  // All members in one cluster. Only far-flung points, whose cells are
  // shared, may break it.
  bool whole = true;

  // Some way below the distance from p to every member.
  double reach(Vec2 p) const {
    const double dx = std::max({low.x - p.x, p.x - high.x, 0.0});
    const double dy = std::max({low.y - p.y, p.y - high.y, 0.0});
    return std::hypot(dx, dy) * (1 - 1e-9);
  }
};

class Welder {
 public:
  explicit Welder(const std::vector<Vec2>& ends)
      : ends_(ends), clusters_(ends.size()), next_(ends.size(), -1) {}

  // Joins every two end points within the weld radius, through any chain.
  Clusters weld() {
    std::vector<Cell> cells;
    for (int i = 0; i < int(ends_.size()); ++i) {
      const Cell c = cellAt(ends_[i], weldCell);
      const int number = index_.add(c);
      if (number == int(cells_.size())) cells_.emplace_back(), cells.push_back(c);
      file(i, cells_[number]);
    }
    for (int n = 0; n < int(cells.size()); ++n)
      for (std::int64_t di = 0; di <= 2; ++di)
        for (std::int64_t dj = -2; dj <= 2; ++dj) {
          if (di == 0 && dj <= 0) continue;  // each pair of cells once
          const int there = index_.find({cells[n].i + di, cells[n].j + dj});
          if (there >= 0) weldAcross(cells_[n], cells_[there]);
        }
    return std::move(clusters_);
  }

 private:
  bool near(int i, int j) const { return distance(ends_[i], ends_[j]) <= weldRadius; }

  void file(int i, WeldCell& cell) {
    if (cell.first >= 0) {
      const Vec2 p = ends_[i], first = ends_[cell.first];
      if (cell.whole && near(i, cell.first)) {
        clusters_.join(i, cell.first);
        if (p.x == first.x && p.y == first.y) return;  // a copy adds nothing to look at
      } else {
        cell.whole = false;
        for (int j = cell.first; j >= 0; j = next_[j])
          if (near(i, j)) clusters_.join(i, j);
      }
      next_[cell.last] = i;
    } else {
      cell.first = i;
    }
    cell.last = i;
    cell.low = {std::min(cell.low.x, ends_[i].x), std::min(cell.low.y, ends_[i].y)};
    cell.high = {std::max(cell.high.x, ends_[i].x), std::max(cell.high.y, ends_[i].y)};
  }

  // Two whole cells need one pair within the radius; their bounding boxes
  // pass over members too far away to have one.
  void weldAcross(const WeldCell& a, const WeldCell& b) {
    const bool whole = a.whole && b.whole;
    if (whole && clusters_.root(a.first) == clusters_.root(b.first)) return;
    for (int i = a.first; i >= 0; i = next_[i]) {
      if (b.reach(ends_[i]) > weldRadius) continue;
      for (int j = b.first; j >= 0; j = next_[j])
        if (near(i, j)) {
          clusters_.join(i, j);
          if (whole) return;
        }
    }
  }

  const std::vector<Vec2>& ends_;
  Clusters clusters_;
  std::vector<int> next_;  // the member filed after each in its cell
  CellIndex index_;
  std::vector<WeldCell> cells_;  // by number
};

// --- Segments near one another

// About one cell per segment over the drawing's extent, or as wide as the
// shorter segments are long where that is finer (a few far-off segments
// leave the rest of the drawing its cells); wider where the long segments
// would fill too many: no more than about 48 cells a segment, all added up.
// Never finer than a few weld radii.
double cellSize(const Welded& w) {
  const double count = double(std::max<std::size_t>(w.segments.size(), 1));
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (Vec2 p : w.points) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  const double extent = w.points.empty() ? 0 : std::max(maxX - minX, maxY - minY);
  std::vector<double> lengths;
  lengths.reserve(w.segments.size());
  double total = 0;
  for (auto [a, b] : w.segments) {
    lengths.push_back(distance(w.points[a], w.points[b]));
    total += lengths.back();
  }
  double shorter = 0;
  if (!lengths.empty()) {
    const auto quarter = lengths.begin() + std::ptrdiff_t(lengths.size() / 4);
    std::nth_element(lengths.begin(), quarter, lengths.end());
    shorter = *quarter;
  }
  const double cell =
      std::max({4 * weldRadius, std::min(extent / std::sqrt(count), shorter), total / (48 * count)});
  return std::isfinite(cell) ? cell : DBL_MAX;
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

// The indices of the places sorted along a Z-shaped curve through cells of
// the given size, which keeps places in nearby cells mostly together.
std::vector<int> inPlaceOrder(const std::vector<Vec2>& places, double cell) {
  std::vector<Cell> cells(places.size());
  Cell low{INT64_MAX, INT64_MAX};
  for (std::size_t k = 0; k < places.size(); ++k) {
    cells[k] = cellAt(places[k], cell);
    low = {std::min(low.i, cells[k].i), std::min(low.j, cells[k].j)};
  }
  auto spread = [](std::int64_t offset) {
    std::uint64_t v = std::uint64_t(std::min<std::int64_t>(offset, 0xffffffff));
    v = (v | v << 16) & 0x0000ffff0000ffffull;
    v = (v | v << 8) & 0x00ff00ff00ff00ffull;
    v = (v | v << 4) & 0x0f0f0f0f0f0f0f0full;
    v = (v | v << 2) & 0x3333333333333333ull;
    return (v | v << 1) & 0x5555555555555555ull;
  };
  std::vector<std::pair<std::uint64_t, int>> coded(places.size());
  for (std::size_t k = 0; k < places.size(); ++k)
    coded[k] = {spread(cells[k].i - low.i) | spread(cells[k].j - low.j) << 1, int(k)};
  std::sort(coded.begin(), coded.end());
  std::vector<int> order(places.size());
  for (std::size_t k = 0; k < coded.size(); ++k) order[k] = coded[k].second;
  return order;
}

// How many segments end at each point.
std::vector<int> degrees(const Welded& w) {
  std::vector<int> degree(w.points.size(), 0);
  for (auto [a, b] : w.segments) ++degree[a], ++degree[b];
  return degree;
}

}  // namespace

Welded weldEnds(std::span<const Segment2> drawn) {
  std::vector<Vec2> ends;
  ends.reserve(drawn.size() * 2);
  for (const Segment2& s : drawn) {
    ends.push_back(s.a);
    ends.push_back(s.b);
  }
  Clusters clusters = Welder(ends).weld();

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

SegmentCells::SegmentCells(const Welded& w) : w_(w), cell_(cellSize(w)) {
  const std::vector<int> degree = degrees(w);
  // Entries with their cells' numbers, then laid out cell after cell.
  std::vector<std::pair<int, Entry>> filed;
  for (int k = 0; k < int(w.segments.size()); ++k) {
    const auto [a, b] = w.segments[k];
    const int group = degree[a] > degree[b] || (degree[a] == degree[b] && a < b) ? a : b;
    const Vec2 from = w.points[group], to = w.points[group == a ? b : a];
    const double angle = std::atan2(to.y - from.y, to.x - from.x);
    forCells(k, [&](Cell c) { filed.emplace_back(index_.add(c), Entry{group, angle, k}); });
  }
  starts_.assign(std::size_t(index_.size()) + 1, 0);
  for (const auto& [number, entry] : filed) ++starts_[number + 1];
  for (std::size_t n = 1; n < starts_.size(); ++n) starts_[n] += starts_[n - 1];
  entries_.resize(filed.size());
  std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
  for (const auto& [number, entry] : filed) entries_[next[number]++] = entry;
  for (std::size_t n = 0; n + 1 < starts_.size(); ++n)
    std::sort(entries_.begin() + std::ptrdiff_t(starts_[n]), entries_.begin() + std::ptrdiff_t(starts_[n + 1]));
}

// A cell is at least the segments' mean length over 48, so no segment
// needs more samples than this; the bound also holds where the numbers are
// too far out to divide well.
int SegmentCells::sampleCount(Vec2 s, Vec2 e) const {
  const double most = 96.0 * double(w_.segments.size()) + 2;
  const double n = std::ceil(2 * distance(s, e) / cell_);
  return int(n <= most ? n : most);
}

std::size_t SegmentCells::groupEnd(std::span<const Entry> entries, std::size_t e) {
  const int group = entries[e].group;
  if (e + 1 == entries.size() || entries[e + 1].group != group) return e + 1;
  return std::size_t(std::partition_point(entries.begin() + std::ptrdiff_t(e), entries.end(),
                                          [group](const Entry& x) { return x.group == group; }) -
                     entries.begin());
}

std::size_t SegmentCells::angleBound(std::span<const Entry> entries, std::size_t from,
                                     std::size_t to, double angle) {
  return std::size_t(std::partition_point(entries.begin() + std::ptrdiff_t(from),
                                          entries.begin() + std::ptrdiff_t(to),
                                          [angle](const Entry& x) { return x.angle < angle; }) -
                     entries.begin());
}

// A point of a segment from `from` within the radius of p lies within
// asin(radius / distance) of the direction to p; twice that, and a little
// more, leaves room for rounding. Near `from` every direction counts.
SegmentCells::Sector SegmentCells::Sector::round(Vec2 from, Vec2 p) {
  const double d = distance(from, p);
  if (!(d > 4 * weldRadius)) return all();
  const double half = std::asin(2 * weldRadius / d) + 1e-9;
  const double towards = std::atan2(p.y - from.y, p.x - from.x);
  return {some_, towards - half, towards + half};
}

// A segment from `from` crosses a-b only in a direction between those to a
// and to b; where a-b runs (nearly) through `from`, in any.
SegmentCells::Sector SegmentCells::Sector::between(Vec2 from, Vec2 a, Vec2 b) {
  constexpr double pi = 3.14159265358979323846;
  const double toA = std::atan2(a.y - from.y, a.x - from.x);
  double span = std::atan2(b.y - from.y, b.x - from.x) - toA;
  if (span > pi) span -= 2 * pi;
  if (span <= -pi) span += 2 * pi;
  if (!(std::abs(span) < pi - 1e-6)) return all();
  const double low = span >= 0 ? toA : toA + span;
  return {some_, low - 1e-9, low + std::abs(span) + 1e-9};
}

void SegmentCells::look(std::size_t n) const {
  looks_ += n;
  if (looks_ > maxNearLooks)
    throw std::invalid_argument(
        "too many segments run close along one another (more than " +
        std::to_string(maxNearLooks / 1'000'000) +
        " million neighbours to compare): too crowded to analyse");
}

std::vector<int> SegmentCells::pointsInPlaceOrder() const { return inPlaceOrder(w_.points, cell_); }

std::vector<int> SegmentCells::segmentsInPlaceOrder() const {
  std::vector<Vec2> middles;
  middles.reserve(w_.segments.size());
  for (auto [a, b] : w_.segments)
    middles.push_back({(w_.points[a].x + w_.points[b].x) / 2, (w_.points[a].y + w_.points[b].y) / 2});
  return inPlaceOrder(middles, cell_);
}

// Each pair is taken up from its lower index, whatever the order.
std::vector<std::pair<int, int>> crossingPairs(const Welded& w, const SegmentCells& cells,
                                               std::size_t limit) {
  std::vector<std::pair<int, int>> pairs;
  std::vector<int> lastSeen(w.segments.size(), -1);
  for (int k : cells.segmentsInPlaceOrder()) {
    if (pairs.size() >= limit) break;
    const int a = w.segments[k].first, b = w.segments[k].second;
    cells.forCrossing(k, [&](int j) {
      if (j <= k || lastSeen[j] == k) return;
      lastSeen[j] = k;
      const int c = w.segments[j].first, d = w.segments[j].second;
      if (a == c || a == d || b == c || b == d) return;
      if (crosses(w.points[a], w.points[b], w.points[c], w.points[d])) pairs.emplace_back(k, j);
    });
  }
  return pairs;
}

void cutAtPoints(Welded& w, const SegmentCells& cells) {
  // For each segment, the points on it and how far along.
  std::vector<std::vector<std::pair<double, int>>> cuts(w.segments.size());
  std::vector<int> lastSeen(w.segments.size(), -1);
  for (int p : cells.pointsInPlaceOrder()) {
    const Vec2 at = w.points[p];
    cells.forNear(at, p, [&](int k) {
      if (lastSeen[k] == p) return;
      lastSeen[k] = p;
      const int a = w.segments[k].first, b = w.segments[k].second;
      if (a == p || b == p) return;
      const Vec2 s = w.points[a], e = w.points[b];
      if (!mayTouch(at, s, e)) return;
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

std::vector<char> entangled(const Welded& w, const SegmentCells& cells) {
  return entangled(w, cells, crossingPairs(w, cells, SIZE_MAX));
}

std::vector<char> entangled(const Welded& w, const SegmentCells& cells,
                            std::span<const std::pair<int, int>> crossings) {
  std::vector<char> marked(w.segments.size(), 0);
  for (auto [k, j] : crossings) marked[k] = marked[j] = 1;

  std::vector<char> touched(w.points.size(), 0);
  std::vector<int> lastSeen(w.segments.size(), -1);
  for (int p : cells.pointsInPlaceOrder()) {
    cells.forNear(w.points[p], p, [&](int k) {
      if (lastSeen[k] == p) return;
      lastSeen[k] = p;
      const int a = w.segments[k].first, b = w.segments[k].second;
      if (a == p || b == p) return;
      if (mayTouch(w.points[p], w.points[a], w.points[b]) &&
          distanceToSegment(w.points[p], w.points[a], w.points[b]) <= weldRadius)
        marked[k] = touched[p] = 1;
    });
  }
  for (std::size_t k = 0; k < w.segments.size(); ++k)
    if (touched[w.segments[k].first] || touched[w.segments[k].second]) marked[k] = 1;
  return marked;
}

}  // namespace faces
