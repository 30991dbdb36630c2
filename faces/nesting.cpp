#include "faces/nesting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "faces/grid_hash.h"

namespace faces {

namespace {

// Where the horizontal line through p meets the edge a-b, if it counts as
// crossing it: one end above p, the other not.
bool spans(Vec2 a, Vec2 b, Vec2 p) { return (a.y > p.y) != (b.y > p.y); }
double meetX(Vec2 a, Vec2 b, Vec2 p) { return (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x; }

// The edges of the enclosing walks filed by rows of square cells, each row
// in order of column, so that a ray running left along a row finds the
// nearest edge it meets without looking at the rest.
class EdgeRows {
 public:
  EdgeRows(const std::vector<std::vector<Vec2>>& walks, const std::vector<char>& encloses)
      : walks_(walks) {
    size_ = cellSize(walks, encloses);
    std::size_t edges = 0;
    for (std::size_t w = 0; w < walks.size(); ++w)
      if (encloses[w]) edges += walks[w].size();
    most_ = 96 * double(edges) + 2;
    for (int w = 0; w < int(walks.size()); ++w)
      if (encloses[w])
        for (int k = 0; k < int(walks[w].size()); ++k) file(w, k);
    for (auto& [row, entries] : rows_) std::sort(entries.begin(), entries.end());
  }

  // The walk, other than `own`, whose edge a ray from p running left meets
  // first; -1 if it meets none.
  int firstLeftOf(Vec2 p, int own) const {
    const Cell at = cellAt(p, size_);
    // An edge meets the ray within half a cell of one of its samples, so it
    // is filed in the row above, below or at p's, at most a column right of
    // where it meets the ray.
    struct Stream {
      const std::vector<Entry>* entries;
      std::ptrdiff_t next;  // walking down the columns; -1 when done
    };
    std::vector<Stream> streams;
    for (std::int64_t row = at.j - 1; row <= at.j + 1; ++row) {
      const auto it = rows_.find(row);
      if (it == rows_.end()) continue;
      const std::vector<Entry>& e = it->second;
      const Entry past{at.i + 1, INT32_MAX, INT32_MAX};
      streams.push_back({&e, std::upper_bound(e.begin(), e.end(), past) - e.begin() - 1});
    }
    int best = -1;
    double bestX = -INFINITY;
    for (;;) {
      Stream* s = nullptr;
      for (Stream& t : streams)
        if (t.next >= 0 && (!s || (*t.entries)[t.next].column > (*s->entries)[s->next].column)) s = &t;
      if (!s) break;
      const Entry& e = (*s->entries)[s->next--];
      // Whatever is left meets the ray left of column e.column + 2.
      if (best >= 0 && std::abs(e.column) < 1e15 - 3 && bestX >= double(e.column + 3) * size_) break;
      if (e.walk == own) continue;
      const std::vector<Vec2>& walk = walks_[e.walk];
      const Vec2 a = walk[e.edge], b = walk[(e.edge + 1) % walk.size()];
      if (!spans(a, b, p)) continue;
      const double x = meetX(a, b, p);
      if (x < p.x && x > bestX) best = e.walk, bestX = x;
    }
    return best;
  }

 private:
  struct Entry {
    std::int64_t column;
    int walk, edge;
    auto operator<=>(const Entry&) const = default;
  };

  // About one cell per edge over the walks' extent, or as wide as the
  // shorter edges are long where that is finer (a walk far off leaves the
  // rest their cells); wider where the long edges would fill too many: no
  // more than about 48 cells an edge, all added up.
  static double cellSize(const std::vector<std::vector<Vec2>>& walks, const std::vector<char>& encloses) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY, total = 0;
    std::vector<double> lengths;
    for (std::size_t w = 0; w < walks.size(); ++w) {
      if (!encloses[w]) continue;
      for (std::size_t k = 0; k < walks[w].size(); ++k) {
        const Vec2 a = walks[w][k], b = walks[w][(k + 1) % walks[w].size()];
        minX = std::min(minX, a.x), maxX = std::max(maxX, a.x);
        minY = std::min(minY, a.y), maxY = std::max(maxY, a.y);
        lengths.push_back(std::hypot(b.x - a.x, b.y - a.y));
        total += lengths.back();
      }
    }
    if (lengths.empty()) return 1;
    const double count = double(lengths.size());
    const auto quarter = lengths.begin() + std::ptrdiff_t(lengths.size() / 4);
    std::nth_element(lengths.begin(), quarter, lengths.end());
    const double extent = std::max(maxX - minX, maxY - minY);
    const double size = std::max(std::min(extent / std::sqrt(count), *quarter), total / (48 * count));
    return size > 0 && std::isfinite(size) ? size : 1;
  }

  // Samples no more than half a cell apart along the edge, each cell once.
  void file(int w, int k) {
    const std::vector<Vec2>& walk = walks_[w];
    const Vec2 a = walk[k], b = walk[(k + 1) % walk.size()];
    const int n = int(std::min(std::ceil(2 * std::hypot(b.x - a.x, b.y - a.y) / size_), most_));
    Cell last;
    for (int i = 0; i <= n; ++i) {
      const double t = n == 0 ? 0 : double(i) / n;
      const Cell c = cellAt({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, size_);
      if (i > 0 && c == last) continue;
      rows_[c.j].push_back({c.i, w, k});
      last = c;
    }
  }

  const std::vector<std::vector<Vec2>>& walks_;
  double size_ = 1, most_ = 2;
  std::unordered_map<std::int64_t, std::vector<Entry>> rows_;
};

}  // namespace

bool insideWalk(const std::vector<Vec2>& walk, Vec2 p) {
  bool in = false;
  for (std::size_t k = 0, j = walk.size() - 1; k < walk.size(); j = k++) {
    const Vec2 a = walk[k], b = walk[j];
    if (spans(a, b, p) && p.x < meetX(a, b, p)) in = !in;
  }
  return in;
}

// The walk a ray from p first meets on its left decides: p lies inside
// another walk if inside that one, or else if that one lies inside
// another, since the stretch of ray between them crosses no walk. That
// walk's leftmost point lies further left than p, so deciding the walks
// from left to right finds its answer ready.
std::vector<char> insideAnother(const std::vector<std::vector<Vec2>>& walks,
                                const std::vector<char>& encloses) {
  std::vector<int> order(walks.size());
  std::iota(order.begin(), order.end(), 0);
  auto leftX = [&](int w) { return walks[w].empty() ? -INFINITY : walks[w][0].x; };
  std::sort(order.begin(), order.end(), [&](int l, int r) { return leftX(l) < leftX(r); });

  const EdgeRows rows(walks, encloses);
  std::vector<char> nested(walks.size(), 0);
  for (int w : order) {
    if (walks[w].empty()) continue;
    const Vec2 p = walks[w][0];
    const int first = rows.firstLeftOf(p, w);
    nested[w] = first >= 0 && (insideWalk(walks[first], p) || nested[first]);
  }
  return nested;
}

}  // namespace faces
