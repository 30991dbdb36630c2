#include "tests/mixtiles/cases.h"

#include <cmath>

#include "programs/mixtile1/mixtile1.h"
#include "programs/mixtile2/mixtile2.h"
#include "programs/mixtile3/mixtile3.h"
#include "programs/mixtile4/mixtile4.h"
#include "programs/mixtile5/mixtile5.h"
#include "programs/mixtile6/mixtile6.h"
#include "programs/mixtile7/mixtile7.h"
#include "programs/quadtile/quadtile.h"

namespace cases {

namespace {

template <std::size_t N, std::size_t S>
std::function<std::vector<Point>()> slotted(
    void (*build)(tiles::Tile<S>&, Point, Point), Point a, Point b) {
  return [=] {
    tiles::Tile<S> tile{};
    build(tile, a, b);
    return std::vector<Point>(tile.begin(), tile.end());
  };
}

template <std::size_t N, std::size_t S>
std::function<std::vector<Point>(Point)> movedInPlace(
    void (*build)(tiles::Tile<S>&, Point, Point), Point a, Point b) {
  return [=](Point by) {
    tiles::Tile<S> tile{};
    build(tile, a, b);
    tiles::translateTile<N>(tile, tile, by);
    return std::vector<Point>(tile.begin(), tile.end());
  };
}

const double root2 = std::sqrt(2.0);
const double dodecagonSide = 5 / root2 * 2 * std::sin(M_PI / 12);
const double octagonSide = 5 / root2 * 2 * std::sin(M_PI / 8);

}  // namespace

const std::vector<Tiling>& all() {
  using namespace quadtile;
  static const std::vector<Tiling> table{
      {.name = "quadtile",
       .buildScene = quadtile::buildScene,
       .tile =
           [] {
             const Tile t = quadtile::buildTile(P1, P2, P3, P4);
             return std::vector<Point>(t.begin(), t.end());
           },
       .movedInPlace = {},
       .vertexCount = 6, .n = 5, .segmentsPerTile = 7, .segmentCount = 175,
       .firstCopy = {{A, B}, {B, C}, {C, D}, {D, A}, {E, B}, {E, F}, {F, A}},
       .vertices = {{A, 0, 0}, {B, 4, -1}, {C, 3, 3}, {D, 1, 5}, {E, 3, -6},
                    {F, 1, -4}},
       .lengths = {std::sqrt(8.0), std::sqrt(17.0), std::sqrt(26.0)},
       .span = {0, 16, -6, 53},
       .u = {3, 3, 0, 9}, .v = {0, 9, 0, 9},
       .overlaps = {{B, C, F, A, 1, 0}, {C, D, E, F, 0, 1}, {D, A, E, B, -1, 1}},
       .starGaps = {},  // the quadrilateral's own angles, filled in by the test
       .anyOrder = true},
      {.name = "mixtile1",
       .buildScene = mixtile1::buildScene,
       .tile = slotted<12>(mixtile1::buildTile, mixtile1::givenA, mixtile1::givenB),
       .movedInPlace = movedInPlace<12>(mixtile1::buildTile, mixtile1::givenA, mixtile1::givenB),
       .vertexCount = 12, .n = 10, .segmentsPerTile = 17, .segmentCount = 1700,
       .firstCopy = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 1}, {6, 7}, {1, 8}, {1, 9},
                     {2, 10}, {2, 11}, {3, 12}, {7, 8}, {8, 9}, {9, 10}, {10, 11},
                     {11, 12}},
       .vertices = {{1, 0, 0}, {2, 2.7321, -0.7321}, {3, 4.7321, 1.2679},
                    {4, 4, 4}, {5, 1.2679, 4.7321}, {6, -0.7321, 2.7321},
                    {7, -3.4641, 2}, {8, -2.7321, -0.7321},
                    {9, -0.7321, -2.7321}, {10, 2, -3.4641},
                    {11, 4.7321, -2.7321}, {12, 6.7321, -0.7321}},
       .lengths = {2 * root2},
       .span = {-21.4641, 73.9090, -70.6410, 22.7321},
       .u = {7.4641f, 2, 0, 9}, .v = {-2, -7.4641f, 0, 9},
       .overlaps = {{3, 4, 7, 8, 1, 0}, {3, 12, 8, 9, 1, 0}, {4, 5, 9, 10, 0, -1},
                    {5, 6, 11, 12, -1, -1}, {6, 7, 10, 11, -1, -1}},
       .starGaps = {120, 90, 60, 90}},
      {.name = "mixtile2",
       .buildScene = mixtile2::buildScene,
       .tile = slotted<12>(mixtile2::buildTile, mixtile2::givenA, mixtile2::givenB),
       .movedInPlace = movedInPlace<12>(mixtile2::buildTile, mixtile2::givenA, mixtile2::givenB),
       .vertexCount = 12, .n = 6, .segmentsPerTile = 12, .segmentCount = 432,
       .firstCopy = {{11, 7}, {4, 11}, {8, 10}, {6, 9}, {9, 3}, {2, 10}, {10, 11},
                     {7, 8}, {7, 5}, {5, 4}, {11, 12}, {3, 12}},
       .vertices = {{1, 0, 0}, {2, 2.7321, -0.7321}, {3, 4.7321, 1.2679},
                    {4, 4, 4}, {5, 1.2679, 4.7321}, {6, -0.7321, 2.7321},
                    {7, -2.7321, 0.7321}, {8, -2, -2}, {9, 0.7321, -2.7321},
                    {10, 3.4641, -3.4641}, {11, 5.4641, -1.4641},
                    {12, 7.4641, 0.5359}},
       .lengths = {2 * root2, 4 * root2, 6 * root2},
       .span = {-2.7321, 43.8038, -3.4641, 58.3923},
       .u = {6.7321f, 3.2679f, 0, 9}, .v = {0.5359f, 7.4641f, 0, 9},
       .overlaps = {{4, 3, 7, 8, 1, 0}, {3, 12, 8, 9, 1, 0}, {5, 4, 9, 10, 0, 1},
                    {10, 11, 7, 6, 1, -1}, {11, 12, 6, 5, 1, -1}},
       // Four triangles and a hexagon, except at the obtuse corners of the
       // rhombus 1, 7, 8, 9; vertex 3 is vertex 8 of the next copy along U.
       .starGaps = {60, 60, 60, 60, 120},
       .otherStars = {{1, {60, 120, 60, 120}},
                      {3, {120, 120, 60, 60}},
                      {8, {120, 120, 60, 60}}}},
      {.name = "mixtile3",
       .buildScene = mixtile3::buildScene,
       .tile = slotted<22>(mixtile3::buildTile, mixtile3::givenA, mixtile3::givenB),
       .movedInPlace = movedInPlace<22>(mixtile3::buildTile, mixtile3::givenA, mixtile3::givenB),
       .vertexCount = 22, .n = 6, .segmentsPerTile = 27, .segmentCount = 972,
       .firstCopy = {{1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 6},   {6, 7},
                     {7, 8},   {8, 9},   {9, 10},  {10, 11}, {11, 12}, {1, 12},
                     {6, 13},  {5, 14},  {4, 17},  {3, 18},  {2, 21},  {1, 22},
                     {13, 14}, {14, 15}, {15, 16}, {16, 17}, {17, 18}, {18, 19},
                     {19, 20}, {20, 21}, {21, 22}},
       .vertices = {{1, 0, 0},         {2, -0.9151, 1.5849},
                    {3, -0.9151, 3.4151}, {4, 0, 5},
                    {5, 1.5849, 5.9151}, {6, 3.4151, 5.9151},
                    {7, 5, 5},          {8, 5.9151, 3.4151},
                    {9, 5.9151, 1.5849}, {10, 5, 0},
                    {11, 3.4151, -0.9151}, {12, 1.5849, -0.9151},
                    {13, 3.4151, 7.7452}, {14, 1.5849, 7.7452},
                    {15, 0, 8.6603},     {16, -1.5849, 7.7452},
                    {17, -1.5849, 5.9151}, {18, -2.5, 4.3301},
                    {19, -4.0849, 3.4151}, {20, -4.0849, 1.5849},
                    {21, -2.5, 0.6699},  {22, -1.5849, -0.9151}},
       .lengths = {dodecagonSide},
       .span = {-4.0849, 80.9151, -22.5657, 30.3109},
       .u = {7.5f, 4.3301f, 0, 9}, .v = {7.5f, -4.3301f, 0, 9},
       .overlaps = {{6, 7, 20, 21, 1, 0}, {7, 8, 21, 22, 1, 0}, {6, 13, 19, 20, 1, 0},
                    {8, 9, 16, 17, 0, 1}, {9, 10, 17, 18, 0, 1}, {10, 11, 18, 19, 0, 1},
                    {11, 12, 13, 14, -1, 1}, {1, 12, 14, 15, -1, 1}, {1, 22, 15, 16, -1, 1}},
       .starGaps = {90, 120, 150}},
      {.name = "mixtile4",
       .buildScene = mixtile4::buildScene,
       .tile = slotted<12>(mixtile4::buildTile, mixtile4::givenA, mixtile4::givenB),
       .movedInPlace = movedInPlace<12>(mixtile4::buildTile, mixtile4::givenA, mixtile4::givenB),
       .vertexCount = 12, .n = 6, .segmentsPerTile = 12, .segmentCount = 432,
       .firstCopy = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9},
                     {9, 10}, {10, 11}, {11, 12}, {1, 12}},
       .vertices = {{1, 0, 0},          {2, -0.9151, 1.5849},
                    {3, -0.9151, 3.4151}, {4, 0, 5},
                    {5, 1.5849, 5.9151}, {6, 3.4151, 5.9151},
                    {7, 5, 5},           {8, 5.9151, 3.4151},
                    {9, 5.9151, 1.5849}, {10, 5, 0},
                    {11, 3.4151, -0.9151}, {12, 1.5849, -0.9151}},
       .lengths = {dodecagonSide},
       .span = {-0.9151, 65.0657, -17.9904, 22.9904},
       .u = {5.9151f, -3.4151f, 0, 9}, .v = {5.9151f, 3.4151f, 0, 9},
       .overlaps = {{7, 8, 1, 2, 0, 1}, {9, 10, 3, 4, 1, 0}, {11, 12, 5, 6, 1, -1}},
       .starGaps = {150, 150, 60}},
      {.name = "mixtile5",
       .buildScene = mixtile5::buildScene,
       .tile = slotted<8>(mixtile5::buildTile, mixtile5::givenA, mixtile5::givenB),
       .movedInPlace = movedInPlace<8>(mixtile5::buildTile, mixtile5::givenA, mixtile5::givenB),
       .vertexCount = 8, .n = 6, .segmentsPerTile = 8, .segmentCount = 288,
       .firstCopy = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {1, 8}},
       .vertices = {{1, 0, 0}, {2, -1.0355, 2.5}, {3, 0, 5}, {4, 2.5, 6.0355},
                    {5, 5, 5}, {6, 6.0355, 2.5}, {7, 5, 0}, {8, 2.5, -1.0355}},
       .lengths = {octagonSide},
       .span = {-31.2132, 18.5355, -43.7132, 6.0355},
       .u = {-6.0355f, -2.5f, 0, 9}, .v = {2.5f, -6.0355f, 0, 9},
       .overlaps = {{1, 2, 5, 6, 1, 0}, {7, 8, 3, 4, 0, 1}},
       .starGaps = {135, 135, 90}},
      {.name = "mixtile6",
       .buildScene = mixtile6::buildScene,
       .tile = slotted<8>(mixtile6::buildTile, mixtile6::givenA, mixtile6::givenB),
       .movedInPlace = movedInPlace<8>(mixtile6::buildTile, mixtile6::givenA, mixtile6::givenB),
       .vertexCount = 8, .n = 7, .segmentsPerTile = 10, .segmentCount = 490,
       .firstCopy = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {1, 6}, {4, 7}, {7, 5},
                     {5, 8}, {8, 6}},
       .vertices = {{1, 0, 0}, {2, 3.4151, -0.9151}, {3, 5.9151, 1.5849},
                    {4, 5, 5}, {5, 1.5849, 5.9151}, {6, -0.9151, 3.4151},
                    {7, 4.0849, 8.4151}, {8, -1.8301, 6.8301}},
       .lengths = {5 / root2},
       .span = {-53.7917, 5.9151, -0.9151, 60.3766},
       .u = {-1.8301f, 6.8301f, 0, 9}, .v = {-6.8301f, 1.8301f, 0, 9},
       .overlaps = {{4, 7, 1, 6, 1, -1}, {7, 5, 2, 3, 1, 0}, {5, 8, 1, 2, 1, 0},
                    {8, 6, 3, 4, 0, 1}},
       .starGaps = {60, 120, 60, 120}},
      {.name = "mixtile7",
       .buildScene = mixtile7::buildScene,
       .tile = slotted<6>(mixtile7::buildTile, mixtile7::givenA, mixtile7::givenB),
       .movedInPlace = movedInPlace<6>(mixtile7::buildTile, mixtile7::givenA, mixtile7::givenB),
       .vertexCount = 6, .n = 8, .segmentsPerTile = 8, .segmentCount = 512,
       .firstCopy = {{1, 2}, {2, 3}, {3, 4}, {1, 4}, {2, 5}, {5, 3}, {4, 6}, {6, 1}},
       .vertices = {{1, 0, 0}, {2, 5, 0}, {3, 5, 5}, {4, 0, 5},
                    {5, 9.3301, 2.5}, {6, -4.3301, 2.5}},
       .lengths = {5},
       .span = {-69.6410, 9.3301, 0, 57.5},
       .u = {0, 5, 0, 9}, .v = {-9.3301f, 2.5f, 0, 9},
       .overlaps = {{3, 4, 1, 2, 1, 0}, {4, 6, 2, 5, 0, 1}, {6, 1, 5, 3, -1, 1}},
       .starGaps = {90, 60, 60, 60, 90}},
  };
  return table;
}

void PrintTo(const Tiling& tiling, std::ostream* out) { *out << tiling.name; }

}  // namespace cases
