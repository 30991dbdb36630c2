// Which of the fifteen published types of convex pentagon that tile the
// plane a pentagon belongs to, from its sides and angles.
//
// The conditions name the corners A to E in order round the pentagon and
// the sides a to e so that A lies between a and b, B between b and c, and
// so on: a joins E to A, b joins A to B. A pentagon is of a type when the
// conditions hold with any corner as A, going round either way.
#pragma once

#include <vector>

#include "faces/faces.h"

namespace symmetry {

// sides[k] runs from corner k to corner k + 1, angles[k] (degrees) is the
// interior angle at corner k. The types, ascending; empty for anything but
// a convex pentagon. Values may differ from the conditions by what float
// noise of 2e-6 of the pentagon's size in its corners makes, no more.
std::vector<int> pentagonTypes(const std::vector<double>& sides, const std::vector<double>& angles);

// Of a class, from its first member as measured.
std::vector<int> pentagonTypes(const faces::FaceClass& shape);

}  // namespace symmetry
