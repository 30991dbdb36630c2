// Files to make things from: every program's cut has edges, all on the page,
// none twice and none left in pieces, joined into one stroke a run and cut
// in a short order; the page has the size asked in SVG and PDF, and both
// open in real renderers; bad sizes and files are refused.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "faces/periods.h"
#include "shape/link.h"
#include "tools/export/cut.h"
#include "tools/export/png.h"
#include "tools/registry.h"

namespace {

namespace fs = std::filesystem;
using faces::Vec2;

// The files' coordinates have four decimals of a millimetre.
constexpr double near = 1e-3;

struct Outcome {
  int status;
  std::string output;  // standard output and error
};

Outcome shell(const std::string& command) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

Outcome run(const std::string& arguments) { return shell(std::string(TILINGS_EXPORT) + " " + arguments); }

std::string scratchDir() {
  char pattern[] = "/tmp/tilings-cut-XXXXXX";
  return mkdtemp(pattern);
}

std::string contentsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The attribute `name` of the tag starting at `at` ("" if absent).
std::string attribute(const std::string& svg, std::size_t at, const std::string& name) {
  const std::size_t end = svg.find('>', at);
  const std::size_t start = svg.find(" " + name + "=\"", at);
  if (start == std::string::npos || start > end) return "";
  const std::size_t from = start + name.size() + 3;
  return svg.substr(from, svg.find('"', from) - from);
}

struct Line {
  Vec2 a, b;
};

std::vector<Vec2> pointsOf(const std::string& svg, std::size_t at) {
  std::istringstream list(attribute(svg, at, "points"));
  std::vector<Vec2> points;
  char comma;
  for (Vec2 p; list >> p.x >> comma >> p.y;) points.push_back(p);
  return points;
}

// One stroke of the SVG, as its element has it.
struct SvgStroke {
  std::vector<Vec2> points;
  bool closed = false;
};

// The strokes drawn in the SVG, in their order, fills left out: a <line>,
// a <polyline> or a <path> of "M x,y L x,y ... [Z]".
std::vector<SvgStroke> drawnStrokes(const std::string& svg) {
  std::vector<SvgStroke> strokes;
  for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
    if (svg.compare(at, 6, "<line ") == 0) {
      auto number = [&](const char* name) { return std::stod(attribute(svg, at, name)); };
      strokes.push_back({{{number("x1"), number("y1")}, {number("x2"), number("y2")}}, false});
    } else if (svg.compare(at, 10, "<polyline ") == 0) {
      strokes.push_back({pointsOf(svg, at), false});
    } else if (svg.compare(at, 6, "<path ") == 0) {
      std::string d = attribute(svg, at, "d");
      SvgStroke stroke;
      stroke.closed = !d.empty() && d.back() == 'Z';
      for (char& c : d)
        if (c == 'M' || c == 'L' || c == 'Z' || c == ',') c = ' ';
      std::istringstream list(d);
      for (Vec2 p; list >> p.x >> p.y;) stroke.points.push_back(p);
      strokes.push_back(std::move(stroke));
    }
  }
  return strokes;
}

// Every side of every outline drawn in the SVG, fills left out.
std::vector<Line> drawnLines(const std::string& svg, int* closedOutlines = nullptr) {
  std::vector<Line> lines;
  for (SvgStroke& s : drawnStrokes(svg)) {
    if (s.closed && closedOutlines) ++*closedOutlines;
    if (s.closed) s.points.push_back(s.points.front());
    for (std::size_t k = 1; k < s.points.size(); ++k) lines.push_back({s.points[k - 1], s.points[k]});
  }
  return lines;
}

// The fills' areas added up.
double filledArea(const std::string& svg) {
  double area = 0;
  for (std::size_t at = svg.find("<polygon fill="); at != std::string::npos;
       at = svg.find("<polygon fill=", at + 1)) {
    const std::vector<Vec2> ring = pointsOf(svg, at);
    double twice = 0;
    for (std::size_t k = 0; k < ring.size(); ++k) twice += faces::cross(ring[k], ring[(k + 1) % ring.size()]);
    area += std::abs(twice) / 2;
  }
  return area;
}

double distanceToLine(Vec2 p, const Line& l) {
  const Vec2 d = faces::minus(l.b, l.a);
  return std::abs(faces::cross(d, faces::minus(p, l.a))) / faces::length(d);
}

// Two lines that lie on one another for more than a point: what a cutter
// would cut twice. "" when there are none.
std::string firstOverlap(std::vector<Line> lines) {
  auto left = [](const Line& l) { return std::min(l.a.x, l.b.x); };
  std::sort(lines.begin(), lines.end(), [&](const Line& l, const Line& r) { return left(l) < left(r); });
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    const Vec2 d = faces::minus(l.b, l.a);
    const double length = faces::length(d);
    for (std::size_t j = i + 1; j < lines.size() && left(lines[j]) <= std::max(l.a.x, l.b.x) + near; ++j) {
      const Line& m = lines[j];
      if (distanceToLine(m.a, l) > near || distanceToLine(m.b, l) > near) continue;
      const double s = faces::dot(faces::minus(m.a, l.a), d) / length;
      const double t = faces::dot(faces::minus(m.b, l.a), d) / length;
      if (std::min(std::max(s, t), length) - std::max(std::min(s, t), 0.0) > near)
        return "from (" + std::to_string(m.a.x) + "," + std::to_string(m.a.y) + ")";
    }
  }
  return "";
}

// A point where two lines alone end and run on straight: one line left in
// two pieces. "" when there is none.
std::string firstUnjoined(const std::vector<Line>& lines) {
  std::map<std::pair<double, double>, std::vector<Vec2>> away;  // end -> directions
  for (const Line& l : lines) {
    away[{l.a.x, l.a.y}].push_back(faces::minus(l.b, l.a));
    away[{l.b.x, l.b.y}].push_back(faces::minus(l.a, l.b));
  }
  for (const auto& [at, d] : away)
    if (d.size() == 2 && faces::dot(d[0], d[1]) < 0 &&
        std::abs(faces::cross(d[0], d[1])) < 1e-4 * faces::length(d[0]) * faces::length(d[1]))
      return "at (" + std::to_string(at.first) + "," + std::to_string(at.second) + ")";
  return "";
}

bool onPage(Vec2 p, const tools::Page& page, double inset) {
  return p.x >= inset - near && p.x <= page.width - inset + near && p.y >= inset - near &&
         p.y <= page.height - inset + near;
}

// How many lines lying well inside the page are not met again one lattice
// step `t` (millimetres) further on, where that is well inside too.
int unrepeated(const std::vector<Line>& lines, const tools::Page& page, Vec2 t) {
  auto cell = [](const Line& l) {
    return std::pair<long, long>{std::lround((l.a.x + l.b.x) * 5), std::lround((l.a.y + l.b.y) * 5)};
  };
  auto close = [](Vec2 p, Vec2 q) { return faces::length(faces::minus(p, q)) < 1e-2; };
  std::map<std::pair<long, long>, std::vector<Line>> byMiddle;
  for (const Line& l : lines) byMiddle[cell(l)].push_back(l);
  auto found = [&](const Line& l) {
    const auto [i, j] = cell(l);
    for (long di = -1; di <= 1; ++di)
      for (long dj = -1; dj <= 1; ++dj)
        for (const Line& m : byMiddle[{i + di, j + dj}])
          if ((close(m.a, l.a) && close(m.b, l.b)) || (close(m.a, l.b) && close(m.b, l.a))) return true;
    return false;
  };
  int missing = 0;
  for (const Line& l : lines) {
    const Line moved{faces::plus(l.a, t), faces::plus(l.b, t)};
    const bool inside = onPage(l.a, page, 0.01) && onPage(l.b, page, 0.01) &&
                        onPage(moved.a, page, 0.01) && onPage(moved.b, page, 0.01);
    if (inside && !found(moved)) ++missing;
  }
  return missing;
}

std::string svgOf(const tools::Drawing& drawing) {
  std::ostringstream svg;
  tools::writeCutSvg(svg, drawing);
  return svg.str();
}

std::string cutSvg(const tools::Periodic& periodic, const tools::CutRequest& request) {
  return svgOf(tools::cutDrawing(periodic, request));
}

class CutOfEveryProgram : public ::testing::TestWithParam<tools::TilingProgram> {};

TEST_P(CutOfEveryProgram, CutFillsThePageWithEachEdgeOnceInOnePiece) {
  const tools::Periodic periodic = tools::periodicOf(GetParam());
  const tools::Page page{200, 150};
  const std::vector<Line> lines = drawnLines(cutSvg(periodic, {page, 4, false, false}));
  ASSERT_GT(lines.size(), 20u);
  for (const Line& l : lines) ASSERT_TRUE(onPage(l.a, page, 0) && onPage(l.b, page, 0));
  EXPECT_EQ(firstOverlap(lines), "");
  EXPECT_EQ(firstUnjoined(lines), "");
  // Four shortest periods across the 150 mm side, y flipped: the lines
  // repeat one period on along either period.
  const faces::Lattice l = faces::reduceLattice({periodic.u.x, periodic.u.y},
                                                {periodic.v.x, periodic.v.y}, 1e-9);
  const double scale = 150 / (4 * std::max(faces::length(l.u), faces::length(l.v)));
  for (Vec2 step : {l.u, l.v})
    EXPECT_EQ(unrepeated(lines, page, {step.x * scale, -step.y * scale}), 0);
  // The faces cover the page once over, those at its edge too.
  EXPECT_NEAR(filledArea(cutSvg(periodic, {page, 4, false, true})), 200 * 150, 0.01);
  // The edges reach into every corner of the page.
  for (Vec2 corner : {Vec2{0, 0}, Vec2{200, 0}, Vec2{0, 150}, Vec2{200, 150}})
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Line& m) {
      return faces::length(faces::minus(m.a, corner)) < 150 / 4.0;
    }));
}

TEST_P(CutOfEveryProgram, TileIsOneClosedOutlineFillingThePageWithinItsMargin) {
  const tools::Page page{80, 50};
  int closed = 0;
  const std::vector<Line> sides =
      drawnLines(cutSvg(tools::periodicOf(GetParam()), {page, 4, true, false}), &closed);
  EXPECT_EQ(closed, 1);
  ASSERT_GE(sides.size(), 3u);
  double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
  for (const Line& s : sides) {
    EXPECT_TRUE(s.a.x >= 4 - near && s.a.x <= 76 + near && s.a.y >= 2.5 - near && s.a.y <= 47.5 + near);
    minX = std::min(minX, s.a.x), maxX = std::max(maxX, s.a.x);
    minY = std::min(minY, s.a.y), maxY = std::max(maxY, s.a.y);
  }
  EXPECT_NEAR((minX + maxX) / 2, 40, near);
  EXPECT_NEAR((minY + maxY) / 2, 25, near);
  EXPECT_TRUE(std::abs(maxX - minX - 72) < near || std::abs(maxY - minY - 45) < near);
  EXPECT_EQ(firstOverlap(sides), "");
}

INSTANTIATE_TEST_SUITE_P(Programs, CutOfEveryProgram,
                         ::testing::ValuesIn(tools::tilingPrograms().begin(),
                                             tools::tilingPrograms().end()),
                         [](const auto& info) { return std::string(info.param.name); });

// Squares with their bottom side stored in two halves, under the square
// below's top side: the halves are one edge split where only they meet.
tools::Periodic splitSquares() {
  tools::Periodic p;
  auto side = [](float ax, float ay, float bx, float by) { return Segment{{ax, ay}, {bx, by}}; };
  p.unit = {side(0, 0, 0.5f, 0), side(0.5f, 0, 1, 0), side(1, 0, 1, 1), side(1, 1, 0, 1), side(0, 1, 0, 0)};
  p.u = {1, 0};
  p.v = {0, 1};
  return p;
}

TEST(CutChecks, CatchEdgesDrawnTwiceOrLeftInPieces) {
  const tools::Page page{100, 100};
  const tools::Periodic squares = splitSquares();
  const std::vector<Line> lines = drawnLines(cutSvg(squares, {page, 4, false, false}));
  EXPECT_EQ(firstOverlap(lines), "");
  EXPECT_EQ(firstUnjoined(lines), "");
  // Four periods across 100 mm, the middle of a square in the middle: four
  // lines each way, each in three whole sides of 25 mm and two halves cut
  // off by the page's edge.
  std::map<long, int> byLength;
  for (const Line& l : lines) ++byLength[std::lround(faces::length(faces::minus(l.b, l.a)) * 10)];
  EXPECT_EQ(byLength, (std::map<long, int>{{125, 16}, {250, 24}}));

  // One edge twice, one edge with half of it again, the segments as they
  // are stored, and the edges without joining: each is caught.
  const tools::Periodic deltatile = tools::periodicOf(*tools::findTilingProgram("deltatile"));
  tools::Drawing twice = tools::cutDrawing(deltatile, {page, 4, false, false}), half = twice;
  const std::vector<Vec2> edge = twice.strokes.front().points;
  twice.strokes.push_back({{edge[1], edge[0]}, false});
  half.strokes.push_back({{edge[0], faces::times(0.5, faces::plus(edge[0], edge[1]))}, false});
  const tools::PageLayout layout = tools::layOutPage(deltatile, page, 4);
  tools::Drawing stored{page, {}, {}}, pieces{page, {}, {}};
  auto placed = [&](Vec2 p) {
    return Vec2{50 + (p.x - layout.centre.x) * layout.scale, 50 - (p.y - layout.centre.y) * layout.scale};
  };
  for (const faces::Segment2& s : tools::pageBlock(deltatile, page, layout))
    stored.strokes.push_back({{placed(s.a), placed(s.b)}, false});
  for (const faces::Edge& e : faces::analyse(tools::pageBlock(squares, page, {{0.5, 0.5}, 25})).edges)
    pieces.strokes.push_back({{faces::times(25, e.a), faces::times(25, e.b)}, false});
  for (const tools::Drawing* faulty : {&twice, &half, &stored})
    EXPECT_NE(firstOverlap(drawnLines(svgOf(*faulty))), "");
  EXPECT_NE(firstUnjoined(drawnLines(svgOf(pieces))), "");
}

// --- Strokes: runs of edges through points where only two meet, drawn in
// an order that keeps the pen's travel short.

// The sides of polylines, open or closed.
std::vector<Line> sidesOf(const std::vector<tools::Polyline>& lines) {
  std::vector<Line> sides;
  for (const tools::Polyline& l : lines) {
    const std::size_t n = l.points.size();
    for (std::size_t k = 0; k + 1 < n; ++k) sides.push_back({l.points[k], l.points[k + 1]});
    if (l.closed && n > 2) sides.push_back({l.points.back(), l.points.front()});
  }
  return sides;
}

// How many maximal runs of lines through points where exactly two meet the
// lines make: the ends of lines at points where more or fewer meet, two to
// a run, and each ring of points where two meet, counted as a whole. Lines
// of no length draw nothing and are left out.
std::size_t runsOf(std::vector<Line> lines) {
  std::erase_if(lines, [](const Line& l) { return l.a.x == l.b.x && l.a.y == l.b.y; });
  std::map<std::pair<double, double>, int> number;
  std::vector<int> degree, parent;
  auto at = [&](Vec2 p) {
    const auto [it, added] = number.try_emplace({p.x, p.y}, int(degree.size()));
    if (added) degree.push_back(0), parent.push_back(int(parent.size()));
    return it->second;
  };
  auto root = [&](int k) {
    while (parent[k] != k) k = parent[k] = parent[parent[k]];
    return k;
  };
  for (const Line& l : lines) {
    const int a = at(l.a), b = at(l.b);
    ++degree[a], ++degree[b];
    parent[root(a)] = root(b);
  }
  std::size_t ends = 0;
  std::map<int, bool> allTwo;  // component -> every point has two lines
  for (int k = 0; k < int(degree.size()); ++k) {
    if (degree[k] != 2) ends += std::size_t(degree[k]);
    auto [it, added] = allTwo.try_emplace(root(k), true);
    it->second = it->second && degree[k] == 2;
  }
  return ends / 2 + std::size_t(std::count_if(allTwo.begin(), allTwo.end(), [](const auto& c) { return c.second; }));
}

// The part of a line on the page, cut where it leaves it; false when none.
bool clippedToPage(Line& l, const tools::Page& page) {
  double from = 0, to = 1;
  const Vec2 d = faces::minus(l.b, l.a);
  for (const auto& [p, q] : {std::pair{-d.x, l.a.x}, {d.x, page.width - l.a.x}, {-d.y, l.a.y},
                             {d.y, page.height - l.a.y}}) {
    if (p == 0) {
      if (q < 0) return false;
      continue;
    }
    const double t = q / p;
    (p < 0 ? from : to) = p < 0 ? std::max(from, t) : std::min(to, t);
  }
  if (from >= to) return false;
  const Line whole = l;
  if (from > 0) l.a = faces::plus(whole.a, faces::times(from, d));
  if (to < 1) l.b = faces::plus(whole.a, faces::times(to, d));
  return true;
}

// The edges of the analysed block on the page, one line each as the
// analysis has them, cut to the page: what the strokes must draw.
std::vector<Line> pageEdges(const tools::Periodic& periodic, const tools::CutRequest& request) {
  const tools::PageLayout layout = tools::layOutPage(periodic, request.page, request.periods);
  const faces::Analysis analysis =
      faces::analyse(tools::pageBlock(periodic, request.page, layout), {request.curved, {}});
  auto placed = [&](Vec2 p) {
    return Vec2{request.page.width / 2 + (p.x - layout.centre.x) * layout.scale,
                request.page.height / 2 - (p.y - layout.centre.y) * layout.scale};
  };
  std::vector<Line> edges;
  for (const faces::Edge& e : analysis.edges) {
    Line l{placed(e.a), placed(e.b)};
    if (clippedToPage(l, request.page) && faces::length(faces::minus(l.b, l.a)) > 0) edges.push_back(l);
  }
  return edges;
}

double totalLength(const std::vector<Line>& lines) {
  double total = 0;
  for (const Line& l : lines) total += faces::length(faces::minus(l.b, l.a));
  return total;
}

// How many of `edges` lie along none of `drawn`: their middles on no drawn
// line, or not in its direction.
int undrawn(const std::vector<Line>& edges, const std::vector<Line>& drawn) {
  constexpr double cell = 5;
  std::map<std::pair<long, long>, std::vector<const Line*>> byCell;
  for (const Line& l : drawn)
    for (long i = std::lround(std::floor(std::min(l.a.x, l.b.x) / cell)); i <= std::floor(std::max(l.a.x, l.b.x) / cell); ++i)
      for (long j = std::lround(std::floor(std::min(l.a.y, l.b.y) / cell)); j <= std::floor(std::max(l.a.y, l.b.y) / cell); ++j)
        byCell[{i, j}].push_back(&l);
  int missing = 0;
  for (const Line& e : edges) {
    const Vec2 middle = faces::times(0.5, faces::plus(e.a, e.b)), d = faces::minus(e.b, e.a);
    const std::vector<const Line*>& here =
        byCell[{std::lround(std::floor(middle.x / cell)), std::lround(std::floor(middle.y / cell))}];
    missing += std::none_of(here.begin(), here.end(), [&](const Line* l) {
      const Vec2 along = faces::minus(l->b, l->a);
      const double t = faces::dot(faces::minus(middle, l->a), along) / faces::dot(along, along);
      return t >= 0 && t <= 1 && distanceToLine(middle, *l) < near &&
             std::abs(faces::cross(along, d)) <= 1e-3 * faces::length(along) * faces::length(d);
    });
  }
  return missing;
}

// The travel of the plainest order: from the page's corner, always the
// stroke with the nearest end (any vertex of a closed one) next.
double nearestEndTravel(const std::vector<tools::Polyline>& strokes) {
  std::vector<char> done(strokes.size(), 0);
  Vec2 pen{0, 0};
  double travel = 0;
  for (std::size_t n = 0; n < strokes.size(); ++n) {
    double best = INFINITY;
    std::size_t next = 0, vertex = 0;
    for (std::size_t s = 0; s < strokes.size(); ++s) {
      const std::vector<Vec2>& p = strokes[s].points;
      for (std::size_t v = 0; !done[s] && v < p.size(); v += strokes[s].closed ? 1 : std::max<std::size_t>(1, p.size() - 1))
        if (const double d = faces::length(faces::minus(p[v], pen)); d < best) best = d, next = s, vertex = v;
    }
    done[next] = 1;
    travel += best;
    const std::vector<Vec2>& p = strokes[next].points;
    pen = strokes[next].closed ? p[vertex] : vertex == 0 ? p.back() : p.front();
  }
  return travel;
}

struct Shape {
  const char* name;
  const char* link;  // a bent shape of the tiling, or none for the program's own
};

// Each tiling straight, as its program draws it, and bent as the explorer
// shares it: every edge a curve in many pieces.
const Shape shapes[] = {
    {"pentatile1", nullptr},
    {"pentatile1", "explore.html?tiling=pentatile1&keep=p2&E2=4.98,1.28;6.02,2.72&E4=-0.25,3.5"},
    {"pentatile8", nullptr},
    {"pentatile8", "explore.html?tiling=pentatile8&keep=p6&E1=2,0.5&E3=-0.6,-1.2"},
    {"mixtile6", nullptr},
    {"mixtile6", "explore.html?tiling=mixtile6&keep=p6m&E1=-0.2765,2.6711"},
    {"quadtile", nullptr},
    {"quadtile", "explore.html?tiling=quadtile&keep=p2&E1=3.3,1.1&E3=5,2.2"},
    // Symmetric, straight: many ends equally near, where the first order
    // found is not the shortest.
    {"quadtileInItsFamily", "explore.html?tiling=quadtile&keep=p2"},
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name << (shape.link ? " " : "") << (shape.link ? shape.link : ""); }

struct Cut {
  tools::Periodic periodic;
  tools::CutRequest request;
};

Cut cutOf(const Shape& shape) {
  Cut cut{{}, {{200, 150}, 4, false, false, false}};
  if (shape.link == nullptr) {
    cut.periodic = tools::periodicOf(*tools::findTilingProgram(shape.name));
    return cut;
  }
  shape::Opened opened;
  std::ostringstream errors;
  if (shape::openLink(opened, shape.link, "cut_test", errors) != 0) ADD_FAILURE() << errors.str();
  cut.periodic = shape::cutUnit(opened);
  cut.request.curved = shape::bent(opened);
  return cut;
}

class StrokesOf : public ::testing::TestWithParam<Shape> {};

TEST_P(StrokesOf, EachRunOfEdgesIsOneStrokeDrawnOnceInAShortOrder) {
  const Cut cut = cutOf(GetParam());
  const tools::Drawing drawing = tools::cutDrawing(cut.periodic, cut.request);
  const std::vector<Line> drawn = sidesOf(drawing.strokes), edges = pageEdges(cut.periodic, cut.request);
  ASSERT_GT(edges.size(), 50u);
  // As many strokes as the edges make runs, and none of them two runs or
  // part of one.
  EXPECT_EQ(drawing.strokes.size(), runsOf(edges));
  EXPECT_EQ(drawing.strokes.size(), runsOf(drawn));
  // Every edge drawn, none twice, nothing else.
  EXPECT_EQ(undrawn(edges, drawn), 0);
  EXPECT_EQ(firstOverlap(drawn), "");
  EXPECT_NEAR(totalLength(drawn), totalLength(edges), 1e-6 * totalLength(edges));
  // Cut in an order at least nearly as short as the plainest.
  const double plain = nearestEndTravel(drawing.strokes);
  EXPECT_LE(tools::penUpTravel(drawing.strokes), 1.1 * plain) << "nearest end next: " << plain;
  // The file has the strokes as they are, in the same order.
  const std::vector<SvgStroke> file = drawnStrokes(svgOf(drawing));
  ASSERT_EQ(file.size(), drawing.strokes.size());
  for (std::size_t s = 0; s < file.size(); ++s) {
    ASSERT_EQ(file[s].points.size(), drawing.strokes[s].points.size());
    EXPECT_EQ(file[s].closed, drawing.strokes[s].closed);
    EXPECT_LT(faces::length(faces::minus(file[s].points.back(), drawing.strokes[s].points.back())), near);
  }
}

INSTANTIATE_TEST_SUITE_P(Tilings, StrokesOf, ::testing::ValuesIn(shapes), [](const auto& info) {
  const std::string link = info.param.link ? info.param.link : "";
  return std::string(info.param.name) + (link.empty() ? "Straight" : link.find("&E") != std::string::npos ? "Bent" : "");
});

// Lines as a cutter would meet them, each case a count of strokes, of closed
// ones, and of the points they keep.
TEST(JoinStrokes, RunsEndWhereMoreOrFewerThanTwoLinesMeet) {
  using tools::Polyline;
  struct Case {
    const char* what;
    std::vector<Polyline> lines;
    std::size_t strokes, closed, points;
  };
  const Vec2 o{0, 0}, x{1, 0}, y{0, 1}, xy{1, 1}, half{0.5, 0};
  for (const Case& c : std::vector<Case>{
           {"a square in four sides, in no order", {{{x, xy}}, {{o, x}}, {{y, o}}, {{xy, y}}}, 1, 1, 4},
           {"a square with a side in two halves", {{{o, half}}, {{half, x}}, {{x, xy, y, o}}}, 1, 1, 4},
           {"a closed square given whole", {{{o, x, xy, y}, true}}, 1, 1, 4},
           {"a straight line in three pieces", {{{o, half}}, {{x, half}}, {{x, {2, 0}}}}, 1, 0, 2},
           {"a bend", {{{o, x}}, {{xy, x}}}, 1, 0, 3},
           {"a T", {{{o, half}}, {{half, x}}, {{half, {0.5, 1}}}}, 3, 0, 6},
           {"a cross", {{{{-1, 0}, o}}, {{o, x}}, {{{0, -1}, o}}, {{o, y}}}, 4, 0, 8},
           {"a square with a tail", {{{o, x, xy, y}, true}, {{o, {-1, -1}}}}, 2, 0, 7},
           {"a piece of no length", {{{o, o}}, {{o, x}}}, 1, 0, 2},
       }) {
    const std::vector<Polyline> strokes = tools::joinStrokes(c.lines);
    std::size_t closed = 0, points = 0;
    for (const Polyline& s : strokes) closed += s.closed, points += s.points.size();
    EXPECT_EQ(strokes.size(), c.strokes) << c.what;
    EXPECT_EQ(closed, c.closed) << c.what;
    EXPECT_EQ(points, c.points) << c.what;
    EXPECT_EQ(strokes.size(), runsOf(sidesOf(c.lines))) << c.what;
  }
}

// Strokes along a row, given out of order and some backwards: the nearest
// end next walks the row, and a reversal never lengthens that; out and
// back along the row, a reversal shortens it. A closed stroke starts where
// it is nearest.
TEST(OrderStrokes, TakesTheNearestEndNextAndReversesStretchesOnlyToShortenIt) {
  auto along = [](int k, bool backwards) {
    std::vector<Vec2> p{{10.0 * k, 0}, {10.0 * k + 9, 0}};
    if (backwards) std::swap(p[0], p[1]);
    return tools::Polyline{p, false};
  };
  std::vector<tools::Polyline> row, outAndBack;
  for (int k : {7, 2, 9, 0, 5, 3, 8, 1, 6, 4}) row.push_back(along(k, k % 2));
  for (int k : {0, 2, 4, 6, 8, 9, 7, 5, 3, 1}) outAndBack.push_back(along(k, false));
  const std::vector<tools::Polyline> ordered = tools::orderByNearestEnd(row);
  EXPECT_DOUBLE_EQ(tools::penUpTravel(ordered), 9);
  EXPECT_DOUBLE_EQ(tools::penUpTravel(tools::shortenTravel(ordered)), 9);
  EXPECT_LT(tools::penUpTravel(tools::shortenTravel(outAndBack)), tools::penUpTravel(outAndBack) - 40);
  const std::vector<tools::Polyline> ring =
      tools::orderStrokes({{{{50, 50}, {60, 50}, {60, 60}, {50, 60}}, true}}, {70, 70});
  EXPECT_DOUBLE_EQ(tools::penUpTravel(ring, {70, 70}), std::hypot(10, 10));
  // A page with nothing on it has nothing to order.
  EXPECT_TRUE(tools::orderStrokes({}).empty());
}

// A stroke split in two, a stroke drawn twice, a piece left out and an
// order that wanders are each caught by the checks above.
TEST(StrokeChecks, CatchSplitDuplicatedMissingAndWanderingStrokes) {
  const Cut cut = cutOf(shapes[1]);
  const tools::Drawing drawing = tools::cutDrawing(cut.periodic, cut.request);
  const std::vector<Line> edges = pageEdges(cut.periodic, cut.request);
  auto longest = std::max_element(drawing.strokes.begin(), drawing.strokes.end(),
                                  [](const auto& l, const auto& r) { return l.points.size() < r.points.size(); });
  ASSERT_GE(longest->points.size(), 4u);
  ASSERT_FALSE(longest->closed);
  const std::size_t cutAt = longest->points.size() / 2;
  tools::Drawing split = drawing, twice = drawing, short_ = drawing, wandering = drawing;
  const std::size_t longestAt = std::size_t(longest - drawing.strokes.begin());
  const std::vector<Vec2>& whole = drawing.strokes[longestAt].points;
  split.strokes.push_back({{whole.begin() + std::ptrdiff_t(cutAt), whole.end()}, false});
  split.strokes[longestAt].points.resize(cutAt + 1);
  twice.strokes.push_back(*longest);
  short_.strokes[std::size_t(longest - drawing.strokes.begin())].points.pop_back();
  // Each stroke followed by one from the other half of the order.
  for (std::size_t k = 0, n = drawing.strokes.size(); k < n; ++k)
    wandering.strokes[k] = drawing.strokes[k % 2 ? (n + 1) / 2 + k / 2 : k / 2];

  EXPECT_NE(split.strokes.size(), runsOf(sidesOf(split.strokes)));
  EXPECT_NE(twice.strokes.size(), runsOf(sidesOf(twice.strokes)));
  EXPECT_NE(firstOverlap(sidesOf(twice.strokes)), "");
  EXPECT_NE(undrawn(edges, sidesOf(short_.strokes)), 0);
  EXPECT_GT(tools::penUpTravel(wandering.strokes), 1.1 * nearestEndTravel(wandering.strokes));
}

// Standard error says how many strokes the file has and how far the pen
// travels between them, as the file has them.
TEST(CutFiles, SayTheirStrokesAndPenUpTravel) {
  const std::string dir = scratchDir(), svg = dir + "/cut.svg";
  for (const std::string& shape : {std::string("mixtile6"), std::string("--link '") + shapes[7].link + "'"}) {
    const Outcome r = run(shape + " --cut --size 200x150mm -o " + svg);
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<tools::Polyline> strokes;
    for (SvgStroke& s : drawnStrokes(contentsOf(svg))) strokes.push_back({std::move(s.points), s.closed});
    std::size_t count = 0;
    double travel = 0;
    const std::size_t at = r.output.find(": ", r.output.find(": ") + 1);
    ASSERT_NE(at, std::string::npos) << r.output;
    ASSERT_EQ(std::sscanf(r.output.c_str() + at, ": %zu strokes, pen-up travel %lf mm", &count, &travel), 2) << r.output;
    EXPECT_EQ(count, strokes.size()) << r.output;
    EXPECT_NEAR(travel, tools::penUpTravel(strokes), 0.05 + 1e-4 * double(count)) << r.output;
  }
  fs::remove_all(dir);
}

// The page's size in points, as pdfinfo reads it.
std::pair<double, double> pdfPageSize(const std::string& path) {
  const Outcome info = shell("pdfinfo " + path);
  double w = 0, h = 0;
  const std::size_t at = info.output.find("Page size:");
  if (at != std::string::npos) std::sscanf(info.output.c_str() + at, "Page size: %lf x %lf", &w, &h);
  return {w, h};
}

TEST(CutFiles, HaveTheSizeAskedInMillimetres) {
  const std::string dir = scratchDir(), svg = dir + "/cut.svg", pdf = dir + "/cut.pdf";
  for (const auto& [w, h] : {std::pair<std::string, std::string>{"200", "150"}, {"210", "297"}, {"12.5", "80.25"}}) {
    const std::string size = " --size " + w + "x" + h + "mm";
    ASSERT_EQ(run("quadtile --cut" + size + " -o " + svg).status, 0) << size;
    ASSERT_EQ(run("quadtile --cut --fill" + size + " -o " + pdf).status, 0) << size;
    const std::string text = contentsOf(svg);
    const std::size_t at = text.find("<svg ");
    EXPECT_EQ(attribute(text, at, "width"), w + "mm");
    EXPECT_EQ(attribute(text, at, "height"), h + "mm");
    EXPECT_EQ(attribute(text, at, "viewBox"), "0 0 " + w + " " + h);
    const auto [points, pointsHigh] = pdfPageSize(pdf);
    EXPECT_NEAR(points, std::stod(w) / 25.4 * 72, 0.01) << size;
    EXPECT_NEAR(pointsHigh, std::stod(h) / 25.4 * 72, 0.01) << size;
  }
  fs::remove_all(dir);
}

TEST(CutFiles, BadSizesAndMissingFilesAreRefusedNamingTheOption) {
  const std::string dir = scratchDir();
  const std::string svg = " -o " + dir + "/cut.svg";
  struct Case {
    std::string arguments, named;
  };
  for (const Case& c : std::vector<Case>{
           {"--cut --size 200x150" + svg, "--size"}, {"--cut --size 0x150mm" + svg, "--size"},
           {"--cut --size 200x-5mm" + svg, "--size"}, {"--cut --size -200x150mm" + svg, "--size"},
           {"--cut --size infx150mm" + svg, "--size"}, {"--cut --size nanxnanmm" + svg, "--size"},
           {"--cut --size 1e3x150mm" + svg, "--size"}, {"--cut --size 10000.5x150mm" + svg, "--size"},
           {"--cut --size 200x150x3mm" + svg, "--size"}, {"--cut" + svg, "--size"},
           {"--cut --size 200x150mm --periods 0" + svg, "--periods"},
           {"--cut --size 200x150mm --periods -3" + svg, "--periods"},
           {"--cut --size 200x150mm --periods many" + svg, "--periods"},
           {"--cut --size 10000x1mm" + svg, "--size"}, {"--cut --size 200x150mm", "-o"},
           {"--cut --size 200x150mm -o " + dir + "/cut.png", "-o"}}) {
    const Outcome r = run("deltatile " + c.arguments);
    EXPECT_EQ(r.status, 2) << c.arguments;
    EXPECT_NE(r.output.find(c.named), std::string::npos) << c.arguments << ": " << r.output;
  }
  EXPECT_TRUE(fs::is_empty(dir));
  fs::remove_all(dir);
}

TEST(CutFiles, UnwritableFileExitsOneAndLeavesNothing) {
  const std::string dir = scratchDir();
  fs::create_directory(dir + "/taken.pdf");
  const Outcome r = run("mixtile4 --cut --size 100x100mm -o " + dir + "/taken.pdf");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("cannot write"), std::string::npos) << r.output;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_EQ(run("mixtile4 --cut --size 100x100mm -o /nonexistent-folder/m.svg").status, 1);
  fs::remove_all(dir);
}

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
  std::string& left = *static_cast<std::string*>(closure);
  if (left.size() < length) return CAIRO_STATUS_READ_ERROR;
  std::copy_n(left.data(), length, data);
  left.erase(0, length);
  return CAIRO_STATUS_SUCCESS;
}

// A picture's size and its drawn pixels: not transparent, or on a white
// page, not white.
struct Picture {
  int width = 0, height = 0, ink = 0;
  double inked() const { return double(ink) / (double(width) * height); }
};

Picture pictureOf(std::string png) {
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readBytes, &png);
  Picture p{cairo_image_surface_get_width(s), cairo_image_surface_get_height(s), 0};
  const unsigned char* data = cairo_image_surface_get_data(s);
  const bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  for (int y = 0; data && y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t pixel =
          reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(s))[x];
      const unsigned darkest = std::min({pixel & 0xff, (pixel >> 8) & 0xff, (pixel >> 16) & 0xff});
      p.ink += alpha ? (pixel >> 24) > 0 : darkest < 245;
    }
  cairo_surface_destroy(s);
  return p;
}

TEST(CutFiles, OpenInLibrsvgAndPoppler) {
  const std::string dir = scratchDir();
  // Thin lines on nothing, or faces filled all over.
  for (const std::string fill : {"", " --fill"}) {
    ASSERT_EQ(run("pentatile3 --cut" + fill + " --size 200x150mm -o " + dir + "/p.svg").status, 0);
    ASSERT_EQ(run("pentatile3 --cut" + fill + " --size 200x150mm -o " + dir + "/p.pdf").status, 0);
    std::string png, error;
    ASSERT_TRUE(tools::renderPng(contentsOf(dir + "/p.svg"), 1, png, error)) << error;
    // librsvg reads millimetres at 90 pixels an inch.
    const Picture drawn = pictureOf(png);
    EXPECT_NEAR(drawn.width, 200 / 25.4 * 90, 1);
    EXPECT_NEAR(drawn.height, 150 / 25.4 * 90, 1);
    EXPECT_TRUE(fill.empty() ? drawn.inked() > 0.01 && drawn.inked() < 0.2 : drawn.inked() > 0.95)
        << fill << " " << drawn.inked();
    ASSERT_EQ(shell("pdftoppm -png -r 72 -singlefile " + dir + "/p.pdf " + dir + "/p").status, 0);
    const Picture printed = pictureOf(contentsOf(dir + "/p.png"));
    EXPECT_NEAR(printed.width, 200 / 25.4 * 72, 1);
    EXPECT_NEAR(printed.height, 150 / 25.4 * 72, 1);
    EXPECT_TRUE(fill.empty() ? printed.inked() > 0.01 && printed.inked() < 0.2 : printed.inked() > 0.95)
        << fill << " " << printed.inked();
  }
  fs::remove_all(dir);
}

}  // namespace
