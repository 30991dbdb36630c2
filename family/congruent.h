// Tile-keeping families: moves within a family that keep congruent the
// tiles the drawing has congruent, not only those the kept group keeps so.
//
// The group keeps every tile of one orbit congruent to the others; tiles of
// different orbits that are congruent in the drawing (one congruence class
// of the analysis) are tied by equations on the family's parameters: for a
// tile of each further orbit against one of the first, corner for corner as
// they match now (a mirror image stays a mirror image), the sides equal and
// the angles' cosines and sines equal. A move wants new parameters; they
// are taken to the nearest that solve the equations, by Gauss-Newton steps
// along the solutions, and the directions the equations leave free are
// what a rank-revealing factorisation of their Jacobian leaves.
//
// The parameters: the periods' coordinates in Family::lattice, each
// representative's free coordinates (both, or the one along its line) and
// each straight point's fraction along its side, all in lengths of the
// plane, so that "nearest" means the least change of the drawing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "family/family.h"
#include "family/moves.h"

namespace family {

// Face `face` (into Family::faces) is kept congruent to face `to`: corner
// k of face's true corners (its straight points left out) goes to corner
// shift + k of `to`'s, or shift - k for a mirror image.
struct Partners {
  int face = -1, to = -1;
  int shift = 0;
  bool mirrored = false;
};

struct TileKeeping {
  std::vector<Partners> pairs;  // one per further orbit of each class
  // Per edge orbit: it bounds a tile tied to another orbit's, so a bend of
  // it would have to be repeated on the partner's side.
  std::vector<bool> tiedEdges;
  // Per face (into Family::faces): tied to another orbit's and convex in
  // the drawing. A convex tile stays convex: a pentagon of a published type
  // is one of that type only while it is convex.
  std::vector<bool> convex;
  std::string problem;  // why some tiles of the analysis could not be tied
  // How well the shapes it moves to keep the equations: as well as the
  // drawing it was built from did, within keptWithin to drawnWithin.
  double within = 1e-9;
};

// The equations of the drawing that `analysis` analyses, the family's
// shape `shape`: each face of the family found among the analysis's faces
// by where it is, its class, and a partner in the class's first orbit.
TileKeeping congruenceOf(const Family& family, const Shape& shape, const faces::Analysis& analysis);

// How far the shape is from keeping its tiles: each equation's mismatch
// (sides as shares of the period's size, angles as cosines and sines).
std::vector<double> mismatchOf(const Family& family, const Shape& shape, const TileKeeping& keep);
// The largest of them. A drawing drawn in floats keeps its tiles to about
// 1e-7 (drawnWithin); the moves keep them to keptWithin where the
// equations let them settle that far.
double mismatch(const Family& family, const Shape& shape, const TileKeeping& keep);
inline constexpr double keptWithin = 1e-9, drawnWithin = 1e-5;

// The degrees of freedom, up to similarity, that the equations leave at
// this shape: the family's, less the rank of their Jacobian.
int freedomKeepingTiles(const Family& family, const Shape& shape, const TileKeeping& keep);
// Per vertex orbit: whether it can move, other than with the whole drawing,
// and keep the tiles congruent.
std::vector<bool> freeOrbits(const Family& family, const Shape& shape, const TileKeeping& keep);

// The shape nearest `wanted` that keeps the tiles, reached from `from`
// (which keeps them) along the shapes that do; none when the steps do not
// settle on one. Bends come from `wanted`. Whether it tiles is not asked.
std::optional<Shape> nearestKeepingTiles(const Family& family, const Shape& from, const Shape& wanted,
                                         const TileKeeping& keep);

// Why the shape fails where the tiles are kept: it does not tile, or a
// tile convex in the drawing has a corner no longer convex; or nothing.
std::optional<Fault> keepingFault(const Family& family, const Shape& shape, const TileKeeping& keep);
// Moves `shape` toward `wanted` as far as the tiles stay congruent and
// convex and it tiles; when it stops short, `stopped` says why, in the
// name of orbit `orbit` (-1: the periods). False when nothing moved.
bool moveKeepingTiles(const Family& family, Shape& shape, const Shape& wanted, const TileKeeping& keep,
                      int orbit, Fault* stopped);

// Why edge class `edge` may not bend while the tiles are kept, or nothing.
std::optional<std::string> bendRefused(const Family& family, const TileKeeping& keep, int edge);

}  // namespace family
