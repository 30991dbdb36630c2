// The fifteen types of convex pentagon, each written here a second time
// from the published conditions: a pentagon built to meet a type's
// conditions is of that type whichever corner comes first and whichever way
// round; bent slightly, it is not; and the two pentagons that are single
// shapes have their published angles and sides.
#include "symmetry/pentagons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "faces/faces.h"

namespace {

using faces::Vec2;
using Pentagon = std::array<Vec2, 5>;

constexpr double degrees = 180 / std::numbers::pi;

double side(const Pentagon& p, int k) {
  return std::hypot(p[(k + 1) % 5].x - p[k].x, p[(k + 1) % 5].y - p[k].y);
}
double angle(const Pentagon& p, int k) {
  const Vec2 a = p[(k + 4) % 5], b = p[k], c = p[(k + 1) % 5];
  const double in = std::atan2(b.y - a.y, b.x - a.x), out = std::atan2(c.y - b.y, c.x - b.x);
  return 180 - std::remainder(out - in, 2 * std::numbers::pi) * degrees;
}

// A at corner 0, B at corner 1, ...; a joins E to A, b joins A to B.
struct Labels {
  double A, B, C, D, E, a, b, c, d, e;
};
Labels labels(const Pentagon& p) {
  return {angle(p, 0), angle(p, 1), angle(p, 2), angle(p, 3), angle(p, 4),
          side(p, 4),  side(p, 0),  side(p, 1),  side(p, 2),  side(p, 3)};
}

using Conditions = std::function<std::vector<double>(const Labels&)>;

struct TypeCase {
  int type;
  Conditions holds;              // each entry zero when the condition holds
  std::array<double, 4> angles;  // a start: A to D, degrees
  std::array<double, 4> sides;   // b to e
};

void PrintTo(const TypeCase& t, std::ostream* out) { *out << "type " << t.type; }

const double root = std::sqrt(2.0) / (std::sqrt(3.0) - 1);
using L = const Labels&;
using V = std::vector<double>;
// clang-format off
const std::vector<TypeCase> cases = {
    {1, [](L l) { return V{l.D + l.E - 180}; },
     {100, 130, 130, 80}, {1, 0.9, 1.1, 0.8}},
    {2, [](L l) { return V{l.C + l.E - 180, l.a - l.d}; },
     {110, 100, 100, 150}, {1, 0.9, 1, 0.9}},
    {3, [](L l) { return V{l.A - 120, l.C - 120, l.D - 120, l.a - l.b, l.d - l.c - l.e}; },
     {120, 100, 120, 120}, {1, 0.5, 1.2, 0.7}},
    {4, [](L l) { return V{l.A - 90, l.C - 90, l.a - l.b, l.c - l.d}; },
     {90, 130, 90, 110}, {1, 1.2, 1.2, 0.8}},
    {5, [](L l) { return V{l.C - 120, 2 * l.A - 120, l.a - l.b, l.c - l.d}; },
     {60, 130, 120, 110}, {1, 0.6, 0.6, 0.6}},
    {6, [](L l) { return V{l.C + l.E - 180, l.A - 2 * l.C, l.a - l.b, l.b - l.e, l.c - l.d}; },
     {90, 148, 45, 122}, {1, 2.26, 2.26, 1}},
    {7, [](L l) { return V{2 * l.B + l.C - 360, 2 * l.D + l.A - 360,
                           l.a - l.b, l.b - l.c, l.c - l.d}; },
     {100, 140, 80, 130}, {1, 1, 1, 0.9}},
    {8, [](L l) { return V{2 * l.A + l.B - 360, 2 * l.D + l.C - 360,
                           l.a - l.b, l.b - l.c, l.c - l.d}; },
     {110, 140, 100, 130}, {1, 1, 1, 0.7}},
    {9, [](L l) { return V{2 * l.E + l.B - 360, 2 * l.D + l.C - 360,
                           l.a - l.b, l.b - l.c, l.c - l.d}; },
     {60, 140, 100, 130}, {1, 1, 1, 1.2}},
    {10, [](L l) { return V{l.E - 90, l.A + l.D - 180, 2 * l.B - l.D - 180, 2 * l.C + l.D - 360,
                            l.a - l.e, l.b + l.d - l.e}; },
     {80, 140, 130, 100}, {0.6, 0.9, 0.5, 1.1}},
    {11, [](L l) { return V{l.A - 90, l.C + l.E - 180, 2 * l.B + l.C - 360,
                            l.d - l.e, 2 * l.a + l.c - l.e}; },
     {90, 145, 70, 125}, {1.2, 0.5, 1.1, 1.1}},
    {12, [](L l) { return V{l.A - 90, l.C + l.E - 180, 2 * l.B + l.C - 360,
                            2 * l.a - l.d, l.c + l.e - l.d}; },
     {90, 145, 70, 125}, {1.2, 0.45, 1, 0.55}},
    {13, [](L l) { return V{l.A - 90, l.C - 90, 2 * l.B - 360 + l.D, 2 * l.E - 360 + l.D,
                            l.c - l.d, 2 * l.c - l.e}; },
     {90, 110, 90, 140}, {1.24, 0.5, 0.5, 1}},
    // As published (Stein's pentagon): 2a = 2c = d = e.
    {14, [](L l) { return V{l.A - 90, l.C + l.E - 180, 2 * l.B + l.C - 360,
                            l.d - l.e, 2 * l.a - l.e, l.a - l.c}; },
     {90, 145, 69, 125}, {1.3, 0.5, 1, 1}},
    {15, [](L l) { return V{l.A - 150, l.B - 60, l.C - 135, l.D - 105,
                            l.a - l.c, l.c - l.e, l.b - 2 * l.a, l.d - root * l.a}; },
     {150, 60, 135, 105}, {2, 1, 1.9, 1}},
};
// clang-format on

// The start: from A along b, turning by B, C and D in turn; the sides and
// angles at E and A are the solver's.
Pentagon start(const TypeCase& t) {
  Pentagon p{};
  double heading = 0;
  for (int k = 1; k < 5; ++k) {
    p[k] = {p[k - 1].x + t.sides[k - 1] * std::cos(heading),
            p[k - 1].y + t.sides[k - 1] * std::sin(heading)};
    if (k < 4) heading += (180 - t.angles[k]) / degrees;
  }
  return p;
}

// Gauss-Newton with least-change steps on the ten coordinates, from the
// start to a nearby pentagon meeting the conditions (at most ten).
Pentagon solve(const Conditions& holds, Pentagon p) {
  for (int round = 0; round < 100; ++round) {
    const std::vector<double> r = holds(labels(p));
    const std::size_t m = std::min<std::size_t>(r.size(), 10);
    std::array<std::array<double, 10>, 10> jac{};
    for (int v = 0; v < 10; ++v) {
      Pentagon q = p;
      (v % 2 ? q[v / 2].y : q[v / 2].x) += 1e-7;
      const std::vector<double> rq = holds(labels(q));
      for (std::size_t i = 0; i < m; ++i) jac[i][v] = (rq[i] - r[i]) / 1e-7;
    }
    // (J J^T + a little) y = r, step = -J^T y.
    std::array<std::array<double, 11>, 10> n{};
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = 0; j < m; ++j)
        for (int v = 0; v < 10; ++v) n[i][j] += jac[i][v] * jac[j][v];
      n[i][i] += 1e-8, n[i][m] = r[i];
    }
    for (std::size_t i = 0; i < m; ++i)
      for (std::size_t j = 0; j < m; ++j)
        if (j != i) {
          const double f = n[j][i] / n[i][i];
          for (std::size_t k = i; k <= m; ++k) n[j][k] -= f * n[i][k];
        }
    for (int v = 0; v < 10; ++v) {
      double step = 0;
      for (std::size_t i = 0; i < m; ++i) step += jac[i][v] * n[i][m] / n[i][i];
      (v % 2 ? p[v / 2].y : p[v / 2].x) -= step;
    }
  }
  return p;
}

std::vector<int> typesOf(const Pentagon& p) {
  std::vector<double> sides, angles;
  for (int k = 0; k < 5; ++k) sides.push_back(side(p, k)), angles.push_back(angle(p, k));
  return symmetry::pentagonTypes(sides, angles);
}
bool has(const std::vector<int>& types, int t) {
  return std::find(types.begin(), types.end(), t) != types.end();
}

class EachType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(EachType, BuiltToMeetItIsOfIt) {
  const TypeCase& t = GetParam();
  const Pentagon p = solve(t.holds, start(t));
  for (double off : t.holds(labels(p))) ASSERT_NEAR(off, 0, 1e-9);
  for (int k = 0; k < 5; ++k) ASSERT_LT(angle(p, k), 180) << "convex";
  EXPECT_TRUE(has(typesOf(p), t.type));
  // Any corner first, either way round, mirrored: the same pentagon.
  for (int first = 0; first < 5; ++first) {
    Pentagon turned, mirrored;
    for (int k = 0; k < 5; ++k) {
      turned[k] = p[(first + k) % 5];
      const Vec2 q = p[(first + 5 - k) % 5];
      mirrored[k] = {-q.x, q.y};
    }
    EXPECT_EQ(typesOf(turned), typesOf(p));
    EXPECT_EQ(typesOf(mirrored), typesOf(p));
  }
}

TEST_P(EachType, BentSlightlyItIsNot) {
  const TypeCase& t = GetParam();
  Pentagon p = solve(t.holds, start(t));
  // Float noise of the drawings' size keeps the type; a bend of 1e-4 of
  // the size does not.
  const double size = side(p, 0);
  Pentagon noisy = p;
  for (int k = 0; k < 5; ++k)
    noisy[k].x += (k % 2 ? 1 : -1) * 5e-7 * size, noisy[k].y += (k % 3 ? 1 : -1) * 5e-7 * size;
  EXPECT_TRUE(has(typesOf(noisy), t.type));
  // A pushed out across side a.
  const Vec2 a{p[0].x - p[4].x, p[0].y - p[4].y};
  const double along = std::hypot(a.x, a.y);
  p[0].x += 1e-4 * size * a.y / along, p[0].y -= 1e-4 * size * a.x / along;
  EXPECT_FALSE(has(typesOf(p), t.type));
}

INSTANTIATE_TEST_SUITE_P(Fifteen, EachType, ::testing::ValuesIn(cases),
                         [](const auto& info) { return "type" + std::to_string(info.param.type); });

// Stein's pentagon as published: A = 90, B = 145.34, C = 69.32
// (arccos((3 sqrt 57 - 17) / 16)), D = 124.66, E = 110.68 degrees.
TEST(SingleShapes, TypeFourteenIsSteinsPentagon) {
  const Pentagon p = solve(cases[13].holds, start(cases[13]));
  const Labels l = labels(p);
  EXPECT_NEAR(l.C, std::acos((3 * std::sqrt(57.0) - 17) / 16) * degrees, 1e-6);
  const double published[] = {90, 145.34, 69.32, 124.66, 110.68};
  for (int k = 0; k < 5; ++k) EXPECT_NEAR(angle(p, k), published[k], 0.01);
}

// The fifteenth pentagon from its published corners.
TEST(SingleShapes, TypeFifteenFromItsPublishedCorners) {
  const double r3 = std::sqrt(3.0);
  const Pentagon p{
      Vec2{0, 0}, {-0.25, r3 / 4}, {-(3 + r3) / 4, (1 + r3) / 4}, {-(4 + r3) / 4, 0.25}, {-1, 0}};
  EXPECT_EQ(typesOf(p), std::vector<int>{15});
}

TEST(OtherShapes, HaveNoType) {
  // A regular pentagon; a square with a corner pushed in; a hexagon's numbers.
  EXPECT_TRUE(symmetry::pentagonTypes({1, 1, 1, 1, 1}, {108, 108, 108, 108, 108}).empty());
  EXPECT_TRUE(symmetry::pentagonTypes({1, 1, 0.7, 0.7, 1}, {90, 90, 45, 270, 45}).empty());
  EXPECT_TRUE(symmetry::pentagonTypes({1, 1, 1, 1, 1, 1}, {120, 120, 120, 120, 120, 120}).empty());
}

}  // namespace
