#include "programs/mixtile3/mixtile3.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile3 {

namespace {
// The dodecagon, the six spokes from it to the squares' outer corners, and
// the outer chain from 13 round to 22.
constexpr std::array<tiles::Edge, 27> edges{{
    {1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 6},   {6, 7},   {7, 8},
    {8, 9},   {9, 10},  {10, 11}, {11, 12}, {1, 12},  {6, 13},  {5, 14},
    {4, 17},  {3, 18},  {2, 21},  {1, 22},  {13, 14}, {14, 15}, {15, 16},
    {16, 17}, {17, 18}, {18, 19}, {19, 20}, {20, 21}, {21, 22},
}};

constexpr std::array<tiles::GivenPoint, 2> given{
    {{"givenA", givenA}, {"givenB", givenB}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  using tiles::placeImage;
  tiles::regularPolygon(tile, a, b, 6, -30);

  // The square on side 5-6, by quarter turns clockwise about its corners.
  placeImage(tile, 13, 5, rotationAbout(-90, tile[6]));
  placeImage(tile, 14, 6, rotationAbout(-90, tile[13]));

  // The squares on sides 3-4 and 1-2: the first one turned about the centre.
  const Matrix sixth = rotationAbout(60, tiles::midpoint(a, b));
  placeImage(tile, 17, 13, sixth);
  placeImage(tile, 18, 14, sixth);
  placeImage(tile, 21, 17, sixth);
  placeImage(tile, 22, 18, sixth);

  // Each hexagon between two squares is centrally symmetric: its far corners
  // are the half-turns of its dodecagon corners about its centre.
  const Matrix upper = rotationAbout(180, tiles::midpoint(tile[17], tile[14]));
  placeImage(tile, 15, 4, upper);
  placeImage(tile, 16, 5, upper);
  const Matrix lower = rotationAbout(180, tiles::midpoint(tile[21], tile[18]));
  placeImage(tile, 19, 2, lower);
  placeImage(tile, 20, 3, lower);
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(const Tile& tile, int n) {
  const Point u = pointSub(tile[21], tile[7]);
  const Point v = pointSub(tile[16], tile[8]);
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

}  // namespace mixtile3
