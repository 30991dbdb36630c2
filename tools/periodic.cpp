#include "tools/periodic.h"

#include <stdexcept>
#include <string>

namespace tools {

namespace {

// The mean of the end points of `count` segments from `first` on.
Step middleOf(const std::vector<Segment>& segments, std::size_t first, std::size_t count) {
  Step sum;
  for (std::size_t k = first; k < first + count; ++k) {
    sum.x += double(segments[k].a.x) + segments[k].b.x;
    sum.y += double(segments[k].a.y) + segments[k].b.y;
  }
  const double ends = 2.0 * double(count);
  return {sum.x / ends, sum.y / ends};
}

Step between(Step from, Step to) { return {to.x - from.x, to.y - from.y}; }

}  // namespace

Periodic periodicOf(const TilingProgram& program) {
  return periodicOf(program, tiles::givenValues(program.givenPoints()));
}

Periodic periodicOf(const TilingProgram& program, std::span<const Point> given) {
  // One copy stores the unit after whatever comes once; a 2 x 2 patch
  // stores the same once-part and four copies, row by row.
  const std::vector<Segment> one = builtScene(program, given, 1).segments;
  const std::vector<Segment> two = builtScene(program, given, 2).segments;
  const std::size_t perCopy = (two.size() - one.size()) / 3;
  if (two.size() < one.size() || perCopy == 0 || one.size() < perCopy ||
      two.size() - one.size() != 3 * perCopy)
    throw std::logic_error(std::string(program.name) + " does not store a patch of equal copies");
  const std::size_t once = one.size() - perCopy;

  Periodic p;
  p.once.assign(one.begin(), one.begin() + std::ptrdiff_t(once));
  p.unit.assign(one.begin() + std::ptrdiff_t(once), one.end());
  const Step first = middleOf(two, once, perCopy);
  p.u = between(first, middleOf(two, once + perCopy, perCopy));
  p.v = between(first, middleOf(two, once + 2 * perCopy, perCopy));
  return p;
}

Segment copyOf(const Periodic& p, const Segment& s, int i, int j) {
  const double dx = i * p.v.x + j * p.u.x, dy = i * p.v.y + j * p.u.y;
  Segment moved = s;
  moved.a.x = float(s.a.x + dx), moved.a.y = float(s.a.y + dy);
  moved.b.x = float(s.b.x + dx), moved.b.y = float(s.b.y + dy);
  return moved;
}

std::vector<Segment> periodicBlock(const Periodic& p, int first, int last) {
  std::vector<Segment> block = p.once;
  if (last < first) return block;
  const std::size_t side = std::size_t(last - first + 1);
  block.reserve(block.size() + side * side * p.unit.size());
  for (int i = first; i <= last; ++i)
    for (int j = first; j <= last; ++j)
      for (const Segment& s : p.unit) block.push_back(copyOf(p, s, i, j));
  return block;
}

}  // namespace tools
