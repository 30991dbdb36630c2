// Segments as text, one a line as "x1 y1 x2 y2": what tilings-export
// --segments writes and tilings-analyse --segments reads.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "faces/faces.h"
#include "scene/scene.h"

namespace shape {

// Every stored segment, each coordinate as text that reads back as exactly
// its float value.
void writeSegments(std::ostream& out, const SceneStore& scene);

// Reads segments; blank lines and lines starting with '#' are skipped. On a
// malformed line, a non-finite number or no segment at all, returns false
// with `error` saying what and on which line.
bool readSegments(std::istream& in, std::vector<faces::Segment2>& segments, std::string& error);

}  // namespace shape
