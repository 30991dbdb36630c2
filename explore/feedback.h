// What the face analysis says about a reshaped tiling, set against the
// analysis of the program's own shape: the words of the status line and the
// faces shown red.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "faces/faces.h"
#include "family/family.h"

namespace explore {

struct Status {
  std::string name;
  std::string census;    // "2 pentagons, 1 hexagon per period", or of the block
  std::string vertices;  // "5.5.6 x2, 5.6 x2 per period", or of the block
  // Its wallpaper group, orbits and pentagon types, from the drawing:
  // "p4g (4*2), isohedral, 2-isogonal; pentagon types 1, 2, 4".
  std::string identity;
  std::string verdict;   // the analysis's verdict, or what else is wrong
  bool clean = false;    // tiles without gaps or overlaps
  // "name | census | vertices | identity | verdict", the parts that are there.
  std::string line() const;
};

struct Feedback {
  Status status;
  // Per face of the analysis: shown red besides its own problem faces.
  std::vector<bool> flagged;
};

// A reshaped tiling whose copies leave gaps or overlap without crossing can
// still make a clean subdivision, of more faces than its own shape: those
// beyond the own shape's classes (same sides, same number) are flagged.
Feedback assess(std::string_view name, const faces::Analysis& own,
                const faces::Analysis& now);
// A shape of the family: it tiles by construction, and the status says what
// the drawing is and what the family keeps: "...; keeps p2, 4 degrees of
// freedom", after `why` when there is one ("...; p31m leaves nothing to
// move; keeps p3, 2 degrees of freedom"); with the tiles kept congruent,
// "...; keeps pgg, tiles kept congruent, 1 degree of freedom" (`freedom`:
// what the tiles' equations leave, or the family's when negative).
Feedback assessFamily(std::string_view name, const faces::Analysis& now, const family::Family& family,
                      std::string_view why = {}, bool tilesKept = false, int freedom = -1);
// For shapes that are not analysed: `what` is the verdict.
Feedback unanalysed(std::string_view name, std::string what);

}  // namespace explore
