// The eleven tilings by regular polygons with one kind of vertex, unit
// sides. Each is built outwards from one polygon: a neighbour sits on the
// far side of one of its sides, so every placement is a corner and the
// direction of a side, and the periods join the centres of equal polygons.
#include <cmath>
#include <numbers>

#include "atlas/motions.h"
#include "atlas/tables.h"

namespace atlas {

namespace {

// The tiles of an entry: the regular polygons it uses, by number of sides.
struct Polygons {
  std::vector<int> sides;

  int tileOf(int n) const {
    for (std::size_t k = 0; k < sides.size(); ++k)
      if (sides[k] == n) return static_cast<int>(k);
    return -1;
  }
  std::vector<std::vector<Vec>> prototiles() const {
    std::vector<std::vector<Vec>> tiles;
    for (int n : sides) tiles.push_back(regularPolygon(n));
    return tiles;
  }
};

// Corner k of the unit n-gon placed by regularPolygon (corner 0 at the
// origin, side 0 along the x axis), and the direction of its side k.
Vec cornerOf(int n, int k) { return regularPolygon(n)[static_cast<std::size_t>(k % n)]; }
double sideDirection(int n, int k) { return 360.0 * k / n; }
// From the centre of a unit n-gon to the middle of a side, and to a corner.
double inradius(int n) { return 0.5 / std::tan(std::numbers::pi / n); }
double circumradius(int n) { return 0.5 / std::sin(std::numbers::pi / n); }

// The m-gon on the outside of side k of the n-gon placed by regularPolygon.
Placement outside(const Polygons& p, int n, int k, int m) {
  return onSide(p.tileOf(m), cornerOf(n, k + 1), sideDirection(n, k) + 180);
}

// The common shape of the tilings round one n-gon whose neighbours across
// some of its sides are n-gons again, translated: `first` and `second` are
// the sides whose neighbours span the periods.
Entry around(std::string_view name, std::string_view summary, const Polygons& p, int n,
             double spacing, int first, int second, std::vector<Placement> others) {
  Entry e{name, summary, "Grünbaum and Shephard, Tilings and Patterns (1987), 2.1", p.prototiles(),
          {}, {}, {}, 6};
  e.copies.push_back(onSide(p.tileOf(n), {0, 0}, 0));
  for (const Placement& o : others) e.copies.push_back(o);
  // The centre of a neighbour across side k lies on the side's normal.
  e.u = spacing * heading(sideDirection(n, first) - 90);
  e.v = spacing * heading(sideDirection(n, second) - 90);
  return e;
}

Entry triangles() {
  const Polygons p{{3}};
  // The up triangle and the down triangle on its right side.
  Entry e = around("archimedean-3.3.3.3.3.3", "equilateral triangles, six at every vertex", p, 3,
                   0, 0, 0, {onSide(0, cornerOf(3, 1), 60)});
  e.u = {1, 0};
  e.v = heading(60);
  e.latticeSize = 8;
  return e;
}

Entry squares() {
  const Polygons p{{4}};
  Entry e = around("archimedean-4.4.4.4", "squares, four at every vertex", p, 4, 1, 2, 3, {});
  e.latticeSize = 8;
  return e;
}

Entry hexagons() {
  const Polygons p{{6}};
  return around("archimedean-6.6.6", "regular hexagons, three at every vertex", p, 6,
                2 * inradius(6), 4, 5, {});
}

// Snub hexagonal: round a hexagon centred at the origin, a triangle on each
// side and two between the triangles at alternate corners; the neighbouring
// hexagon's corner follows one triangle out from a corner, and its centre
// one unit on. Turned one way of the two, the tiling's mirror image is the
// other.
Entry snubHexagonal() {
  const Polygons p{{6, 3}};
  Entry e{"archimedean-3.3.3.3.6", "hexagons ringed by triangles, turned one way",
          "Grünbaum and Shephard, Tilings and Patterns (1987), 2.1", p.prototiles(), {}, {}, {}, 5};
  auto corner = [](int k) { return heading(60.0 * k); };  // of the hexagon
  e.copies.push_back(onSide(p.tileOf(6), corner(4), 0));
  for (int k = 0; k < 6; ++k)  // outside side k, from corner k + 1 backwards
    e.copies.push_back(onSide(p.tileOf(3), corner(k + 1), 60.0 * k + 300));
  // Two triangles meeting only triangles, one pointing each way.
  e.copies.push_back(onSide(p.tileOf(3), corner(1), 0));
  e.copies.push_back(onSide(p.tileOf(3), corner(2), 60));
  const Vec apex = corner(0) + corner(1);  // of the triangle outside side 0
  e.u = apex + heading(0);
  e.v = turned(e.u, 60);
  return e;
}

Entry elongatedTriangular() {
  const Polygons p{{4, 3}};
  Entry e = around("archimedean-3.3.3.4.4", "rows of squares between rows of triangles", p, 4, 1,
                   3, 3, {onSide(p.tileOf(3), {0, 1}, 0), onSide(p.tileOf(3), {1, 1}, 60)});
  e.u = {1, 0};
  e.v = Vec{0, 1} + heading(60);
  e.latticeSize = 7;
  return e;
}

// Snub square: a square turned by 15 degrees, a triangle on each side, and
// at its corner 0 a second square turned the other way; the centres of the
// two squares, and of their copies, form a square grid.
Entry snubSquare() {
  const Polygons p{{4, 3}};
  Entry e{"archimedean-3.3.4.3.4", "squares turned both ways, joined by triangles",
          "Grünbaum and Shephard, Tilings and Patterns (1987), 2.1", p.prototiles(), {}, {}, {}, 6};
  const double turn = 15;
  e.copies.push_back(onSide(p.tileOf(4), {0, 0}, turn));
  e.copies.push_back(onSide(p.tileOf(4), {0, 0}, 165));
  Vec corner{0, 0};
  for (int k = 0; k < 4; ++k) {  // outside side k, from corner k + 1 backwards
    const Vec next = corner + heading(turn + 90.0 * k);
    e.copies.push_back(onSide(p.tileOf(3), next, turn + 90.0 * k + 180));
    corner = next;
  }
  const Vec centre = circumradius(4) * heading(turn + 45);
  const Vec other = circumradius(4) * heading(165 + 45);
  const Vec d = centre - other;
  e.u = d + turned(d, 90);
  e.v = d - turned(d, 90);
  return e;
}

Entry rhombitrihexagonal() {
  const Polygons p{{6, 4, 3}};
  // Squares outside sides 0 to 2; between them, triangles at corners 1 and 2.
  std::vector<Placement> others;
  for (int k = 0; k < 3; ++k) others.push_back(outside(p, 6, k, 4));
  for (int k = 1; k <= 2; ++k)
    others.push_back(onSide(p.tileOf(3), cornerOf(6, k), sideDirection(6, k - 1) - 90));
  return around("archimedean-3.4.6.4", "hexagons, squares and triangles, a square on every hexagon side",
                p, 6, 2 * inradius(6) + 1, 4, 5, others);
}

Entry trihexagonal() {
  const Polygons p{{6, 3}};
  Entry e = around("archimedean-3.6.3.6", "hexagons meeting at corners, triangles between", p, 6, 0,
                   0, 0, {outside(p, 6, 0, 3), outside(p, 6, 1, 3)});
  // The neighbouring hexagons lie beyond the corners, not the sides.
  const Vec centre = circumradius(6) * heading(60);
  e.u = 2 * (cornerOf(6, 2) - centre);
  e.v = 2 * (cornerOf(6, 3) - centre);
  return e;
}

Entry truncatedHexagonal() {
  const Polygons p{{12, 3}};
  // Dodecagons across the even sides, triangles outside the odd ones.
  return around("archimedean-3.12.12", "dodecagons with triangular gaps", p, 12, 2 * inradius(12), 8,
                10, {outside(p, 12, 1, 3), outside(p, 12, 3, 3)});
}

Entry truncatedTrihexagonal() {
  const Polygons p{{12, 6, 4}};
  // Squares outside the even sides, hexagons outside the odd ones.
  return around("archimedean-4.6.12", "dodecagons, hexagons and squares", p, 12, 2 * inradius(12) + 1,
                8, 10,
                {outside(p, 12, 0, 4), outside(p, 12, 2, 4), outside(p, 12, 4, 4),
                 outside(p, 12, 1, 6), outside(p, 12, 3, 6)});
}

Entry truncatedSquare() {
  const Polygons p{{8, 4}};
  // Octagons across the even sides, a square outside an odd one.
  return around("archimedean-4.8.8", "octagons with square gaps", p, 8, 2 * inradius(8), 4, 6,
                {outside(p, 8, 1, 4)});
}

}  // namespace

std::vector<Entry> archimedeanTilings() {
  return {triangles(),          squares(),           hexagons(),
          snubHexagonal(),      elongatedTriangular(), snubSquare(),
          rhombitrihexagonal(), trihexagonal(),      truncatedHexagonal(),
          truncatedTrihexagonal(), truncatedSquare()};
}

}  // namespace atlas
