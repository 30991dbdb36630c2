// The symmetries of a periodic drawing and the wallpaper group they make.
//
// Every isometry that carries a lattice onto itself turns its periods into
// whole numbers of periods, so in lattice coordinates a symmetry is
// st -> m st + shift with m a matrix of integers. A drawing's symmetries
// are found one linear part m at a time: a reference tile is fitted onto
// each tile of its class, and a fit that carries every tile of the period
// onto a tile of its class, corner on corner, is a symmetry.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "symmetry/frame.h"
#include "symmetry/motif.h"

namespace symmetry {

struct Operation {
  std::array<int, 4> m{1, 0, 0, 1};  // row by row
  Vec2 shift;                        // in [0, 1) x [0, 1)
};

Vec2 apply(const Operation& op, Vec2 st);

// Linear parts' own arithmetic: the product, the determinant (1 or -1),
// the inverse, and what a linear part alone does to lattice coordinates.
inline constexpr std::array<int, 4> identityPart{1, 0, 0, 1};
std::array<int, 4> times(const std::array<int, 4>& a, const std::array<int, 4>& b);
int determinant(const std::array<int, 4>& m);
std::array<int, 4> inverse(const std::array<int, 4>& m);
Vec2 applyLinear(const std::array<int, 4>& m, Vec2 st);
// The operation's linear part as a matrix of the plane, row by row.
std::array<double, 4> planeMatrix(const Frame& frame, const std::array<int, 4>& m);

// The integer matrices whose maps of the plane are isometries: the lattice's
// own rotations and reflections (at most twelve).
std::vector<std::array<int, 4>> latticeSymmetries(const Frame& frame, double near);

// The symmetries of the motif's tiles, each once per linear part and
// translation modulo whole periods. A share of the tiles (by their
// number in the drawing) may fail to map, for holes and stray faces.
std::vector<Operation> symmetriesOf(const Motif& motif, const Frame& frame, double near);

// Translations among the symmetries that are no whole periods: the lattice
// they make with the frame's periods when there are any.
std::optional<faces::Lattice> finerLattice(const std::vector<Operation>& symmetries,
                                           const Frame& frame, double near);

struct WallpaperGroup {
  std::string_view name;      // short international notation: "p4g"
  std::string_view orbifold;  // "4*2"
};

// The group of these symmetries, with the translations of the frame's
// lattice; none when they make no wallpaper group.
std::optional<WallpaperGroup> classify(const std::vector<Operation>& symmetries, const Frame& frame,
                                       double near);

}  // namespace symmetry
