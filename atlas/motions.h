// Isometries of the plane written as placements, and the few ways the
// tables build them: a turn about a point, the mirror image that takes one
// side onto another, one motion after another, and the translation a pair
// of motions makes. A table says how its tiles are related; these turn the
// relation into the placement.
#pragma once

#include "atlas/atlas.h"

namespace atlas {

Vec heading(double degrees);  // the unit vector `degrees` counter-clockwise from the x axis
Vec operator+(Vec a, Vec b);
Vec operator-(Vec a, Vec b);
Vec operator*(double s, Vec a);
Vec turned(Vec a, double degrees);  // about the origin
double length(Vec a);

// Tile `tile` placed so that its corner 0 lies at `from` and its side 0
// runs in direction `degrees`.
Placement onSide(int tile, Vec from, double degrees);
// The turn by `degrees` about `centre`.
Placement turnAbout(Vec centre, double degrees);
// The mirror image (a reflection or a glide) that takes p to p2 and q to q2;
// |p2 - q2| must equal |p - q|.
Placement mirrorTaking(Vec p, Vec q, Vec p2, Vec q2);
// outer after inner; the tile is inner's.
Placement after(const Placement& outer, const Placement& inner);
// The shift of a motion without turn or mirror: a period. Throws
// std::logic_error for any other motion.
Vec translationOf(const Placement& motion);

}  // namespace atlas
