#include "programs/pentatile1/pentatile1.h"

#include <array>

#include "tiles/edges.h"

namespace pentatile1 {

namespace {
constexpr std::array<tiles::Edge, 9> edges{{{T0, T1},
                                            {T1, T2},
                                            {T2, T3},
                                            {T3, T4},
                                            {T4, T0},
                                            {T1, T5},
                                            {T5, T6},
                                            {T6, T7},
                                            {T7, T2}}};
constexpr std::array<tiles::GivenPoint, 5> given{
    {{"A", A}, {"B", B}, {"C", C}, {"D", D}, {"E", E}}};
}  // namespace

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  const Matrix halfTurn = rotationAbout(180, tiles::midpoint(b, c));

  Tile tile{a, b, c, d, e, d, e, a};
  for (Vertex k : {T5, T6, T7}) transformPoint(halfTurn, tile[k]);

  // Move the whole tile so that A lies at the origin.
  tiles::moveToOrigin(tile, a);
  return tile;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[T4], tile[T3]);
  const Point across = pointAdd(pointSub(tile[T1], tile[T0]), pointSub(tile[T2], tile[T3]));
  const Point v = pointAdd(tile[T4], across);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  tileLattice(n, buildTile(p[0], p[1], p[2], p[3], p[4]));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace pentatile1
