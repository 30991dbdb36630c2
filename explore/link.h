// The link that shares a shape: the tiling and its given points as a web
// address's query, "explore.html?tiling=pentatile1&A=1,3&B=2,1", under the
// names the handles show. Read back, a point the link leaves out keeps the
// program's own value, and whatever cannot be used is said in words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "explore/explorer.h"
#include "tools/registry.h"

namespace explore {

// The explorer's page, which the links open.
inline constexpr std::string_view linkPage = "explore.html";

// "explore.html?tiling=NAME&A=x,y&...": every given point as it is now, in
// the fewest digits that give the same float back.
std::string linkOf(const Explorer& explorer);

struct LinkedPoint {
  std::size_t index = 0;  // in the program's given points
  Point value;
};

struct LinkRequest {
  const tools::TilingProgram* program = nullptr;  // never null
  std::vector<LinkedPoint> points;
  std::vector<std::string> problems;  // what was left out and why
};

// Reads a link, its query alone ("?tiling=..." or "tiling=...") or a whole
// address. Anything malformed is left out and named in `problems`: an
// unknown or missing tiling opens `fallback` and lists the tilings; a point
// the tiling does not have, or that is not two finite numbers, keeps its own
// value.
LinkRequest readLink(std::string_view link, std::string_view fallback = "deltatile");

// Moves the linked points into place (held in reach, as a drag would), on
// an explorer already showing the request's program; says which could not
// move (a fixed point).
std::vector<std::string> applyLink(Explorer& explorer, const std::vector<LinkedPoint>& points);

}  // namespace explore
