// The guarded matrix: storage, copies, products, and the three checks that
// stop the program instead of reaching outside the storage. This file is
// built with NDEBUG, as a release build is, to show the checks stay on.
#include <gtest/gtest.h>

#include "matrica/matrica"

#ifndef NDEBUG
#error "the matrix checks must be tested in a build with NDEBUG"
#endif

namespace {

Matrix filled(int dx, int dy, float start) {
  Matrix m(dx, dy);
  for (int x = 0; x < dx; ++x)
    for (int y = 0; y < dy; ++y) m.at(x, y) = start++;
  return m;
}

TEST(MatrixStorage, NewMatrixReadsZeroEverywhere) {
  Matrix m(3, 3);
  EXPECT_EQ(m.dx, 3);
  EXPECT_EQ(m.dy, 3);
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(m.at(x, y), 0.0f);
}

TEST(MatrixStorage, CopyIsIndependentOfItsSource) {
  Matrix source = filled(3, 3, 1);
  Matrix copy(source);
  copy.at(1, 1) = 100;
  source.at(0, 2) = -7;
  EXPECT_EQ(source.at(1, 1), 5.0f);
  EXPECT_EQ(copy.at(0, 2), 3.0f);
  EXPECT_NE(copy.rows, source.rows);
}

TEST(MatrixStorage, AssigningOtherSizesTakesThemOver) {
  Matrix target = filled(3, 3, 1);
  target = filled(3, 1, 10);
  EXPECT_EQ(target.dx, 3);
  EXPECT_EQ(target.dy, 1);
  EXPECT_EQ(target.at(2, 0), 12.0f);
}

TEST(MatrixStorage, AssigningEqualSizesKeepsTheStorage) {
  Matrix target(3, 3);
  float** storage = target.rows;
  float* firstRow = target.rows[0];
  const Matrix source = filled(3, 3, 1);
  target = source;
  EXPECT_EQ(target.rows, storage);
  EXPECT_EQ(target.rows[0], firstRow);
  EXPECT_EQ(target.at(2, 2), 9.0f);
  target.at(2, 2) = 0;
  EXPECT_EQ(source.rows[2][2], 9.0f);
}

TEST(MatrixStorage, NegativeSizesFailAsAllocationFailures) {
  EXPECT_THROW(Matrix(-1, 3), std::bad_alloc);
  EXPECT_THROW(Matrix(3, -2), std::bad_alloc);
}

TEST(MatrixProduct, ThreeByThreeTimesColumnIsAColumn) {
  const Matrix product = multiply(filled(3, 3, 1), filled(3, 1, 1));
  ASSERT_EQ(product.dx, 3);
  ASSERT_EQ(product.dy, 1);
  EXPECT_EQ(product.rows[0][0], 14.0f);  // 1*1 + 2*2 + 3*3
  EXPECT_EQ(product.rows[1][0], 32.0f);
  EXPECT_EQ(product.rows[2][0], 50.0f);
}

TEST(MatrixProduct, IdentityLeavesAnyColumnExactlyAsItWas) {
  Matrix identity(3, 3);
  for (int i = 0; i < 3; ++i) identity.at(i, i) = 1;
  Matrix column(3, 1);
  column.at(0, 0) = 0.1f;
  column.at(1, 0) = -123456.7f;
  column.at(2, 0) = 1;
  const Matrix image = multiply(identity, column);
  EXPECT_EQ(image.rows[0][0], 0.1f);
  EXPECT_EQ(image.rows[1][0], -123456.7f);
  EXPECT_EQ(image.rows[2][0], 1.0f);
}

TEST(MatrixProduct, PartialSumsAreRoundedToFloat) {
  // 1 + 2^-24 rounds back to 1 in float, so adding it twice in float stays
  // 1, where a double accumulator would reach 1 + 2^-23.
  Matrix row(1, 3);
  row.at(0, 0) = 1;
  row.at(0, 1) = 1;
  row.at(0, 2) = 1;
  Matrix column(3, 1);
  column.at(0, 0) = 1;
  column.at(1, 0) = 0x1p-24f;
  column.at(2, 0) = 0x1p-24f;
  EXPECT_EQ(multiply(row, column).rows[0][0], 1.0f);
}

using MatrixChecksDeathTest = ::testing::Test;

TEST_F(MatrixChecksDeathTest, RowPastTheEndStopsAtLine100) {
  Matrix m(3, 3);
  EXPECT_DEATH(m.at(3, 0), "matrica:100: .*Assertion `x >= 0 && x < dx' failed");
  EXPECT_DEATH(m.at(-1, 0), "matrica:100: .*`x >= 0 && x < dx'");
}

TEST_F(MatrixChecksDeathTest, ColumnPastTheEndStopsAtLine101) {
  Matrix m(3, 3);
  EXPECT_DEATH(m.at(0, 3), "matrica:101: .*Assertion `y >= 0 && y < dy' failed");
  EXPECT_DEATH(m.at(2, -1), "matrica:101: .*`y >= 0 && y < dy'");
}

TEST_F(MatrixChecksDeathTest, MismatchedProductStopsAtLine107) {
  const Matrix square(3, 3), row(1, 3);
  EXPECT_DEATH(multiply(square, row),
               "matrica:107: .*Assertion `m1.dy == m2.dx' failed");
}

TEST_F(MatrixChecksDeathTest, TransformingWithTooFewColumnsOrRowsStops) {
  Point p{1, 1, 0, 9};
  EXPECT_DEATH(transformPoint(Matrix(3, 2), p), "matrica:107: ");
  EXPECT_DEATH(transformPoint(Matrix(1, 3), p), "matrica:100: ");
}

}  // namespace
