#include "programs/mixtile2/mixtile2.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile2 {

namespace {
// 11-7 runs through 2 and 1; 4-11 through 3; 8-10 through 9; 6-9 through 1;
// 9-3 through 2; 7-5 through 6.
constexpr std::array<tiles::Edge, 12> segments{{{11, 7},
                                                {4, 11},
                                                {8, 10},
                                                {6, 9},
                                                {9, 3},
                                                {2, 10},
                                                {10, 11},
                                                {7, 8},
                                                {7, 5},
                                                {5, 4},
                                                {11, 12},
                                                {3, 12}}};

constexpr std::array<tiles::GivenPoint, 2> given{
    {{"givenA", givenA}, {"givenB", givenB}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  using tiles::placeImage;
  tiles::regularPolygon(tile, a, b, 3, 60);
  const Matrix sixth = rotationAbout(60, tiles::midpoint(a, b));

  placeImage(tile, 7, 6, rotationAbout(60, tile[1]));
  placeImage(tile, 9, 7, sixth);
  placeImage(tile, 11, 9, sixth);
  placeImage(tile, 8, 7, rotationAbout(60, tile[1]));
  placeImage(tile, 10, 9, rotationAbout(60, tile[2]));
  placeImage(tile, 12, 11, rotationAbout(60, tile[3]));
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, segments); }

void tileLattice(const Tile& tile, int n) {
  const Point u = pointSub(tile[8], tile[3]);
  const Point v = pointSub(tile[9], tile[5]);
  tiles::slotLattice<vertexCount>(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  Tile tile{};
  buildTile(tile, p[0], p[1]);
  tileLattice(tile, n);
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace mixtile2
