// The values the pentagons are completed with, and the mirror that the
// mirror-image tiling uses.
#include <gtest/gtest.h>

#include <cmath>

#include "programs/pentatile6/pentatile6.h"
#include "programs/pentatile7/pentatile7.h"
#include "programs/pentatile8/pentatile8.h"
#include "tests/testbed/geometry.h"

namespace pentagons58 {
namespace {

const double r3 = std::sqrt(3.0);

void expectAt(const Point& p, double x, double y, double tol = 2e-6) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
  EXPECT_TRUE(p.z == 0 && p.color == 9);
}

// C lies 2√2 right of D; B is the apex over AC with legs L and 45 degrees
// there, at the float values the construction arrives at.
TEST(CompletedPentagon, SixthHasShiftLegApexAndAngleAtB) {
  using namespace pentatile6;
  EXPECT_EQ(sideShift(), 2.8284271f);
  const Completion done = completePentagon(A, D);
  EXPECT_EQ(done.c.x, D.x + sideShift());
  EXPECT_EQ(done.c.y, 5);
  EXPECT_FLOAT_EQ(legLength(A, done.c), 6.4008255f);
  expectAt(done.b, 9.2426405, -0.4142143, 1e-6);
  EXPECT_FLOAT_EQ(cornerAngle(A, done.b, done.c), 45);
}

// From V0 = (0, 0) and V4 = (0, 1); the pentagon's own edges come first, in
// order round from V0, the last one back from V4 to V0 stored as V0-V4.
TEST(CompletedPentagon, SeventhHasItsVerticesAndStoresItsEdgesFirst) {
  using namespace pentatile7;
  clearScene();
  const Completion p = buildPentagon(G1, G2);
  expectAt(p.v1, 3 * r3, 0);
  expectAt(p.v2, 4 * r3, 1);
  expectAt(p.v3, 2 * r3, 3);
  const Point ends[][2] = {{G1, p.v1}, {p.v1, p.v2}, {p.v2, p.v3}, {p.v3, G2}, {G1, G2}};
  ASSERT_EQ(Scene.segments.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    expectAt(Scene.segments[i].a, ends[i][0].x, ends[i][0].y, 0);
    expectAt(Scene.segments[i].b, ends[i][1].x, ends[i][1].y, 0);
  }
}

// C = A turned -60 degrees about B; D the apex over EC with 30-degree base
// angles, so DC = DE = |EC| / √3.
TEST(CompletedPentagon, EighthHasCAndD) {
  using namespace pentatile8;
  const Completion done = buildPentagon(A, B, E);
  expectAt(done.c, 3, 2 * r3);
  expectAt(done.d, 0.7886751345948129, 3.0980762113533156);
  EXPECT_NEAR(testbed::distance(done.d, done.c), 3.882241204475127 / r3, 2e-6);
  EXPECT_NEAR(testbed::distance(done.d, E), 3.882241204475127 / r3, 2e-6);
}

// The blue edge is the mirror image's side W4-W3, stored before any copy;
// the first copy stores the same edge again in black.
TEST(MirrorTile, BlueEdgeIsTheMirroredSideAndTheFirstCopyRepeatsIt) {
  clearScene();
  pentatile7::buildScene();
  const Segment& blue = Scene.segments[5];
  const Segment& again = Scene.segments[6 + 14];  // the first copy's T7-T6
  EXPECT_EQ(blue.color, 2);
  expectAt(blue.a, 0, -1, 0);
  expectAt(blue.b, 2 * r3, -3);
  EXPECT_EQ(again.color, 9);
  EXPECT_TRUE(again.a.x == blue.a.x && again.a.y == blue.a.y &&
              again.b.x == blue.b.x && again.b.y == blue.b.y);
}

// A horizontal line at height c gives (x.x, 2c - x.y) to the last bit, also
// where reflecting by twice the way to the line would round differently.
TEST(MirrorPoint, HorizontalLineGivesExactlyTheReflectedHeight) {
  struct Case {
    float xx, xy, c, ax, bx;
  };
  for (const Case& k : std::vector<Case>{{6.9282f, 1, 0, 0, 5.1962f},
                                         {6.9282f, 1, 0.5f, 0, 5.1962f},
                                         {3.7f, 0.1f, 0.3f, -2, 5},
                                         {-1.25f, 3.3f, 0.3f, 4, -4},
                                         {7, 1, -1.1f, 9, -9}}) {
    const Point m = pentatile7::mirrorPoint(
        Point{k.xx, k.xy, 0, 3}, Point{k.ax, k.c, 0, 9}, Point{k.bx, k.c, 0, 9});
    EXPECT_EQ(m.x, k.xx);
    EXPECT_EQ(m.y, 2 * k.c - k.xy);
    EXPECT_TRUE(m.z == 0 && m.color == 3);
  }
  EXPECT_EQ(pentatile7::mirrorPoint({6.9282f, 1}, {0, 0.5f}, {5.1962f, 0.5f}).y, 0);
}

// Vertical lines (infinite slope), slanted lines, and two equal points (no
// line at all, x stays): always a finite point, and for a line the line is
// the perpendicular bisector of x and its image.
TEST(MirrorPoint, OtherLinesGiveTheTrueMirrorImage) {
  struct Case {
    Point x, a, b;
    float mx, my;
  };
  for (const Case& k : std::vector<Case>{{{3, 5}, {1, 0}, {1, 4}, -1, 5},
                                         {{3, 5}, {1, 4}, {1, 0}, -1, 5},
                                         {{3, 1}, {0, 0}, {1, 1}, 1, 3},
                                         {{2, 0}, {0, 1}, {1, 2}, -1, 3},
                                         {{4, 4}, {0, 0}, {1, 1}, 4, 4},
                                         {{3, -2}, {1, 1}, {1, 1}, 3, -2}}) {
    const Point m = pentatile7::mirrorPoint(k.x, k.a, k.b);
    EXPECT_NEAR(m.x, k.mx, 1e-6);
    EXPECT_NEAR(m.y, k.my, 1e-6);
  }
  const Point a{1, 2}, x{-2.5f, 4.25f};
  for (int degrees = 1; degrees < 180; degrees += 7) {
    const double t = degrees * std::acos(-1.0) / 180;
    const Point b{float(1 + 3 * std::cos(t)), float(2 + 3 * std::sin(t))};
    const Point m = pentatile7::mirrorPoint(x, a, b);
    ASSERT_TRUE(std::isfinite(m.x) && std::isfinite(m.y)) << degrees;
    EXPECT_NEAR(testbed::distance(m, a), testbed::distance(x, a), 1e-5);
    EXPECT_NEAR(testbed::distance(m, b), testbed::distance(x, b), 1e-5);
    EXPECT_NEAR((m.x - x.x) * (b.x - a.x) + (m.y - x.y) * (b.y - a.y), 0, 1e-5);
  }
}

}  // namespace
}  // namespace pentagons58
