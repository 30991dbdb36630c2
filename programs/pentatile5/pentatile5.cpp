#include "programs/pentatile5/pentatile5.h"

#include <array>

#include "tiles/edges.h"

namespace pentatile5 {

namespace {
constexpr std::array<tiles::Edge, 18> edges{{
    // the octagon
    {0, 1}, {1, 5}, {5, 6}, {6, 8}, {8, 9}, {9, 11}, {11, 12}, {12, 0},
    // the two straight lines through T3, each two pentagon sides long
    {4, 7}, {2, 10},
    // left cap, then right cap; their sides on the octagon are already in
    {11, 13}, {13, 14}, {14, 15}, {15, 9},
    {8, 18}, {18, 17}, {17, 16}, {16, 6}}};
constexpr std::array<tiles::GivenPoint, 5> given{
    {{"A", A}, {"B", B}, {"C", C}, {"D", D}, {"E", E}}};
}  // namespace

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  Tile t;  // t[0] stays the origin: it stands for a after the final move
  t[1] = b;
  t[2] = c;
  t[3] = d;
  t[4] = e;

  // a, b, c turned about d a quarter at a time: twice all three, then a and
  // b once more (the third turn of c would give e again).
  const Matrix quarter = rotationAbout(90, d);
  Point pa = a, pb = b, pc = c;
  for (int first : {5, 8}) {
    transformPoint(quarter, pa);
    transformPoint(quarter, pb);
    transformPoint(quarter, pc);
    t[first] = pa;
    t[first + 1] = pb;
    t[first + 2] = pc;
  }
  transformPoint(quarter, pa);
  transformPoint(quarter, pb);
  t[11] = pa;
  t[12] = pb;

  // The left cap: the last turned copy slid so that its image of e lands on
  // its image of a.
  const Matrix slide = translationMatrix(pointSub(e, t[11]));
  t[13] = t[12];
  t[14] = t[11];
  t[15] = t[10];
  for (int k : {13, 14, 15}) transformPoint(slide, t[k]);

  // The right cap: the left one half-turned about the midpoint of T8-T9.
  const Matrix half = rotationAbout(180, tiles::midpoint(t[8], t[9]));
  t[16] = t[14];
  t[17] = t[13];
  t[18] = t[11];
  for (int k : {16, 17, 18}) transformPoint(half, t[k]);

  tiles::moveToOrigin(t, a);
  return t;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[13], tile[5]);
  const Point v = pointSub(tile[9], tile[0]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  tileLattice(n, buildTile(p[0], p[1], p[2], p[3], p[4]));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace pentatile5
