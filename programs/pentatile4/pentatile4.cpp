#include "programs/pentatile4/pentatile4.h"

#include <array>
#include <iostream>

#include "tiles/edges.h"

namespace pentatile4 {

namespace {
constexpr std::array<tiles::Edge, 12> edges{{{T4, T5},
                                             {T4, T3},
                                             {T3, T8},
                                             {T9, T8},
                                             {T10, T9},
                                             {T5, T11},
                                             {T0, T1},
                                             {T1, T2},
                                             {T1, T7},
                                             {T6, T7},
                                             {T9, T7},
                                             {T11, T10}}};
constexpr std::array<tiles::GivenPoint, 5> given{
    {{"A", A}, {"B", B}, {"C", C}, {"D", D}, {"E", E}}};
}  // namespace

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  Tile tile{a, b, c, d, e, b, c, d, b, a, e, d};

  // Three quarter-turns counter-clockwise about A, kept as 270 degrees
  // rather than -90 so that the turn carries the float noise of that angle.
  const Matrix aroundA = rotationAbout(270, a);
  for (Vertex k : {T5, T6, T7}) transformPoint(aroundA, tile[k]);

  const Matrix aroundC = rotationAbout(90, c);
  for (Vertex k : {T9, T8}) transformPoint(aroundC, tile[k]);

  const Matrix halfTurn = rotationAbout(180, tiles::midpoint(tile[T1], tile[T7]));
  for (Vertex k : {T10, T11}) transformPoint(halfTurn, tile[k]);

  // Move the whole tile so that A lies at the origin.
  tiles::moveToOrigin(tile, a);
  return tile;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[T5], tile[T3]);
  const Point v = pointSub(tile[T11], tile[T4]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  // Flushed at once, so the word is on the console before the window opens.
  std::cout << "gotovooooo11" << std::flush;
  tileLattice(n, buildTile(p[0], p[1], p[2], p[3], p[4]));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace pentatile4
