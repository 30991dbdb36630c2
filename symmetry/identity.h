// A drawing's identity as people who study tilings name it: its wallpaper
// group, how many kinds of tile, vertex and edge its symmetries leave, and
// the published types of its convex pentagons. Found from the drawing's
// faces alone (faces/), never from how it was built.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "faces/faces.h"
#include "faces/periods.h"
#include "symmetry/group.h"
#include "symmetry/orbits.h"

namespace symmetry {

struct Identity {
  std::optional<faces::Lattice> lattice;  // the periods, as the group's translations
  std::optional<WallpaperGroup> group;    // none without two independent periods
  Orbits orbits;                          // under the group; zeros without one
  std::vector<std::vector<int>> types;    // per class of the analysis: pentagon types
  // The symmetries themselves, in the lattice coordinates of `lattice`
  // about `origin`, and how near two places are the same there.
  std::vector<Operation> symmetries;
  Vec2 origin;
  double near = 0;
};

// With the periods that findPeriods gives.
Identity identify(const faces::Analysis& analysis);
// With these periods (none: no group). Translations the drawing has beyond
// them are found and taken in.
Identity identify(const faces::Analysis& analysis, std::optional<faces::Lattice> periods);

// "1, 2, 4"
std::string typeList(const std::vector<int>& types);
// "p4g (4*2)", or "none (no two independent periods)", or "none (its
// symmetries make no wallpaper group)".
std::string groupName(const Identity& identity);
// "p4g (4*2), isohedral, 2-isogonal, isotoxal; pentagon types 1, 2, 4", or
// "no wallpaper group (no two independent periods)".
std::string describe(const Identity& identity);

}  // namespace symmetry
