#include "programs/pentatile3/pentatile3.h"

#include <array>
#include <cmath>
#include <iostream>

#include "tiles/edges.h"

namespace pentatile3 {

namespace {
constexpr std::array<tiles::Edge, 9> edges{{{T0, T1},
                                            {T1, T5},
                                            {T5, T6},
                                            {T6, T8},
                                            {T8, T9},
                                            {T9, T0},
                                            {T2, T3},
                                            {T3, T4},
                                            {T3, T7}}};

// A progress word goes out at once, so it is on the console before the
// window opens rather than when the process ends.
void report(const char* word) { std::cout << word << std::flush; }
}  // namespace

Heights computeHeights() {
  const double s = std::sqrt(3.0);
  return Heights{static_cast<float>((5.0 * s) * 0.25 + 1.0),
                 static_cast<float>(15.0 / (s + s) + 1.0)};
}

Tile buildTile(Point a, Point b, Point c, Point d, Point e) {
  const Matrix turn = rotationAbout(120, d);
  Tile tile{};
  tile[T0] = a;
  tile[T1] = b;
  tile[T2] = c;
  tile[T3] = d;
  tile[T4] = e;

  // Two passes of the same turn; the second image of C is E again.
  for (Point* p : {&a, &b, &c}) transformPoint(turn, *p);
  tile[T5] = a;
  tile[T6] = b;
  tile[T7] = c;
  for (Point* p : {&a, &b}) transformPoint(turn, *p);
  tile[T8] = a;
  tile[T9] = b;
  report("gotovooooo22");

  // Move the whole tile so that A lies at the origin.
  tiles::moveToOrigin(tile, tile[T0]);
  return tile;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = tile[T5];
  const Point v = tile[T8];
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() {
  // C, D and E take their heights from sqrt 3 once, on the first call.
  static const std::array<tiles::GivenPoint, 5> given = [] {
    const Heights h = computeHeights();
    return std::array<tiles::GivenPoint, 5>{{{"A", A},
                                             {"B", B},
                                             {"C", Point{cX, h.c1, 0, 9}},
                                             {"D", Point{dX, h.c2, 0, 9}},
                                             {"E", Point{eX, h.c1, 0, 9}}}};
  }();
  return given;
}

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != givenPoints().size()) return;
  report("gotovooooo");
  report("gotovooooo11");
  tileLattice(n, buildTile(p[0], p[1], p[2], p[3], p[4]));
}

void buildScene() {
  buildSceneFrom(tiles::givenValues(givenPoints()), latticeSize);
}

}  // namespace pentatile3
