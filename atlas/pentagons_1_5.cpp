// The five types of convex pentagon that tile with a single orbit of tiles,
// each in the tiling its discoverer gave. The corners are named A to E and
// the sides a = EA, b = AB, c = BC, d = CD, e = DE; a table picks the
// pentagon by its free angles and sides, and the placements are the
// motions the type's conditions allow: a half-turn about a side's middle
// where two sides are parallel, a mirror image taking one of two equal
// sides onto the other, quarter, third or sixth turns about a corner whose
// sides are equal. The periods are what two of these motions make together.
#include <cmath>
#include <numbers>

#include "atlas/motions.h"
#include "atlas/tables.h"

namespace atlas {

namespace {

constexpr std::string_view reinhardt = "Reinhardt, Über die Zerlegung der Ebene in Polygone (1918)";

// The interior angle at each corner of a counter-clockwise polygon, degrees.
std::vector<double> anglesOf(const std::vector<Vec>& corners) {
  std::vector<double> angles;
  const std::size_t n = corners.size();
  for (std::size_t k = 0; k < n; ++k) {
    const Vec next = corners[(k + 1) % n] - corners[k];
    const Vec back = corners[(k + n - 1) % n] - corners[k];
    const double turn = std::atan2(next.x * back.y - next.y * back.x, next.x * back.x + next.y * back.y);
    angles.push_back(turn * 180 / std::numbers::pi);
  }
  return angles;
}

// The pentagon A B C D E with A at the origin and B on the positive x axis,
// whose angle at A is `a` and whose sides at A are equal, with angle `c` at
// C and equal sides there too: b = a, c = d. Its angle at B and sides b, c
// are free.
std::vector<Vec> equalSidedCorners(double angleA, double angleB, double angleC, double b, double c) {
  const Vec A{0, 0}, B{b, 0};
  const Vec C = B + c * heading(180 - angleB);
  const Vec D = C + turned(B - C, -angleC);
  const Vec E = turned(B, angleA);
  const std::vector<Vec> corners{A, B, C, D, E};
  const std::vector<double> sides{b, c, c};
  return polygonFrom(anglesOf(corners), sides);
}

Placement identity() { return {}; }
Vec midpoint(Vec p, Vec q) { return 0.5 * (p + q); }

// D + E = 180: CD and EA are parallel. The pentagon and its half-turn about
// the middle of DE make a hexagon with opposite sides parallel and equal,
// which tiles by translation.
Entry type1() {
  // Corners in the order D, E, A, B, C.
  const std::vector<double> angles{75, 105, 100, 125, 135};
  const std::vector<double> sides{1, 0.9, 0.7};  // e, a, b
  const std::vector<Vec> p = polygonFrom(angles, sides);
  const Vec D = p[0], E = p[1], A = p[2], B = p[3], C = p[4];
  const Placement half = turnAbout(midpoint(D, E), 180);
  Entry e{"pentagon-type-1", "D + E = 180: a pentagon and its half-turn copy", reinhardt, {p},
          {identity(), half}, {}, {}, 8};
  // The hexagon A B C A' B' C': across side AB lies the copy moved by B - A'.
  e.u = B - placed(half, A);
  e.v = C - placed(half, B);
  return e;
}

// C + E = 180, a = d: the mirror image taking CD onto EA, and the half-turn
// about the middle of AB; four tiles, two of them mirror images.
Entry type2() {
  // Corners in the order C, D, E, A, B.
  const std::vector<double> angles{75, 125, 105, 120, 115};
  const std::vector<double> sides{1, 0.8, 1};  // d, e, a
  const std::vector<Vec> p = polygonFrom(angles, sides);
  const Vec C = p[0], D = p[1], E = p[2], A = p[3], B = p[4];
  const Placement glide = mirrorTaking(C, D, E, A);
  const Placement half = turnAbout(midpoint(A, B), 180);
  Entry e{"pentagon-type-2", "C + E = 180, a = d: mirror images in glides and half-turns", reinhardt,
          {p}, {identity(), glide, half, after(half, glide)}, {}, {}, 6};
  e.u = translationOf(after(glide, glide));
  const Placement other = after(glide, half);
  e.v = translationOf(after(other, other));
  return e;
}

// A = C = D = 120, a = b, d = c + e: three turned about A fill a regular
// hexagon of side d, C and D two of its corners, B and E on its sides.
Entry type3() {
  const double c = 0.3, d = 1;  // e = d - c
  // Triangle A C B: AC = d, CB = c, the angle at C half the hexagon's.
  const double atA = std::atan2(c * std::sin(std::numbers::pi / 3), d - c / 2) * 180 / std::numbers::pi;
  const double angleB = 180 - 60 - atA;
  const double b = std::sqrt(d * d + c * c - d * c);
  const std::vector<double> angles{120, angleB, 120, 120, 180 - angleB};
  const std::vector<double> sides{b, c, d};
  const std::vector<Vec> p = polygonFrom(angles, sides);
  Entry e{"pentagon-type-3", "A = C = D = 120: three turned about A into a hexagon", reinhardt, {p}, {}, {},
          {}, 6};
  for (int k = 0; k < 3; ++k) e.copies.push_back(turnAbout({0, 0}, 120.0 * k));
  // Across the hexagon's side CD.
  e.u = p[2] + p[3];
  e.v = turned(e.u, 120);
  return e;
}

// A = C = 90, a = b, c = d: quarter turns about A and about C.
Entry type4() {
  const std::vector<Vec> p = equalSidedCorners(90, 110, 90, 1, 0.8);
  Entry e{"pentagon-type-4", "A = C = 90: four turned about A, four about C", reinhardt, {p}, {}, {},
          {}, 6};
  for (int k = 0; k < 4; ++k) e.copies.push_back(turnAbout({0, 0}, 90.0 * k));
  // The quarter turn about C after the quarter turn back about A.
  e.u = translationOf(after(turnAbout(p[2], 90), turnAbout({0, 0}, -90)));
  e.v = turned(e.u, 90);
  return e;
}

// A = 60, C = 120, a = b, c = d: sixth turns about A, third turns about C.
Entry type5() {
  const std::vector<Vec> p = equalSidedCorners(60, 110, 120, 1, 0.7);
  Entry e{"pentagon-type-5", "A = 60, C = 120: six turned about A, three about C", reinhardt, {p}, {},
          {}, {}, 5};
  for (int k = 0; k < 6; ++k) e.copies.push_back(turnAbout({0, 0}, 60.0 * k));
  e.u = translationOf(after(turnAbout(p[2], 120), turnAbout({0, 0}, -120)));
  e.v = turned(e.u, 60);
  return e;
}

}  // namespace

std::vector<Entry> pentagonTypes1to5() { return {type1(), type2(), type3(), type4(), type5()}; }

}  // namespace atlas
