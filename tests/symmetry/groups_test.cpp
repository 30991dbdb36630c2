// Drawings of known symmetry: a small scalene triangle carried by every
// operation of one wallpaper group (in the settings of the International
// Tables, coordinates in the conventional cell), over a patch of cells.
// The classifier must name each of the seventeen groups from the drawing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "faces/faces.h"
#include "symmetry/identity.h"
#include "tests/symmetry/drawings.h"

namespace {

using namespace symmetry_test;

// x' = m x + w in cell coordinates, written "-y+1/2,x-y".
struct Affine {
  std::array<double, 4> m{};
  Vec2 w;
};

// One coordinate of an operation: terms +-x, +-y, +-1/2.
void parseRow(const std::string& text, double& cx, double& cy, double& w) {
  double sign = 1;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (c == '-' || c == '+') sign = c == '-' ? -1 : 1;
    if (c == 'x') cx = sign;
    if (c == 'y') cy = sign;
    if (c == '1') w = sign * 0.5, k += 2;  // "1/2"
  }
}

Affine parse(const std::string& text) {
  const std::size_t comma = text.find(',');
  Affine a;
  parseRow(text.substr(0, comma), a.m[0], a.m[1], a.w.x);
  parseRow(text.substr(comma + 1), a.m[2], a.m[3], a.w.y);
  return a;
}

struct Cell {
  Vec2 a, b;
};
const Cell oblique{{10, 0}, {3, 8.5}}, rectangular{{10, 0}, {0, 7}}, square{{10, 0}, {0, 10}},
    hexagonal{{10, 0}, {-5, 5 * std::sqrt(3.0)}};

struct GroupCase {
  const char* name;
  const char* orbifold;
  Cell cell;
  bool centred;  // the cell holds a second lattice point at its middle
  std::vector<const char*> operations;
};

void PrintTo(const GroupCase& g, std::ostream* out) { *out << g.name; }

const std::vector<const char*> p3Ops{"x,y", "-y,x-y", "-x+y,-x"};
const std::vector<const char*> p4Ops{"x,y", "-x,-y", "-y,x", "y,-x"};
std::vector<const char*> with(std::vector<const char*> ops, std::vector<const char*> more) {
  ops.insert(ops.end(), more.begin(), more.end());
  return ops;
}
const std::vector<const char*> p6Ops = with(p3Ops, {"-x,-y", "y,-x+y", "x-y,x"});

const std::vector<GroupCase> groups = {
    {"p1", "o", oblique, false, {"x,y"}},
    {"p2", "2222", oblique, false, {"x,y", "-x,-y"}},
    {"pm", "**", rectangular, false, {"x,y", "-x,y"}},
    {"pg", "xx", rectangular, false, {"x,y", "-x,y+1/2"}},
    {"cm", "*x", rectangular, true, {"x,y", "-x,y"}},
    {"pmm", "*2222", rectangular, false, {"x,y", "-x,-y", "-x,y", "x,-y"}},
    {"pmg", "22*", rectangular, false, {"x,y", "-x,-y", "-x+1/2,y", "x+1/2,-y"}},
    {"pgg", "22x", rectangular, false, {"x,y", "-x,-y", "-x+1/2,y+1/2", "x+1/2,-y+1/2"}},
    {"cmm", "2*22", rectangular, true, {"x,y", "-x,-y", "-x,y", "x,-y"}},
    {"p4", "442", square, false, p4Ops},
    {"p4m", "*442", square, false, with(p4Ops, {"-x,y", "x,-y", "y,x", "-y,-x"})},
    {"p4g", "4*2", square, false,
     with(p4Ops, {"-x+1/2,y+1/2", "x+1/2,-y+1/2", "y+1/2,x+1/2", "-y+1/2,-x+1/2"})},
    {"p3", "333", hexagonal, false, p3Ops},
    {"p3m1", "*333", hexagonal, false, with(p3Ops, {"-y,-x", "-x+y,y", "x,x-y"})},
    {"p31m", "3*3", hexagonal, false, with(p3Ops, {"y,x", "x-y,-y", "-x,-x+y"})},
    {"p6", "632", hexagonal, false, p6Ops},
    {"p6m", "*632", hexagonal, false,
     with(p6Ops, {"-y,-x", "-x+y,y", "x,x-y", "y,x", "x-y,-y", "-x,-x+y"})},
};

Vec2 plane(const Cell& c, Vec2 st) {
  return {st.x * c.a.x + st.y * c.b.x, st.x * c.a.y + st.y * c.b.y};
}
Vec2 cellOf(const Cell& c, Vec2 p) {
  const double det = c.a.x * c.b.y - c.a.y * c.b.x;
  return {(p.x * c.b.y - p.y * c.b.x) / det, (c.a.x * p.y - c.a.y * p.x) / det};
}
Vec2 image(const Affine& op, Vec2 st, Vec2 shift) {
  return {op.m[0] * st.x + op.m[1] * st.y + op.w.x + shift.x,
          op.m[2] * st.x + op.m[3] * st.y + op.w.y + shift.y};
}

// The triangle round a point in general position, as large as its copies
// leave room for, carried by every operation over 7 x 7 cells.
std::vector<Segment2> drawingOf(const GroupCase& g) {
  std::vector<Affine> ops;
  for (const char* text : g.operations) {
    ops.push_back(parse(text));
    if (g.centred)
      ops.push_back(parse(text)), ops.back().w = {ops.back().w.x + 0.5, ops.back().w.y + 0.5};
  }
  const Vec2 generic{0.31, 0.17};
  double room = 1e9;
  for (const Affine& op : ops)
    for (int i = -1; i <= 1; ++i)
      for (int j = -1; j <= 1; ++j) {
        const Vec2 p = plane(g.cell, generic),
                   q = plane(g.cell, image(op, generic, {double(i), double(j)}));
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (d > 1e-9) room = std::min(room, d);
      }
  const double size = room / 4;
  const Vec2 centre = plane(g.cell, generic);
  std::vector<Vec2> motif;
  for (Vec2 corner : {Vec2{1, 0}, Vec2{-0.35, 0.8}, Vec2{-0.6, -0.5}})
    motif.push_back(cellOf(g.cell, {centre.x + size * corner.x, centre.y + size * corner.y}));
  std::vector<std::vector<Vec2>> triangles;
  for (const Affine& op : ops)
    for (int i = -3; i <= 3; ++i)
      for (int j = -3; j <= 3; ++j) {
        std::vector<Vec2> t;
        for (Vec2 st : motif) t.push_back(plane(g.cell, image(op, st, {double(i), double(j)})));
        triangles.push_back(t);
      }
  return outlines(triangles);
}

class EachGroup : public ::testing::TestWithParam<GroupCase> {};

// Turned off the axes, so that nothing depends on the lattice lying along x.
// The centred groups are given their conventional cell, twice the period:
// the translation to the cell's middle must be found as a symmetry.
TEST_P(EachGroup, IsNamedFromItsDrawing) {
  const GroupCase& g = GetParam();
  const Placement turned{"turned", 23, 1, false, {4, -3}};
  const faces::Analysis a = faces::analyse(placed(drawingOf(g), turned));
  const Vec2 o = turned({0, 0}), u = turned(g.cell.a), v = turned(g.cell.b);
  const faces::Lattice cell{{u.x - o.x, u.y - o.y}, {v.x - o.x, v.y - o.y}, 0};
  const symmetry::Identity id = symmetry::identify(a, cell);
  ASSERT_TRUE(id.group.has_value());
  EXPECT_EQ(id.group->name, g.name);
  EXPECT_EQ(id.group->orbifold, g.orbifold);
  // One triangle per operation: every triangle is like every other.
  EXPECT_EQ(id.orbits.tiles, 1);
  ASSERT_TRUE(id.lattice.has_value());
  EXPECT_NEAR(std::abs(id.lattice->area) * (g.centred ? 2 : 1),
              std::abs(g.cell.a.x * g.cell.b.y - g.cell.a.y * g.cell.b.x), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EachGroup, ::testing::ValuesIn(groups),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Groups, WithoutTwoPeriodsThereIsNone) {
  const faces::Analysis a = faces::analyse(outlines({{{0, 0}, {3, 0}, {1, 2}}}));
  const symmetry::Identity id = symmetry::identify(a, std::nullopt);
  EXPECT_FALSE(id.group.has_value());
  EXPECT_EQ(symmetry::describe(id), "no wallpaper group (no two independent periods)");
}

}  // namespace
