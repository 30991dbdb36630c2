// An analysis written for people (a report) or for programs (JSON).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "faces/faces.h"
#include "faces/periods.h"
#include "family/congruent.h"
#include "family/family.h"
#include "family/moves.h"
#include "symmetry/identity.h"

namespace tools {

// "triangle", "quadrilateral", ..., "dodecagon", else "13-gon".
std::string polygonName(int sides);

// The drawing's periods and what one period holds, when it has two
// independent periods.
struct Periodicity {
  std::optional<faces::Lattice> lattice;
  faces::PerPeriod perPeriod;
  // Its wallpaper group and orbits, and the types of its pentagons.
  symmetry::Identity identity;
  // The groups it may keep when reshaped, its own first, and its family
  // under the kept one (its own unless keepGroup chose another).
  std::vector<family::KeptGroup> offer;
  family::Found family;
  // The family's own shape keeping congruent the tiles the analysis has
  // congruent (none for a shape that is not the analysed drawing's own).
  std::optional<family::TileKeeping> keeping;
};
Periodicity periodicityOf(const faces::Analysis& analysis);
// The family under the group on offer called `name`; false when none is.
bool keepGroup(Periodicity& periods, const faces::Analysis& analysis, const std::string& name);

// "free", "along a mirror", "along its side", "fixed": how an orbit's
// representative may move.
std::string freedomWords(const family::Orbit& orbit);

void writeReport(std::ostream& out, const std::string& name, std::size_t segments,
                 const faces::Analysis& analysis, const Periodicity& periods);
void writeJson(std::ostream& out, const std::string& name, std::size_t segments,
               const faces::Analysis& analysis, const Periodicity& periods);

}  // namespace tools
