// Moving within a family: a vertex toward where it is wanted, as near as its
// freedom lets it; a period, as far as the kept group lets it; and what keeps
// a shape a tiling on the way. A move never leaves a shape that does not
// tile: it stops at the last one that does.
//
// With tile-keeping equations (family/congruent.h) the moves also keep the
// tiles congruent that the drawing had congruent, and stop where they
// cannot. A move that stops short says why in `stopped`, when given.
//
// A shape tiles while every tile is a simple polygon turning the way it did,
// with its corners still corners, no sliver among them, and the tiles close
// up round every vertex: then the drawing covers each period once.
#pragma once

#include <optional>
#include <string>

#include "family/family.h"

namespace family {

struct TileKeeping;

// What keeps a shape from tiling, and the vertex orbit it is found at.
struct Fault {
  int orbit = -1;
  std::string what;  // "V3 folds a tile", "E2 crosses an edge"
};

std::optional<Fault> faultOf(const Family& family, const Shape& shape);

// Moves the vertex at `handle` toward plane point `to`: its orbit's
// representative goes where that puts it, held to its freedom, and every
// image with it. False when nothing moved.
bool moveVertex(const Family& family, Shape& shape, Corner handle, Vec2 to, const TileKeeping* keep = nullptr,
                Fault* stopped = nullptr);

// Moves period `which` (0: u, 1: v) toward `to`, the other following where
// the group ties them; everything moves with the periods as one affine map.
bool movePeriod(const Family& family, Shape& shape, int which, Vec2 to, const TileKeeping* keep = nullptr,
                Fault* stopped = nullptr);

// Periods the group allows nearest (u, v); nothing moves yet.
void heldPeriods(const Family& family, Vec2& u, Vec2& v);

// Puts orbit k's representative at the place nearest plane point `to` that
// its freedom allows, without any check, and says how far that is from
// `to`; with `nearestCopy`, at that of the copies of `to` by whole periods
// nearest where it is now.
double placeRepresentative(const Family& family, Shape& shape, int k, Vec2 to, bool nearestCopy = false);

// The shape `shape` of family `from` as a shape of family `to` (the same
// drawing under another kept group): each representative where it is,
// held to its freedom there, and the periods held to what `to` allows. It
// need not tile when `to` asks for more symmetry than the shape has.
Shape carriedOver(const Family& from, const Shape& shape, const Family& to);

// A point of a bend: edge orbit and place in its list.
struct Bend {
  int orbit = -1, index = -1;
};

// A new bend point where edge class `edge` passes nearest `at`, for its
// whole orbit; none, with `why` said ("E3 lies on a mirror"), for an edge
// held straight, one with mostBendPoints already, or a point that would
// make edges cross; while tiles are kept, for an edge of a tile kept
// congruent to another orbit's.
inline constexpr std::size_t mostBendPoints = 8;
std::optional<Bend> addBend(const Family& family, Shape& shape, int edge, Vec2 at, std::string& why,
                            const TileKeeping* keep = nullptr);
// Moves a bend point, as seen on edge class `edge`, toward `to`, no further
// than the edges stay apart (nor at all where tiles are kept, as addBend).
bool moveBend(const Family& family, Shape& shape, int edge, Bend bend, Vec2 to, const TileKeeping* keep = nullptr,
              Fault* stopped = nullptr);
bool removeBend(Shape& shape, Bend bend);
// Where a bend point shows on edge class `edge`.
Vec2 bendAt(const Family& family, const Shape& shape, const std::vector<Vec2>& st, int edge, Bend bend);

// Where orbit k's representative is in the plane.
Vec2 representativeAt(const Family& family, const Shape& shape, int k);

}  // namespace family
