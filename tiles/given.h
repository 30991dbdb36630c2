// The points a tiling's construction starts from, by name, so that tools can
// show them and build the tiling again from moved copies.
#pragma once

#include <span>
#include <vector>

#include "scene/scene.h"

namespace tiles {

struct GivenPoint {
  const char* name;  // as the program's header names it, e.g. "P1", "A", "givenA"
  Point value;       // the value the program's main uses
};

// The values alone, in the same order: what a program's buildScene hands to
// its buildSceneFrom.
inline std::vector<Point> givenValues(std::span<const GivenPoint> given) {
  std::vector<Point> values;
  values.reserve(given.size());
  for (const GivenPoint& g : given) values.push_back(g.value);
  return values;
}

}  // namespace tiles
