#include "shape/drawing.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>

#include "faces/periods.h"
#include "shape/link.h"
#include "shape/segments_text.h"

namespace shape {

namespace {

// Tiles farther than this share of a period from their place mod the
// lattice are different tiles.
constexpr double sameShare = 1e-3;
// Patches stored hold no more segments than this, at least 3 x 3 periods
// and at most 6 x 6, as the atlas stores.
constexpr std::size_t patchBudget = 3000;

bool isFloat(double v) { return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max(); }

Point pointAt(faces::Vec2 p) { return Point{float(p.x), float(p.y), 0, 9}; }

// Where p lies in lattice coordinates from `origin`.
faces::Vec2 latticeCoordinates(faces::Vec2 p, faces::Vec2 origin, const faces::Lattice& l) {
  const faces::Vec2 d = faces::minus(p, origin);
  const double det = faces::cross(l.u, l.v);
  return {faces::cross(d, l.v) / det, faces::cross(l.u, d) / det};
}

double nearestInteger(double x) { return std::fabs(x - std::round(x)); }

// The middle of the tile nearest the middle of the drawing's box: inside
// the drawing, however ragged its edge.
faces::Vec2 middleTile(const faces::Analysis& a) {
  faces::Vec2 low{HUGE_VAL, HUGE_VAL}, high{-HUGE_VAL, -HUGE_VAL};
  for (const faces::Face& f : a.faces) {
    const faces::Vec2 m = faces::middleOf(f);
    low = {std::min(low.x, m.x), std::min(low.y, m.y)};
    high = {std::max(high.x, m.x), std::max(high.y, m.y)};
  }
  const faces::Vec2 box = faces::times(0.5, faces::plus(low, high));
  faces::Vec2 middle = box;
  double nearest = HUGE_VAL;
  for (const faces::Face& f : a.faces)
    if (const double d = faces::length(faces::minus(faces::middleOf(f), box)); !f.problem && d < nearest)
      nearest = d, middle = faces::middleOf(f);
  return middle;
}

// One tile of each translation class, those nearest the middle of the
// drawing first: tiles of one kind whose places differ by a period are one.
std::vector<const faces::Face*> onePeriod(const faces::Analysis& a, const faces::Lattice& l) {
  const faces::Vec2 middle = middleTile(a);
  struct Candidate {
    const faces::Face* face;
    faces::Vec2 at;  // lattice coordinates from the middle
  };
  std::vector<Candidate> near;
  for (const faces::Face& f : a.faces) {
    const faces::Vec2 at = latticeCoordinates(faces::middleOf(f), middle, l);
    if (!f.problem && std::fabs(at.x) <= 1.5 && std::fabs(at.y) <= 1.5) near.push_back({&f, at});
  }
  std::sort(near.begin(), near.end(), [](const Candidate& p, const Candidate& q) {
    return std::max(std::fabs(p.at.x), std::fabs(p.at.y)) < std::max(std::fabs(q.at.x), std::fabs(q.at.y));
  });
  std::vector<Candidate> kept;
  for (const Candidate& c : near) {
    const bool seen = std::any_of(kept.begin(), kept.end(), [&](const Candidate& k) {
      return k.face->cls == c.face->cls && k.face->orientation == c.face->orientation &&
             k.face->mirrored == c.face->mirrored && nearestInteger(k.at.x - c.at.x) < sameShare &&
             nearestInteger(k.at.y - c.at.y) < sameShare;
    });
    if (!seen) kept.push_back(c);
  }
  std::vector<const faces::Face*> tiles;
  for (const Candidate& c : kept) tiles.push_back(c.face);
  return tiles;
}

int facesPerPeriod(const faces::Analysis& a, const faces::Lattice& l) {
  int n = 0;
  for (const auto& [sides, count] : faces::countPerPeriod(a, l).faces) n += count;
  return n;
}

int latticeSizeFor(const Drawing& d) {
  int n = 6;
  while (n > 3 && std::size_t(n * n) * d.unit.unit.size() > patchBudget) --n;
  return n;
}

// --- The held drawings: a tiling's construction is a plain function, so
// slot I gets one of its own.

struct Slot {
  Drawing drawing;
  tools::TilingProgram tiling;
  bool held = false;
};

std::array<Slot, drawingSlots>& slots() {
  static std::array<Slot, drawingSlots> all;
  return all;
}

void storePatch(const Drawing& d, int n) {
  for (const Segment& s : tools::periodicBlock(d.unit, 0, n - 1)) addSegment(9, s);
}

template <std::size_t I>
void buildHeld() {
  const Slot& s = slots()[I];
  storePatch(s.drawing, s.tiling.latticeSize);
}

template <std::size_t I>
void buildHeldFrom(std::span<const Point>, int n) {
  storePatch(slots()[I].drawing, n);
}

std::span<const tiles::GivenPoint> noGivenPoints() { return {}; }

template <std::size_t... I>
constexpr auto buildsOf(std::index_sequence<I...>) {
  return std::array<std::pair<void (*)(), void (*)(std::span<const Point>, int)>, sizeof...(I)>{
      {{buildHeld<I>, buildHeldFrom<I>}...}};
}

// --- Link text.

// One number filling the whole of `s`, within a float's range.
bool readNumber(const std::string& s, double& v) {
  if (s.empty() || std::isspace((unsigned char)s[0])) return false;
  char* end = nullptr;
  v = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size() && isFloat(v);
}

std::vector<std::string> split(const std::string& s, char mark) {
  std::vector<std::string> pieces;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = s.find(mark, from);
    pieces.push_back(s.substr(from, at - from));
    if (at == std::string::npos) return pieces;
    from = at + 1;
  }
}

bool readPair(const std::string& s, faces::Vec2& p) {
  const std::vector<std::string> xy = split(s, ',');
  return xy.size() == 2 && readNumber(xy[0], p.x) && readNumber(xy[1], p.y);
}

std::string number(double v) { return linkNumber(v, 0); }

bool same(Point p, Point q) { return p.x == q.x && p.y == q.y; }

}  // namespace

Drawing makeDrawing(std::string name, std::vector<std::vector<Point>> tiles, Point u, Point v) {
  Drawing d;
  d.name = std::move(name);
  d.tiles = std::move(tiles);
  d.unit.u = {u.x, u.y};
  d.unit.v = {v.x, v.y};
  for (const std::vector<Point>& ring : d.tiles)
    for (std::size_t k = 0; k < ring.size(); ++k) {
      const Point p = ring[k], q = ring[(k + 1) % ring.size()];
      if (std::none_of(d.unit.unit.begin(), d.unit.unit.end(), [&](const Segment& s) {
            return (same(s.a, p) && same(s.b, q)) || (same(s.a, q) && same(s.b, p));
          }))
        d.unit.unit.push_back({p, q, 9});
    }
  return d;
}

namespace {

Learned refused(std::string words) { return {std::nullopt, std::move(words)}; }

Learned checked(Drawing d) {
  if (std::string words = checkDrawing(d); !words.empty()) return refused(words);
  return {std::move(d), ""};
}

}  // namespace

std::string drawingName(std::string_view path) {
  if (const std::size_t slash = path.find_last_of('/'); slash != std::string_view::npos)
    path.remove_prefix(slash + 1);
  if (path.ends_with(".txt")) path.remove_suffix(4);
  std::string name;
  bool something = false;
  for (const char c : path) {
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    something = something || word;
    name += word || c == '.' || c == '-' || c == '_' ? c : '_';
  }
  return something && path != "-" ? name : "drawing";
}

Learned learnDrawing(std::span<const faces::Segment2> segments, const std::string& name) {
  if (segments.size() > mostSegments)
    return refused("too many segments: " + std::to_string(segments.size()) + "; at most " +
                   std::to_string(mostSegments));
  for (const faces::Segment2& s : segments)
    for (const double v : {s.a.x, s.a.y, s.b.x, s.b.y})
      if (!isFloat(v)) return refused("a coordinate beyond the range of a float");
  faces::Analysis a;
  try {
    a = faces::analyse(segments);
  } catch (const std::exception& e) {
    return refused(e.what());
  }
  if (a.faces.empty()) return refused("the segments close no face");
  if (const std::string verdict = a.verdict(); verdict != "tiles without gaps or overlaps") return refused(verdict);
  const std::optional<faces::Lattice> lattice = faces::findPeriods(a);
  if (!lattice) return refused("no two independent periods");
  // Each tile has three sides or more: too many tiles are refused before
  // they are told apart.
  const int perPeriod = facesPerPeriod(a, *lattice);
  if (std::size_t(perPeriod) * 3 > mostSides)
    return refused("one period holds " + std::to_string(perPeriod) + " tiles; at most " +
                   std::to_string(mostSides / 3));
  const std::vector<const faces::Face*> tiles = onePeriod(a, *lattice);
  if (int(tiles.size()) != perPeriod)
    return refused("the drawing does not repeat whole periods about its middle");
  std::size_t sides = 0;
  for (const faces::Face* f : tiles) sides += f->corners.size();
  if (sides > mostSides)
    return refused("one period holds " + std::to_string(sides) + " tile sides; at most " + std::to_string(mostSides));
  std::vector<std::vector<Point>> rings;
  for (const faces::Face* f : tiles) {
    rings.emplace_back();
    for (const faces::Vec2 p : f->corners) rings.back().push_back(pointAt(p));
  }
  return checked(makeDrawing(name, std::move(rings), pointAt(lattice->u), pointAt(lattice->v)));
}

Learned readDrawing(std::istream& in, const std::string& name) {
  std::vector<faces::Segment2> segments;
  std::string error;
  if (!readSegments(in, segments, error)) return refused(error);
  return learnDrawing(segments, name);
}

std::string checkDrawing(const Drawing& d) {
  if (d.unit.unit.empty()) return "no tiles in one period";
  const faces::Vec2 u{d.unit.u.x, d.unit.u.y}, v{d.unit.v.x, d.unit.v.y};
  if (std::fabs(faces::cross(u, v)) <= 1e-12 * std::max(faces::dot(u, u), faces::dot(v, v)))
    return "the periods are not independent";
  // As many periods as the tiling stores, and no fewer than the periods
  // take to be found far from the patch's edge.
  SceneStore patch;
  patch.segments = tools::periodicBlock(d.unit, 0, std::max(latticeSizeFor(d), 5) - 1);
  for (const Segment& s : patch.segments)
    if (!std::isfinite(s.a.x) || !std::isfinite(s.a.y) || !std::isfinite(s.b.x) || !std::isfinite(s.b.y))
      return "a coordinate beyond the range of a float";
  faces::Analysis a;
  try {
    a = faces::analyse(faces::sceneSegments(patch));
  } catch (const std::exception& e) {
    return e.what();
  }
  if (a.faces.empty()) return "the segments close no face";
  if (const std::string verdict = a.verdict(); verdict != "tiles without gaps or overlaps") return verdict;
  if (!faces::findPeriods(a)) return "no two independent periods";
  return "";
}

const tools::TilingProgram& holdDrawing(Drawing drawing) {
  static constexpr auto builds = buildsOf(std::make_index_sequence<drawingSlots>());
  static std::size_t next = 0;
  const std::size_t k = next++ % drawingSlots;
  Slot& slot = slots()[k];
  slot.drawing = std::move(drawing);
  slot.held = true;
  slot.tiling = {slot.drawing.name, builds[k].first, "a drawing of segments", noGivenPoints, builds[k].second, 0};
  slot.tiling.latticeSize = latticeSizeFor(slot.drawing);
  return slot.tiling;
}

const Drawing* drawingOf(const tools::TilingProgram& tiling) {
  for (const Slot& s : slots())
    if (s.held && &s.tiling == &tiling) return &s.drawing;
  return nullptr;
}

std::string drawingFields(const Drawing& d) {
  std::string out = "drawing=" + drawingName(d.name) + "&periods=" + number(d.unit.u.x) + "," + number(d.unit.u.y) +
                    ";" + number(d.unit.v.x) + "," + number(d.unit.v.y);
  std::vector<Point> points;
  std::string rings;
  for (const std::vector<Point>& ring : d.tiles) {
    if (!rings.empty()) rings += ';';
    for (std::size_t k = 0; k < ring.size(); ++k) {
      const std::size_t at = std::size_t(std::find_if(points.begin(), points.end(), [&](Point p) {
                                           return p.x == ring[k].x && p.y == ring[k].y;
                                         }) - points.begin());
      if (at == points.size()) points.push_back(ring[k]);
      if (k) rings += '.';
      rings += std::to_string(at);
    }
  }
  out += "&points=";
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (k) out += ';';
    out.append(number(points[k].x)).append(",").append(number(points[k].y));
  }
  return out + "&faces=" + rings;
}

Learned drawingFromFields(const std::string& name, const std::string& periods, const std::string& points,
                          const std::string& faces) {
  const std::vector<std::string> uv = split(periods, ';');
  faces::Vec2 u, v;
  if (uv.size() != 2 || !readPair(uv[0], u) || !readPair(uv[1], v))
    return refused("periods is '" + periods + "', not two periods ux,uy;vx,vy of finite numbers");
  std::vector<Point> corners;
  for (const std::string& p : split(points, ';')) {
    faces::Vec2 at;
    if (!readPair(p, at)) return refused("points holds '" + p + "', not a point x,y of finite numbers");
    corners.push_back(pointAt(at));
  }
  std::size_t sides = 0;
  std::vector<std::vector<Point>> rings;
  for (const std::string& f : split(faces, ';')) {
    std::vector<Point> ring;
    for (const std::string& index : split(f, '.')) {
      char* end = nullptr;
      const unsigned long k = std::strtoul(index.c_str(), &end, 10);
      if (index.empty() || !std::isdigit((unsigned char)index[0]) || end != index.c_str() + index.size() ||
          k >= corners.size())
        return refused("faces holds '" + f + "', not indices 0 to " + std::to_string(corners.size() - 1) +
                       " of the points joined by '.'");
      ring.push_back(corners[k]);
    }
    if (ring.size() < 3) return refused("faces holds '" + f + "', a tile of fewer than three corners");
    sides += ring.size();
    if (sides > mostSides) return refused("too many sides in one period; at most " + std::to_string(mostSides));
    rings.push_back(std::move(ring));
  }
  return checked(makeDrawing(drawingName(name), std::move(rings), pointAt(u), pointAt(v)));
}

}  // namespace shape
