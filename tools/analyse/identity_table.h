// What each drawing is, one tab-separated line each, for pages that cannot
// run the analysis themselves (the web site's index reads
// docs/identity.tsv, written by `tilings-analyse all --identity`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "faces/faces.h"

namespace tools {

// Comment lines: where the lines come from and the column names.
std::string identityHeader();
// name, group, orbifold, orbits in words, faces per period, pentagon types;
// "-" for a field with nothing to say.
std::string identityRow(std::string_view name, const std::vector<faces::Segment2>& segments);

}  // namespace tools
