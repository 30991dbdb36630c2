// A stored scene as SVG: the plain drawing (every segment in order, as a line
// in its palette colour followed by its two end dots, on the window's clear
// colour), or the filled picture (every face filled by its class and
// orientation, the edges on top, problems circled in red). Both are framed
// on the end points with a small margin, y pointing up.
#pragma once

#include <ostream>

#include "faces/faces.h"
#include "scene/scene.h"

namespace tools {

void writeSvg(std::ostream& out, const SceneStore& scene);
void writeFilledSvg(std::ostream& out, const SceneStore& scene, const faces::Analysis& analysis);

}  // namespace tools
