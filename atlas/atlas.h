// The atlas: named tilings beside the seventeen programs, each built from a
// small table as the programs are built: its tiles (a pentagon from its
// angles and sides, a regular polygon from its number of sides), the
// isometries that place the tiles of one period, and the two periods.
// Every side of every placed tile is stored as a black segment, over an
// n x n patch of periods.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "scene/scene.h"

namespace atlas {

struct Vec {
  double x = 0, y = 0;
};

// x -> R(turn) F x + shift, F the reflection in the x axis when `mirrored`;
// turn in degrees, counter-clockwise.
struct Placement {
  int tile = 0;  // index into the entry's prototiles
  double turn = 0;
  bool mirrored = false;
  Vec shift;
};

struct Entry {
  std::string_view name;     // "pentagon-type-15", "archimedean-4.8.8"
  std::string_view summary;  // one line on what it shows
  std::string_view source;   // where the construction comes from
  std::vector<std::vector<Vec>> prototiles;  // corners counter-clockwise
  std::vector<Placement> copies;             // the tiles of one period
  Vec u, v;                                  // the periods
  int latticeSize = 6;                       // periods stored along the longer period
};

// A convex polygon from its interior angles (degrees) and all but two of its
// side lengths: side k runs from corner k to corner k + 1 and angle k is at
// corner k. `sides` gives sides 0 .. n - 3; the last two close the polygon.
// Corner 0 is at the origin and side 0 runs along the positive x axis.
std::vector<Vec> polygonFrom(std::span<const double> angles, std::span<const double> sides);
// The regular n-gon with unit sides, corner 0 at the origin and side 0
// along the positive x axis.
std::vector<Vec> regularPolygon(int n);

// Where placement p puts point x.
Vec placed(const Placement& p, Vec x);

// The same lattice's periods at their shortest and most nearly square:
// neither longer than it need be, their angle between 60 and 120 degrees.
void reducePeriods(Vec& u, Vec& v);

// Adds every side of every tile of the i, j periods for 0 <= i, j < n to the
// global scene (addSegment), rows outer, each tile's sides in corner order:
// i along v and j along u, the entry's periods reduced (reducePeriods), so
// that a patch of periods at a small angle is not drawn as a sliver.
void storePatch(const Entry& entry, int n);
// The entry's own drawing, as storePatch: latticeSize periods along the
// longer of its reduced periods, and along the shorter as many as span
// about the same length, so that a tiling whose periods differ in length is
// not drawn as a strip either.
void storeOwnPatch(const Entry& entry);

// Every entry, pentagon types 1 to 15 first, then the Archimedean tilings.
std::span<const Entry> entries();
const Entry* findEntry(std::string_view name);

}  // namespace atlas
