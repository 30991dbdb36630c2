// A stored scene as an SVG drawing: every segment in order, as a line in its
// palette colour followed by its two end dots, y pointing up, on the window's
// clear colour, framed on the end points with a small margin.
#pragma once

#include <ostream>

#include "scene/scene.h"

namespace tools {

void writeSvg(std::ostream& out, const SceneStore& scene);

}  // namespace tools
