// A tile's edges as a table of vertex pairs, stored in table order.
#pragma once

#include <span>

#include "scene/scene.h"

namespace tiles {

// One edge, from vertex `from` to vertex `to` in the tile's own numbering.
struct Edge {
  int from;
  int to;
};

// Stores every edge of the table with addSegment, first end point `from`.
template <class Tile>
void emitEdges(const Tile& tile, std::span<const Edge> edges,
               ColorIndex color = 9) {
  for (const Edge& e : edges)
    addSegment(color, Segment{tile[e.from], tile[e.to], 9});
}

}  // namespace tiles
