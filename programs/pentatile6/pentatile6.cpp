#include "programs/pentatile6/pentatile6.h"

#include <array>
#include <cmath>

#include "tiles/edges.h"

namespace pentatile6 {

namespace {
constexpr std::array<tiles::Edge, 16> edges{{
    // the outline, from T0 round
    {0, 4}, {4, 3}, {3, 2}, {2, 7}, {7, 6}, {6, 5},
    {5, 12}, {12, 11}, {11, 10}, {10, 9}, {9, 8}, {8, 0},
    // the sides from T1 that part its four pentagons
    {0, 1}, {1, 2}, {1, 5}, {1, 10}}};

// π/8 in radians: half the 45-degree apex angle.
constexpr double halfApex = 0.39269908169872414;

constexpr std::array<tiles::GivenPoint, 3> given{{{"A", A}, {"D", D}, {"E", E}}};
}  // namespace

float sideShift() { return static_cast<float>(std::sqrt(2.0) + std::sqrt(2.0)); }

float legLength(Point a, Point c) {
  const Point v = pointSub(a, c);
  const float base = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  const float half = base * 0.5f;
  return static_cast<float>(half / std::sin(halfApex));
}

Completion completePentagon(Point a, Point d) {
  using tiles::moved;
  using tiles::scaledVector;
  const Point c = moved(d, Point{sideShift(), 0, 0, 9});
  const float leg = legLength(a, c);
  const Point u = normalize(pointSub(a, tiles::turned(c, -67.5f, a)));
  const Point b = moved(a, scaledVector(leg, u));
  return {c, b};
}

float cornerAngle(Point a, Point b, Point c) {
  const Point toC = pointSub(b, c);
  const Point toA = pointSub(b, a);
  return angleBetween(toA, toC);
}

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  Tile t{a, b, c, d, e};

  // Half-turn about the midpoint of BC: swaps B and C.
  const Matrix h1 = rotationAbout(180, tiles::midpoint(b, c));
  t[5] = d;
  t[6] = e;
  t[7] = a;
  for (int k : {5, 6, 7}) transformPoint(h1, t[k]);

  // Turn about B by the angle at B: keeps B and takes C to A.
  const Matrix r2 = rotationAbout(cornerAngle(a, b, c), b);
  t[8] = d;
  t[9] = e;
  t[10] = a;
  for (int k : {8, 9, 10}) transformPoint(r2, t[k]);

  // Half-turn about the midpoint of T10 and B: swaps them.
  const Matrix h2 = rotationAbout(180, tiles::midpoint(t[10], b));
  t[11] = a;
  t[12] = t[8];
  for (int k : {11, 12}) transformPoint(h2, t[k]);

  tiles::moveToOrigin(t, a);
  return t;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[3], tile[12]);
  const Point v = pointSub(tile[3], tile[9]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  const Point a = p[0], d = p[1], e = p[2];
  const Completion done = completePentagon(a, d);
  tileLattice(n, buildTile(a, done.b, done.c, d, e));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace pentatile6
