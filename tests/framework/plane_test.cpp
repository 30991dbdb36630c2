// Point arithmetic and the isometries every tile construction is built from.
#include <gtest/gtest.h>

#include <cmath>

#include "matrica/matrica"

namespace {

void expectAt(const Point& p, float x, float y, float tol = 1e-6f) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

Point moved(const Matrix& m, Point p) {
  transformPoint(m, p);
  return p;
}

TEST(PointArithmetic, DifferenceRunsFromTheFirstPointToTheSecond) {
  expectAt(pointSub(Point{2, 1}, Point{6, 0}), 4, -1, 0);
  expectAt(pointSub(Point{6, 0}, Point{2, 1}), -4, 1, 0);
  expectAt(pointAdd(Point{6, 0}, Point{2, 1}), 8, 1, 0);
}

TEST(PointArithmetic, NewPointsLieInThePlaneInBlack) {
  const Point p{1, 2, 5, 3}, q{4, 4, 5, 3};
  for (const Point& r : {pointSub(p, q), pointAdd(p, q)}) {
    EXPECT_EQ(r.z, 0.0f);
    EXPECT_EQ(r.color, 9);
  }
}

TEST(Isometries, TranslationMovesOnlyXAndY) {
  const Matrix t = translationMatrix(Point{3, -2, 7, 4});
  const float rows[3][3] = {{1, 0, 3}, {0, 1, -2}, {0, 0, 1}};
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(t.rows[x][y], rows[x][y]);
  const Point p = moved(t, Point{1, 1, 2.5f, 6});
  EXPECT_EQ(p.x, 4.0f);
  EXPECT_EQ(p.y, -1.0f);
  EXPECT_EQ(p.z, 2.5f);
  EXPECT_EQ(p.color, 6);
}

TEST(Isometries, PositiveAnglesTurnCounterClockwise) {
  const Point p{2, 1};
  expectAt(moved(rotationAbout(90, Point{1, 1}), p), 1, 2);
  expectAt(moved(rotationAbout(-90, Point{1, 1}), p), 1, 0);
  expectAt(moved(rotationAbout(90, Point{0, 0}), Point{1, 0}), 0, 1);
}

TEST(Isometries, HalfTurnIsNotSnappedToIntegers) {
  const Point p = moved(rotationAbout(180, Point{0, 0}), Point{1, 0});
  EXPECT_EQ(p.x, -1.0f);
  EXPECT_NE(p.y, 0.0f);
  EXPECT_NEAR(p.y, -8.74e-8f, 1e-9f);
}

TEST(Isometries, RotationMatchesItsClosedForm) {
  const Point c{3.5f, -1.25f};
  const float angle = 72;
  const Matrix r = rotationAbout(angle, c);
  const double t = double(float(angle / 180.0 * 3.141592653589793));
  const double cs = float(std::cos(t)), sn = float(std::sin(t));
  EXPECT_NEAR(r.rows[0][0], cs, 1e-7);
  EXPECT_NEAR(r.rows[0][1], -sn, 1e-7);
  EXPECT_NEAR(r.rows[0][2], c.x - c.x * cs + c.y * sn, 1e-5);
  EXPECT_NEAR(r.rows[1][2], c.y - c.x * sn - c.y * cs, 1e-5);
  EXPECT_EQ(r.rows[2][2], 1.0f);
}

TEST(VectorMeasures, NormalizeGivesUnitLengthIncludingZ) {
  const Point n = normalize(Point{3, 4, 0, 5});
  EXPECT_FLOAT_EQ(n.x, 0.6f);
  EXPECT_FLOAT_EQ(n.y, 0.8f);
  EXPECT_EQ(n.z, 0.0f);
  EXPECT_EQ(n.color, 9);
  const Point m = normalize(Point{0, 3, 4});
  EXPECT_FLOAT_EQ(m.z, 0.8f);
  EXPECT_FALSE(std::isfinite(normalize(Point{0, 0, 0}).x));
}

TEST(VectorMeasures, AngleBetweenRightAndStraightAngles) {
  EXPECT_FLOAT_EQ(angleBetween(Point{1, 0}, Point{0, 1}), 90);
  EXPECT_FLOAT_EQ(angleBetween(Point{1, 0}, Point{-1, 0}), 180);
}

TEST(VectorMeasures, ParallelAndOppositeVectorsNeverGiveNaN) {
  // Rounding puts the cosine of these pairs just outside [-1, 1].
  for (float s : {0.1f, 0.3f, 0.7f, 1.3f, 3.3f, 1e-3f, 12345.6f}) {
    const Point a{s, s * 3.1f, 0}, b{s * 7.7f, s * 23.87f, 0};
    const Point minusB{-b.x, -b.y, 0};
    const float same = angleBetween(a, b), opposite = angleBetween(a, minusB);
    EXPECT_FALSE(std::isnan(same)) << s;
    EXPECT_NEAR(same, 0, 0.05) << s;
    EXPECT_NEAR(opposite, 180, 0.05) << s;
  }
}

TEST(VectorMeasures, ZeroVectorGivesNaN) {
  EXPECT_TRUE(std::isnan(angleBetween(Point{0, 0}, Point{1, 0})));
  EXPECT_TRUE(std::isnan(angleBetween(Point{1, 0}, Point{0, 0})));
}

}  // namespace
