// Things filed by a place of the analysis exactly: its edges, faces and
// vertices meet at bit-identical places, since a node's place is copied,
// never computed again.
#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "faces/vec2.h"

namespace faces {

struct PlaceHash {
  std::size_t operator()(const Vec2& p) const {
    return std::hash<std::uint64_t>()(std::bit_cast<std::uint64_t>(p.x) * 0x9e3779b97f4a7c15ull ^
                                      std::bit_cast<std::uint64_t>(p.y));
  }
};
struct SamePlace {
  bool operator()(const Vec2& p, const Vec2& q) const { return p.x == q.x && p.y == q.y; }
};
template <class T>
using ByPlace = std::unordered_map<Vec2, T, PlaceHash, SamePlace>;

}  // namespace faces
