// The family of a periodic drawing: every drawing with the same faces and
// adjacencies that a kept wallpaper group still maps onto itself.
//
// Everything is written in the lattice coordinates of the drawing's periods,
// where each element of the kept group is st -> m st + shift with m a matrix
// of integers, held fixed. A vertex is then an image of its orbit's
// representative, st = m st_r + c, and the representative moves only where
// its stabiliser lets it: anywhere, along a mirror, or not at all at a
// centre of rotation; a vertex on a tile's straight side slides along it,
// and where the copies of a drawing overlap, the points where their sides
// cross follow from those sides.
// The periods change as far as the group's turns and reflections, held
// fixed in the plane, allow. Any such values give a drawing the group maps
// onto itself; it is a tiling while its tiles stay whole (faultOf).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "faces/faces.h"
#include "symmetry/identity.h"

namespace family {

using faces::Vec2;
using Matrix = std::array<int, 4>;  // row by row

// A vertex in the plane: one of the period's vertex classes moved by whole
// periods, st = the class's st + (i, j).
struct Corner {
  int vertex = 0;
  int i = 0, j = 0;
};

// st = m st_r + c, from the representative's lattice coordinates.
struct Image {
  Matrix m{1, 0, 0, 1};
  Vec2 c;
};

// The representative lies on a tile's straight side, between two of the
// tile's corners: st = (1 - t) from + t to, or where the side's curve is at
// that share along it when the side bends. The corners are relative to the
// point; `side` is the side it lies on (Family::sides).
struct Straight {
  Corner from, to;
  int side = -1;
};

// A vertex where the sides of two overlapping copies cross: no handle of
// its own, it lies where the lines of the two sides meet.
struct Crossing {
  Straight first, second;
};

// One vertex of every period: a class of translates. A crossing belongs to
// no orbit (-1).
struct Vertex {
  int orbit = 0;
  Image image;
  std::string configuration;  // as the analysis writes it, "3.4.6.4"
  std::optional<Crossing> crossing;
};

struct Orbit {
  std::string name;         // "V1", as its handle is labelled
  int representative = 0;   // a vertex class
  int free = 2;             // 2 anywhere, 1 along a line, 0 fixed
  Vec2 along;               // free along a line off any side: its direction
  std::optional<Straight> straight;
  // A representative on a side that its stabiliser holds to a line across
  // the side: it stays where that line crosses the side.
  bool crossing = false;
};

// One edge of every period, from vertex to vertex, and the faces (indices
// into Family::faces) on its left and right going from `from` to `to`. It
// is the image of its orbit's representative edge under an element of the
// group; that element may turn the representative round (`reversed`: the
// representative's `from` lands on this edge's `to`) and mirror it.
struct Edge {
  Corner from, to;
  int left = -1, right = -1;
  int orbit = 0;
  bool reversed = false, mirrored = false;  // as its side's
  int side = -1;                            // the side it is a piece of
};

// A straight side of a tile, from one true corner to the other, drawn in
// pieces where it runs through another tile's corner or crosses another
// side: it bends as one curve, its points on it. Most sides are one edge.
// It is the image of its orbit's representative side, as an edge is.
struct Side {
  std::vector<Corner> points;  // from its first true corner ({v, 0, 0}) to the other
  std::vector<int> pieces;     // the edge from points[k] to points[k + 1]
  std::vector<bool> against;   // that edge runs from points[k + 1] to points[k]
  int orbit = 0;
  bool reversed = false, mirrored = false;
  bool crossed = false;  // another side crosses it where copies overlap
};

// What the stabiliser of an edge leaves its shape: any curve, one that a
// half-turn about its middle or the mirror across its middle keeps, or none
// but the straight line.
enum class EdgeShape { free, halfTurn, mirror, straight };

struct EdgeOrbit {
  std::string name;        // "E1"
  int representative = 0;  // an edge class: the first piece of the representative side
  int side = 0;            // the representative side
  EdgeShape shape = EdgeShape::free;
  std::string straightWhy; // "lies on a mirror", when straight
};

// One face of every period: its vertices counter-clockwise, the points on
// its straight sides included (marked), and the edge along each side
// (side k runs from ring[k] to ring[k + 1]; `against`: the other way round).
// A face where copies overlap (`overlap`) is a piece of two tiles, not a
// tile: it may be as thin as they make it.
struct Face {
  std::vector<Corner> ring;
  std::vector<bool> straight;
  std::vector<int> side;
  std::vector<bool> against;
  bool overlap = false;
};

// A group to keep: its name and its elements.
struct KeptGroup {
  std::string name;  // "p2"
  std::vector<symmetry::Operation> elements;
};

struct Family {
  KeptGroup keep;  // its elements in the family's lattice coordinates
  Vec2 origin;     // of the lattice coordinates, in the drawing's plane
  // The periods (u.x, u.y, v.x, v.y) the kept group allows: an orthonormal
  // basis of them.
  std::vector<std::array<double, 4>> lattice;
  std::vector<Vertex> vertices;  // the crossings last
  int crossings = 0;             // how many of them
  std::vector<Orbit> orbits;
  std::vector<Edge> edges;
  std::vector<Side> sides;
  std::vector<EdgeOrbit> edgeOrbits;
  std::vector<Face> faces;
  std::vector<int> order;  // orbits placed in this order (sides after their ends)
  int freedom = 0;         // degrees of freedom up to similarity
  double size = 1;         // the square root of the period's area at the start
};

// Where the family is now: the periods and each orbit's representative in
// lattice coordinates (on a side, its fraction t along it), and each edge
// orbit's bend: the points its representative side passes through, in order
// from its first true corner, as (along, across) shares of the straight line
// from that corner to the other, so that a bend goes with its ends. For the half-turn and mirror
// shapes they are the points of the first half; their images make the rest.
struct Shape {
  Vec2 u, v;
  std::vector<Vec2> at;
  std::vector<double> t;
  std::vector<std::vector<Vec2>> bends;
  bool smooth = true;  // a smooth curve through the points, or straight pieces
};

// A drawing's family, with its own shape in it; none, with the reason, when
// there is no family: no two independent periods, or faces that do not close
// up into one period.
struct Found {
  std::optional<Family> family;
  Shape shape;          // the drawing's own shape
  std::string problem;  // why there is none
};

// The groups on offer to keep: the drawing's own group first, then smaller
// ones (its turns alone, p2, p1 and those between), largest first, once
// each by name. Empty without a wallpaper group.
std::vector<KeptGroup> groupsOnOffer(const symmetry::Identity& identity);

// The family of the analysed drawing under `keep` (one of groupsOnOffer),
// its lattice coordinates about the period centred on `home` (by default
// the drawing's middle): each orbit is represented by its vertex nearest
// home, and V1 is the nearest of them.
Found familyOf(const faces::Analysis& analysis, const symmetry::Identity& identity,
               const KeptGroup& keep, std::optional<Vec2> home = std::nullopt);

// Every vertex class's lattice coordinates, as the shape places them.
std::vector<Vec2> placed(const Family& family, const Shape& shape);
// A place in lattice coordinates, in the plane.
Vec2 planeOf(const Family& family, const Shape& shape, Vec2 st);
// A corner in the plane, from the placed vertices.
Vec2 cornerAt(const Family& family, const Shape& shape, const std::vector<Vec2>& st, Corner c);

// Every point an edge's curve passes through as drawn, from its `from` to
// its `to`, in (along, across) shares of its straight line: the ends, the
// bend's points and their images, smoothed or not; for a piece of a longer
// side, its part of the side's curve, which runs through the side's points.
// A smooth curve is drawn in `pieces` straight pieces from each of its
// points to the next.
inline constexpr int piecesPerSpan = 4;
std::vector<Vec2> edgeCurve(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int edge,
                            int pieces = piecesPerSpan);
// The true corners of the side edge class `edge` is a piece of, in the
// plane where that edge is.
std::array<Vec2, 2> sideEnds(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int edge);
// A plane point in (along, across) shares of the side of edge class `edge`,
// read as the orbit's representative side reads them.
Vec2 toSideShares(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int edge, Vec2 p);
// The same in the plane, from placed vertices.
std::vector<Vec2> edgePath(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int edge,
                           int pieces = piecesPerSpan);
// The whole side that edge class `edge` is a piece of, where that edge is,
// from the side's first true corner to the other.
std::vector<Vec2> sidePath(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int edge,
                           int pieces = piecesPerSpan);
// A face's boundary in the plane, its sides' curves included, with the side
// each of its points starts.
struct Outline {
  std::vector<Vec2> points;
  std::vector<int> side;
};
Outline outlineOf(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int face,
                  int pieces = piecesPerSpan);
// A plane point in an edge's (along, across) shares, and back.
Vec2 toEdgeShares(Vec2 from, Vec2 to, Vec2 p);
Vec2 fromEdgeShares(Vec2 from, Vec2 to, Vec2 shares);
// A share point of the representative as it lies on edge class `edge`
// (side `side`): turned round and mirrored as it is.
Vec2 onEdge(const Edge& edge, Vec2 shares);
Vec2 onSide(const Side& side, Vec2 shares);
// Whether an edge orbit is bent now.
bool bentOrbit(const Family& family, const Shape& shape, int orbit);
// "free", "half-turn", "mirror", "straight".
const char* shapeWord(EdgeShape shape);

// The edges of one period as segments in the plane.
std::vector<faces::Segment2> unitEdges(const Family& family, const Shape& shape, int pieces = piecesPerSpan);
// The tiles of the periods i u + j v for i and j from -half to half, each
// drawn whole (a side two tiles share is drawn twice, as the programs draw
// it): a block with no loose ends at its border. Where copies overlap,
// their pieces are drawn as faces of their own, the crossings as vertices.
std::vector<faces::Segment2> blockTiles(const Family& family, const Shape& shape, int half,
                                        int pieces = piecesPerSpan);
// The vertices of that block, where its tiles' corners are.
std::vector<Vec2> blockVertices(const Family& family, const Shape& shape, int half);

}  // namespace family
