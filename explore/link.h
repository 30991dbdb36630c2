// Links opened in the explorer: the shape a link names (shape/link.h) put
// in place, the drawing rebuilt round it, and every problem said in words.
#pragma once

#include <string>
#include <vector>

#include "explore/explorer.h"
#include "shape/link.h"

namespace explore {

using shape::LinkedPoint;
using shape::LinkRequest;
using shape::linkOf;
using shape::linkPage;
using shape::NamedPoint;
using shape::readLink;
using shape::ShapeOutcome;

// Moves the linked points into place (held in reach, as a drag would), on
// an explorer already showing the request's program; says which could not
// move (a fixed point).
std::vector<std::string> applyLink(Explorer& explorer, const std::vector<LinkedPoint>& points);

// Keeps the request's group and puts its vertices and periods in place, on
// an explorer in symmetry mode showing the request's program.
ShapeOutcome applyShape(Explorer& explorer, const LinkRequest& request);

// Opens the request on the explorer: its program, its mode and its shape;
// everything that was wrong, in words.
std::vector<std::string> openRequest(Explorer& explorer, const LinkRequest& request);

}  // namespace explore
