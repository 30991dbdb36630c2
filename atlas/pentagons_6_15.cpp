// Pentagon types 6 to 15: the 2- and 3-isohedral tilings the literature
// gives for each, built from a representative pentagon of the type.
//
// Each pentagon is made from its angles and three sides, corner A at the
// origin and side b = AB along the x axis; where the type's conditions tie
// the two closing sides (e and a) to the others, a few Newton steps on one
// or two free values make them hold. Types 14 and 15 are single shapes.
//
// The tiles of one period are laid one against another: a copy's corner on
// a corner of a copy already placed, one of its sides along one of that
// copy's sides. The periods are where two more copies laid that way land,
// each a translate of a copy of the period.
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "atlas/tables.h"

namespace atlas {

namespace {

using Pentagon = std::vector<Vec>;

// Angles A to E (degrees) and the sides b, c, d.
Pentagon pentagon(std::array<double, 5> angles, std::array<double, 3> sides) {
  return polygonFrom(angles, sides);
}

double length(Vec p, Vec q) { return std::hypot(q.x - p.x, q.y - p.y); }
// The closing sides: e = DE and a = EA.
double sideE(const Pentagon& p) { return length(p[3], p[4]); }
double sideA(const Pentagon& p) { return length(p[4], p[0]); }

// Newton's method with forward differences on up to two unknowns: the x
// near `x` at which both misfits vanish (one unknown: the second is held).
using Misfit = std::function<std::array<double, 2>(std::array<double, 2>)>;
std::array<double, 2> settle(const Misfit& misfit, std::array<double, 2> x, bool two = true) {
  for (int step = 0; step < 30; ++step) {
    const std::array<double, 2> r = misfit(x);
    const double h = 1e-7;
    std::array<double, 2> dx{};
    auto ra = misfit({x[0] + h, x[1]});
    const double j00 = (ra[0] - r[0]) / h, j10 = (ra[1] - r[1]) / h;
    if (two) {
      auto rb = misfit({x[0], x[1] + h});
      const double j01 = (rb[0] - r[0]) / h, j11 = (rb[1] - r[1]) / h;
      const double det = j00 * j11 - j01 * j10;
      dx = {(r[0] * j11 - r[1] * j01) / det, (j00 * r[1] - j10 * r[0]) / det};
    } else {
      dx = {r[0] / j00, 0};
    }
    x[0] -= dx[0], x[1] -= dx[1];
    if (std::abs(dx[0]) + std::abs(dx[1]) < 1e-15) break;
  }
  return x;
}

// Type 6: C + E = 180, A = 2C, a = b = e, c = d. C = 46; B and c = d solve
// e = a = b = 1.
Pentagon type6() {
  const double C = 46;
  const auto make = [C](std::array<double, 2> x) {
    return pentagon({2 * C, x[0], C, 360 - 2 * C - x[0], 180 - C}, {1, x[1], x[1]});
  };
  const Misfit misfit = [&](std::array<double, 2> x) {
    const Pentagon p = make(x);
    return std::array<double, 2>{sideE(p) - 1, sideA(p) - 1};
  };
  return make(settle(misfit, {148, 2.26}));
}

// Types 7, 8 and 9: a = b = c = d and two angle conditions, one angle
// chosen and D solving a = 1. `angles` gives A to E from that choice and D.
Pentagon equilateral(std::function<std::array<double, 5>(double)> angles, double D) {
  const auto make = [&](double d) { return pentagon(angles(d), {1, 1, 1}); };
  const Misfit misfit = [&](std::array<double, 2> x) {
    return std::array<double, 2>{sideA(make(x[0])) - 1, 0};
  };
  return make(settle(misfit, {D, 0}, false)[0]);
}

// Type 7: 2B + C = 360, 2D + A = 360; B = 146.
Pentagon type7() {
  return equilateral(
      [](double D) {
        const double B = 146, C = 360 - 2 * B, A = 360 - 2 * D;
        return std::array<double, 5>{A, B, C, D, 540 - A - B - C - D};
      },
      137.7);
}

// Type 8: 2A + B = 360, 2D + C = 360; A = 121.
Pentagon type8() {
  return equilateral(
      [](double D) {
        const double A = 121, B = 360 - 2 * A, C = 360 - 2 * D;
        return std::array<double, 5>{A, B, C, D, 540 - A - B - C - D};
      },
      138.5);
}

// Type 9: 2E + B = 360, 2D + C = 360; B = 136.
Pentagon type9() {
  return equilateral(
      [](double D) {
        const double B = 136, E = (360 - B) / 2, C = 360 - 2 * D;
        return std::array<double, 5>{540 - B - C - D - E, B, C, D, E};
      },
      146.5);
}

// Type 10: E = 90, A + D = 180, 2B - D = 180, 2C + D = 360, a = e = b + d.
// D = 93 gives every angle; with b = 1, c and d solve a = e = b + d.
Pentagon type10() {
  const double D = 93;
  const auto make = [D](std::array<double, 2> x) {
    return pentagon({180 - D, 90 + D / 2, 180 - D / 2, D, 90}, {1, x[0], x[1]});
  };
  const Misfit misfit = [&](std::array<double, 2> x) {
    const Pentagon p = make(x);
    return std::array<double, 2>{sideA(p) - sideE(p), sideE(p) - 1 - x[1]};
  };
  return make(settle(misfit, {1.3, 0.85}));
}

// Types 11, 12 and 14 share their angles: A = 90, C + E = 180, 2B + C = 360,
// all from C.
std::array<double, 5> rightAngled(double C) { return {90, 180 - C / 2, C, 90 + C / 2, 180 - C}; }

// Type 11: d = e = 2a + c. C = 67, d = 1; b and c solve e = 1, 2a + c = 1.
Pentagon type11() {
  const auto make = [](std::array<double, 2> x) {
    return pentagon(rightAngled(67), {x[0], x[1], 1});
  };
  const Misfit misfit = [&](std::array<double, 2> x) {
    const Pentagon p = make(x);
    return std::array<double, 2>{sideE(p) - 1, 2 * sideA(p) + x[1] - 1};
  };
  return make(settle(misfit, {1.49, 0.32}));
}

// Type 12: 2a = c + e = d. C = 63.6, d = 1; b and c solve 2a = 1, c + e = 1.
Pentagon type12() {
  const auto make = [](std::array<double, 2> x) {
    return pentagon(rightAngled(63.6), {x[0], x[1], 1});
  };
  const Misfit misfit = [&](std::array<double, 2> x) {
    const Pentagon p = make(x);
    return std::array<double, 2>{2 * sideA(p) - 1, x[1] + sideE(p) - 1};
  };
  return make(settle(misfit, {1.0, 0.43}));
}

// Type 13: A = C = 90, 2B = 2E = 360 - D, c = d, 2c = e. D = 140, c = d = 1;
// b solves e = 2.
Pentagon type13() {
  const double D = 140, B = 180 - D / 2;
  const auto make = [&](double b) { return pentagon({90, B, 90, D, B}, {b, 1, 1}); };
  const Misfit misfit = [&](std::array<double, 2> x) {
    return std::array<double, 2>{sideE(make(x[0])) - 2, 0};
  };
  return make(settle(misfit, {2.5, 0}, false)[0]);
}

// Type 14: the right-angled angles and 2a = 2c = d = e, one equation more
// than the sides leave free: C and b both solve the closing, e = 2, a = 1,
// with c = 1, d = 2. (C comes out as arccos((3 sqrt 57 - 17) / 16).)
Pentagon type14() {
  const auto make = [](std::array<double, 2> x) {
    return pentagon(rightAngled(x[0]), {x[1], 1, 2});
  };
  const Misfit misfit = [&](std::array<double, 2> x) {
    const Pentagon p = make(x);
    return std::array<double, 2>{sideE(p) - 2, sideA(p) - 1};
  };
  return make(settle(misfit, {69, 2.7}));
}

// Type 15: A = 150, B = 60, C = 135, D = 105, E = 90, a = c = e = 1, b = 2,
// d = (sqrt 6 + sqrt 2) / 2: angles and three sides close it exactly.
Pentagon type15() {
  return pentagon({150, 60, 135, 105, 90}, {2, 1, (std::sqrt(6.0) + std::sqrt(2.0)) / 2});
}

// A new copy laid against one already placed: its corner `mine` goes onto
// that copy's corner `at`, its side from `mine` towards `mineTo` along the
// side from `at` towards `atTo`. Corners are named 'A' to 'E'.
struct Put {
  int onto;
  char at, atTo, mine, mineTo;
  bool mirrored;
};

// A copy laid like the others that is copy `of` moved by a period.
struct Period {
  Put put;
  int of;
};

struct Layout {
  std::vector<Put> puts;  // copies 1 on; copy 0 is the pentagon as made
  Period u, v;
};

int corner(char name) { return name - 'A'; }

double headingOf(Vec from, Vec to) {
  return std::atan2(to.y - from.y, to.x - from.x) * 180 / std::numbers::pi;
}

// The isometry, mirrored or not, taking p onto r and the direction p -> q
// onto the direction r -> s.
Placement taking(Vec p, Vec q, Vec r, Vec s, bool mirrored) {
  Placement t{0, 0, mirrored, {}};
  const Vec fp = placed(t, p), fq = placed(t, q);
  t.turn = headingOf(r, s) - headingOf(fp, fq);
  const Vec moved = placed(t, p);
  t.shift = {r.x - moved.x, r.y - moved.y};
  return t;
}

Placement laid(const Pentagon& tile, const std::vector<Placement>& copies, const Put& put) {
  const Placement& onto = copies.at(static_cast<std::size_t>(put.onto));
  const auto at = [&](char c) { return tile[static_cast<std::size_t>(corner(c))]; };
  return taking(at(put.mine), at(put.mineTo), placed(onto, at(put.at)), placed(onto, at(put.atTo)),
                put.mirrored);
}

// How far copy `of` moves to land where the period's put lays it: the
// move of corner A.
Vec periodOf(const Pentagon& tile, const std::vector<Placement>& copies, const Period& period) {
  const Vec there = placed(laid(tile, copies, period.put), tile[0]);
  const Vec here = placed(copies.at(static_cast<std::size_t>(period.of)), tile[0]);
  return {there.x - here.x, there.y - here.y};
}

Entry entryFrom(std::string_view name, std::string_view summary, std::string_view source,
                Pentagon tile, const Layout& layout) {
  Entry e{name, summary, source, {tile}, {Placement{}}, {}, {}, 6};
  for (const Put& put : layout.puts) e.copies.push_back(laid(tile, e.copies, put));
  e.u = periodOf(tile, e.copies, layout.u);
  e.v = periodOf(tile, e.copies, layout.v);
  return e;
}

}  // namespace

std::vector<Entry> pentagonTypes6to15() {
  // clang-format off
  return {
      entryFrom("pentagon-type-6", "C + E = 180, A = 2C, a = b = e, c = d: four tiles a period in two orbits",
                "Kershner 1968", type6(),
                {{{0, 'A', 'B', 'B', 'A', false}, {0, 'A', 'E', 'D', 'E', false},
                  {0, 'B', 'C', 'D', 'C', false}},
                 {{0, 'D', 'E', 'B', 'A', false}, 3}, {{0, 'C', 'D', 'D', 'C', false}, 1}}),
      entryFrom("pentagon-type-7", "2B + C = 2D + A = 360, a = b = c = d: eight tiles a period in two orbits",
                "Kershner 1968", type7(),
                {{{0, 'A', 'B', 'C', 'B', false}, {0, 'B', 'C', 'C', 'B', false},
                  {0, 'C', 'D', 'B', 'A', false}, {0, 'D', 'E', 'D', 'E', true},
                  {1, 'A', 'E', 'D', 'C', true}, {1, 'D', 'E', 'D', 'E', true},
                  {3, 'D', 'E', 'D', 'E', true}},
                 {{0, 'A', 'E', 'E', 'A', false}, 2}, {{4, 'C', 'B', 'A', 'B', true}, 6}}),
      entryFrom("pentagon-type-8", "2A + B = 2D + C = 360, a = b = c = d: eight tiles a period in two orbits",
                "Kershner 1968", type8(),
                {{{0, 'A', 'E', 'A', 'B', false}, {0, 'A', 'B', 'B', 'A', false},
                  {0, 'B', 'C', 'A', 'E', false}, {0, 'D', 'E', 'D', 'E', true},
                  {0, 'C', 'D', 'B', 'C', true}, {1, 'B', 'C', 'C', 'D', true},
                  {1, 'D', 'E', 'D', 'E', true}},
                 {{1, 'C', 'D', 'D', 'C', false}, 3}, {{2, 'D', 'E', 'D', 'E', true}, 5}}),
      entryFrom("pentagon-type-9", "2E + B = 2D + C = 360, a = b = c = d: eight tiles a period in two orbits",
                "Rice 1976", type9(),
                {{{0, 'A', 'E', 'A', 'B', false}, {0, 'D', 'E', 'D', 'E', true},
                  {0, 'C', 'D', 'D', 'C', false}, {0, 'B', 'C', 'C', 'D', true},
                  {1, 'D', 'E', 'D', 'E', true}, {1, 'C', 'D', 'B', 'C', true},
                  {3, 'A', 'E', 'A', 'B', false}},
                 {{0, 'A', 'B', 'B', 'A', false}, 3}, {{4, 'B', 'A', 'E', 'A', true}, 6}}),
      entryFrom("pentagon-type-10", "E = 90, A + D = 180, 2B - D = 180, 2C + D = 360, a = e = b + d: six tiles a period in three orbits",
                "James 1975", type10(),
                {{{0, 'A', 'B', 'B', 'A', false}, {0, 'A', 'E', 'B', 'A', true},
                  {0, 'B', 'C', 'B', 'C', true}, {0, 'E', 'A', 'C', 'D', true},
                  {0, 'E', 'D', 'B', 'A', true}},
                 {{0, 'C', 'D', 'D', 'C', false}, 1}, {{1, 'E', 'A', 'C', 'D', true}, 5}}),
      entryFrom("pentagon-type-11", "A = 90, C + E = 180, 2B + C = 360, d = e = 2a + c: eight tiles a period in two orbits",
                "Rice 1977", type11(),
                {{{0, 'A', 'B', 'A', 'B', true}, {0, 'B', 'C', 'C', 'B', false},
                  {0, 'D', 'E', 'D', 'C', false}, {0, 'D', 'C', 'E', 'A', false},
                  {0, 'C', 'D', 'B', 'C', true}, {1, 'D', 'C', 'D', 'E', true},
                  {1, 'E', 'A', 'D', 'C', true}},
                 {{1, 'E', 'D', 'D', 'E', true}, 5}, {{2, 'D', 'C', 'E', 'A', false}, 3}}),
      entryFrom("pentagon-type-12", "A = 90, C + E = 180, 2B + C = 360, 2a = c + e = d: eight tiles a period in two orbits",
                "Rice 1977", type12(),
                {{{0, 'A', 'B', 'A', 'B', true}, {0, 'B', 'C', 'C', 'B', false},
                  {0, 'E', 'A', 'D', 'C', false}, {0, 'D', 'C', 'D', 'E', false},
                  {0, 'C', 'D', 'B', 'C', true}, {1, 'D', 'C', 'E', 'A', true},
                  {1, 'D', 'E', 'D', 'C', true}},
                 {{0, 'D', 'E', 'E', 'D', false}, 2}, {{4, 'A', 'B', 'A', 'B', true}, 7}}),
      entryFrom("pentagon-type-13", "A = C = 90, 2B = 2E = 360 - D, c = d, 2c = e: eight tiles a period in two orbits",
                "Rice 1977", type13(),
                {{{0, 'A', 'E', 'A', 'E', true}, {0, 'D', 'E', 'E', 'D', false},
                  {0, 'D', 'C', 'E', 'D', true}, {0, 'B', 'C', 'D', 'C', false},
                  {1, 'D', 'E', 'B', 'C', false}, {1, 'D', 'C', 'B', 'C', true},
                  {3, 'D', 'C', 'B', 'C', true}},
                 {{0, 'A', 'B', 'A', 'B', true}, 3}, {{4, 'A', 'E', 'A', 'E', true}, 6}}),
      entryFrom("pentagon-type-14", "A = 90, C + E = 180, 2B + C = 360, 2a = 2c = d = e, a single shape: six tiles a period in three orbits",
                "Stein 1985", type14(),
                {{{0, 'A', 'B', 'B', 'A', false}, {0, 'A', 'E', 'D', 'C', true},
                  {0, 'D', 'E', 'D', 'C', false}, {0, 'D', 'C', 'E', 'A', false},
                  {0, 'B', 'C', 'D', 'E', true}},
                 {{0, 'C', 'D', 'E', 'A', true}, 2}, {{2, 'C', 'B', 'B', 'C', true}, 5}}),
      entryFrom("pentagon-type-15", "A = 150, B = 60, C = 135, D = 105, E = 90, a = c = e, b = 2a, a single shape: twelve tiles a period in three orbits",
                "Mann, McLoud-Mann and Von Derau 2015", type15(),
                {{{0, 'A', 'E', 'B', 'C', false}, {0, 'A', 'B', 'A', 'B', true},
                  {0, 'B', 'C', 'C', 'B', false}, {1, 'A', 'B', 'D', 'E', true},
                  {1, 'A', 'E', 'D', 'E', false}, {3, 'A', 'B', 'A', 'B', true},
                  {3, 'A', 'E', 'B', 'C', false}, {4, 'C', 'B', 'E', 'A', true},
                  {6, 'E', 'D', 'E', 'A', true}, {7, 'A', 'E', 'D', 'E', false},
                  {8, 'D', 'C', 'C', 'D', true}},
                 {{0, 'D', 'E', 'B', 'C', true}, 2}, {{9, 'C', 'B', 'E', 'A', true}, 11}}),
  };
  // clang-format on
}

}  // namespace atlas
