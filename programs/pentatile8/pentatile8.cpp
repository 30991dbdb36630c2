#include "programs/pentatile8/pentatile8.h"

#include <array>
#include <cmath>

#include "tiles/edges.h"

namespace pentatile8 {

namespace {
constexpr std::array<tiles::Edge, 24> edges{{
    // the outline
    {0, 4}, {4, 3}, {3, 2}, {2, 7}, {7, 6}, {6, 5},
    {5, 10}, {10, 9}, {9, 8}, {8, 13}, {13, 12}, {12, 11},
    {11, 16}, {16, 15}, {15, 14}, {14, 18}, {18, 17}, {17, 0},
    // the spokes
    {1, 2}, {1, 5}, {1, 8}, {1, 11}, {1, 14}, {0, 1}}};

constexpr std::array<tiles::GivenPoint, 3> given{{{"A", A}, {"B", B}, {"E", E}}};
}  // namespace

Completion buildPentagon(Point a, Point b, Point e) {
  using tiles::turned;
  Completion done;
  done.c = turned(a, -60, b);

  const Point s = pointSub(e, done.c);
  const float half = std::sqrt(s.y * s.y + s.x * s.x + s.z * s.z) * 0.5f;
  const double leg = (half + half) / std::sqrt(3.0);

  const Point u = normalize(pointSub(e, turned(done.c, 30, e)));
  done.d = e;
  transformPoint(translationMatrix(Point{static_cast<float>(u.x * leg),
                                         static_cast<float>(u.y * leg),
                                         static_cast<float>(u.z * leg), 9}),
                 done.d);
  return done;
}

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  Tile t;  // t[0] stays the origin: it stands for a after the final move
  t[1] = b;
  t[2] = c;
  t[3] = d;
  t[4] = e;

  // c, d, e turned about b a sixth at a time: four times all three, then d
  // and e once more (the fifth turn of c would give a again).
  const Matrix sixth = rotationAbout(-60, b);
  Point pc = c, pd = d, pe = e;
  for (int first : {5, 8, 11, 14}) {
    transformPoint(sixth, pc);
    transformPoint(sixth, pd);
    transformPoint(sixth, pe);
    t[first] = pc;
    t[first + 1] = pd;
    t[first + 2] = pe;
  }
  transformPoint(sixth, pd);
  transformPoint(sixth, pe);
  t[17] = pd;
  t[18] = pe;

  tiles::moveToOrigin(t, a);
  return t;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[0], tile[13]);
  const Point v = pointSub(tile[3], tile[15]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  const Point a = p[0], b = p[1], e = p[2];
  const Completion done = buildPentagon(a, b, e);
  tileLattice(n, buildTile(a, b, done.c, done.d, e));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace pentatile8
