// Which of many closed walks lie inside another, found in time near linear
// in their length: a ray from each walk's leftmost point meets, on its left,
// first the walk that decides.
#pragma once

#include <vector>

#include "faces/faces.h"

namespace faces {

// Whether point p lies inside the closed walk, by the even-odd rule.
bool insideWalk(const std::vector<Vec2>& walk, Vec2 p);

// For each walk, whether its first point lies inside another walk. The
// walks neither cross nor touch one another, and each starts at its
// leftmost point. Only walks marked in `encloses` are taken as possible
// containers: a walk that runs along each of its edges both ways (round a
// tree of edges) holds nothing.
std::vector<char> insideAnother(const std::vector<std::vector<Vec2>>& walks,
                                const std::vector<char>& encloses);

}  // namespace faces
