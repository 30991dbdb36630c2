// What makes a set of given points unusable for a construction, in words for
// the status line, and the box a dragged point is held in, so that nothing
// non-finite or enormous ever reaches the construction, GEOS or GL.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "shape/layout.h"
#include "tiles/given.h"

namespace shape {

// Nothing when the tiling can be built from `points` (named as in `names`);
// otherwise what is wrong, e.g. "degenerate: A and B coincide".
std::optional<std::string> degeneracy(std::span<const tiles::GivenPoint> names,
                                      std::span<const Point> points, const Layout& layout);

// "degenerate: ..." when a built scene has a coordinate that is not finite
// or lies far beyond anything a sane shape draws.
std::optional<std::string> sceneDegeneracy(const SceneStore& scene, const Layout& layout);

// p, held inside the box a point may be dragged in: finite, and a dozen
// shape sizes around the program's own shape at most.
Point heldInReach(Point p, const Layout& layout);

}  // namespace shape
