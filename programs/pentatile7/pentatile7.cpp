#include "programs/pentatile7/pentatile7.h"

#include <array>
#include <cmath>

#include "tiles/edges.h"

namespace pentatile7 {

namespace {
constexpr std::array<tiles::Edge, 24> edges{{
    {7, 4},   {4, 3},   {3, 10},  {10, 9},  {9, 11},  {11, 12},
    {18, 12}, {18, 17}, {17, 16}, {16, 15}, {15, 21}, {21, 22},
    {22, 23}, {6, 5},   {7, 6},   {3, 2},   {13, 1},  {9, 8},
    {13, 12}, {19, 15}, {13, 14}, {1, 5},   {5, 20},  {0, 1}}};

constexpr std::array<tiles::GivenPoint, 2> given{{{"G1", G1}, {"G2", G2}}};
}  // namespace

Completion buildPentagon(Point g1, Point g2) {
  using tiles::moved;
  using tiles::scaledVector;
  const Point s = pointSub(g1, g2);
  const float l = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
  const Point towards{2, 0, 0, 9};
  const double root3 = std::sqrt(3.0);

  Completion done;
  Point e = normalize(pointSub(g1, towards));
  done.v3 = moved(g2, scaledVector(l * 4, e));
  transformPoint(rotationAbout(30, g2), done.v3);

  e = normalize(pointSub(g1, towards));
  const Point f = scaledVector(static_cast<float>(root3 * (l * 4)), e);
  done.v2 = moved(g2, f);

  const Point g = normalize(f);
  done.v1 = moved(g1, scaledVector(static_cast<float>((l * 4 - l) * root3), g));

  addSegment(9, Segment{g1, done.v1, 9});
  addSegment(9, Segment{done.v1, done.v2, 9});
  addSegment(9, Segment{done.v2, done.v3, 9});
  addSegment(9, Segment{done.v3, g2, 9});
  addSegment(9, Segment{g1, g2, 9});
  return done;
}

Point mirrorPoint(Point x, Point a, Point b) {
  if (a.y == b.y && a.x != b.x) {
    // Horizontal at height c: x.x stays as it is and y is reflected in one
    // rounding, so the image is exactly (x.x, 2c - x.y).
    const float c = a.y;
    Point image = x;
    image.y = 2 * c - x.y;
    return image;
  }
  // Any other line, vertical included: reflect through the foot of the
  // perpendicular, worked from the direction a -> b so that no slope is
  // ever formed.
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double norm = dx * dx + dy * dy;
  if (norm == 0) return x;
  const double t = ((double(x.x) - a.x) * dx + (double(x.y) - a.y) * dy) / norm;
  const double footX = a.x + t * dx, footY = a.y + t * dy;
  Point image = x;
  image.x = static_cast<float>(2 * footX - x.x);
  image.y = static_cast<float>(2 * footY - x.y);
  return image;
}

Tile buildTile(Point v0, Point v1, Point v2, Point v3, Point v4) {
  Tile t;  // t[0] stays the origin: it stands for v0 after the final move
  t[1] = v1;
  t[2] = v2;
  t[3] = v3;
  t[4] = v4;
  t[5] = mirrorPoint(v2, v0, v1);
  t[6] = mirrorPoint(v3, v0, v1);
  t[7] = mirrorPoint(v4, v0, v1);
  addSegment(2, Segment{t[7], t[6], 9});

  // Turn about V3 by the angle there: takes V4 to V2.
  const float atV3 = angleBetween(pointSub(v3, v2), pointSub(v3, v4));
  const Matrix r = rotationAbout(atV3, v3);
  t[10] = v2;
  t[9] = v1;
  t[11] = t[5];
  t[12] = t[6];
  t[13] = t[7];
  t[8] = v0;
  for (int k : {10, 9, 11, 12, 13, 8}) transformPoint(r, t[k]);

  // Half-turn swapping V1 and W2.
  const Matrix h1 = rotationAbout(180, tiles::midpoint(v1, t[5]));
  t[14] = t[7];
  t[20] = v0;
  t[21] = v4;
  t[22] = v3;
  t[23] = v2;
  for (int k : {14, 20, 21, 22, 23}) transformPoint(h1, t[k]);

  // Half-turn swapping T12 and T13.
  const Matrix h2 = rotationAbout(180, tiles::midpoint(t[12], t[13]));
  t[19] = t[8];
  t[18] = v2;
  t[17] = v3;
  t[16] = t[10];
  t[15] = t[9];
  for (int k : {19, 18, 17, 16, 15}) transformPoint(h2, t[k]);

  tiles::moveToOrigin(t, v0);
  return t;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[4], tile[17]);
  const Point v = pointSub(tile[11], tile[7]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  const Point g1 = p[0], g2 = p[1];
  const Completion done = buildPentagon(g1, g2);
  tileLattice(n, buildTile(g1, done.v1, done.v2, done.v3, g2));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace pentatile7
