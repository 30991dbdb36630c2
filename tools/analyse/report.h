// An analysis written for people (a report) or for programs (JSON).
#pragma once

#include <ostream>
#include <string>

#include "faces/faces.h"

namespace tools {

// "triangle", "quadrilateral", ..., "dodecagon", else "13-gon".
std::string polygonName(int sides);

void writeReport(std::ostream& out, const std::string& name, std::size_t segments,
                 const faces::Analysis& analysis);
void writeJson(std::ostream& out, const std::string& name, std::size_t segments,
               const faces::Analysis& analysis);

}  // namespace tools
