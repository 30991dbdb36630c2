#include "programs/pentatile2/pentatile2.h"

#include <array>
#include <cmath>

#include "tiles/edges.h"

namespace pentatile2 {

namespace {
// 1-5 the given pentagon; 6-9 close the joining pentagon; 10-13 complete the
// translated copy; 14-20 complete the half-turn images of the translated copy
// and of the joining pentagon; 21-23 finish the half-turn image of the given
// pentagon, whose side T7-T3 runs through T9 along edges 9 and 10.
constexpr std::array<tiles::Edge, 23> edges{{
    {T0, T1},   {T1, T2},   {T2, T3},   {T3, T4},   {T0, T4},   {T4, T18},
    {T18, T8},  {T9, T8},   {T3, T9},   {T9, T10},  {T10, T11}, {T11, T12},
    {T12, T8},  {T1, T15},  {T15, T16}, {T16, T17}, {T17, T13}, {T14, T13},
    {T13, T19}, {T5, T19},  {T2, T5},   {T5, T6},   {T6, T7},
}};

// Length of v in single precision.
float length(Point v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

}  // namespace

float computeD() { return static_cast<float>(2.5 * std::sqrt(3.0) + 3.0); }

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  Tile tile{};
  tile[T0] = a;
  tile[T1] = b;
  tile[T2] = c;
  tile[T3] = d;
  tile[T4] = e;

  const Matrix halfTurn = rotationAbout(180, tiles::midpoint(c, d));
  tile[T5] = e;
  tile[T6] = a;
  tile[T7] = b;
  for (Vertex k : {T5, T6, T7}) transformPoint(halfTurn, tile[k]);

  // w = (E - A) + (D - B), with E - A taken as the direction of BC scaled to
  // the length of EA: the second copy sits across the joining pentagon.
  const Point s = tiles::scaledVector(length(pointSub(a, e)), normalize(pointSub(b, c)));
  const Point w = pointAdd(s, pointSub(b, d));
  const Matrix shift = translationMatrix(w);
  const std::array<Point, 5> given{a, b, c, d, e};
  for (int k = 0; k < 5; ++k) {
    tile[T8 + k] = given[k];
    transformPoint(shift, tile[T8 + k]);
  }
  for (int k = 0; k < 5; ++k) {
    tile[T13 + k] = tile[T8 + k];
    transformPoint(halfTurn, tile[T13 + k]);
  }

  // F: from E, the direction of ED turned on by the angle at B, as far as
  // BC is long.
  const float angleB = angleBetween(pointSub(b, a), pointSub(b, c));
  Point turnedD = d;
  transformPoint(rotationAbout(angleB, e), turnedD);
  const Point direction = normalize(pointSub(e, turnedD));
  tile[T18] = tiles::moved(e, tiles::scaledVector(length(pointSub(b, c)), direction));
  tile[T19] = tile[T18];
  transformPoint(halfTurn, tile[T19]);

  // Move the whole tile so that A lies at the origin.
  tiles::moveToOrigin(tile, a);
  return tile;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[T0], tile[T7]);
  const Point v = pointSub(tile[T16], tile[T12]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() {
  // D's height is worked out from sqrt 3 once, on the first call.
  static const std::array<tiles::GivenPoint, 5> given{
      {{"A", A}, {"B", B}, {"C", C}, {"D", {dX, computeD(), 0, 9}}, {"E", E}}};
  return given;
}

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != givenPoints().size()) return;
  tileLattice(n, buildTile(p[0], p[1], p[2], p[3], p[4]));
}

void buildScene() {
  buildSceneFrom(tiles::givenValues(givenPoints()), latticeSize);
}

}  // namespace pentatile2
