// Geometry for tests: measuring stored scenes and polygons as geometry,
// independent of how a program built them.
#pragma once

#include <cstddef>
#include <vector>

#include "scene/scene.h"

namespace testbed {

double distance(const Point& p, const Point& q);
double length(const Segment& s);

// The same edge within tol, in either direction.
bool sameEdge(const Segment& s, const Segment& t, double tol = 1e-3);
// How many different edges a list holds (an edge stored twice counts once).
std::size_t distinctEdgeCount(const std::vector<Segment>& segments,
                              double tol = 1e-3);
// The different segment lengths, ascending, values within tol merged.
std::vector<double> lengthSet(const std::vector<Segment>& segments,
                              double tol = 1e-3);

struct Span {
  double minX, maxX, minY, maxY;
};
// The extent of all end points.
Span span(const std::vector<Segment>& segments);

// Shoelace area: positive for a counter-clockwise polygon.
double signedArea(const std::vector<Point>& polygon);
// Side i joins vertex i and vertex i + 1 (the last joins back to the first).
std::vector<double> sideLengths(const std::vector<Point>& polygon);
// Interior angle in degrees at each vertex of a simple polygon, either
// orientation.
std::vector<double> interiorAngles(const std::vector<Point>& polygon);

// One vertex of a segment graph: its position and the directions of its
// edges in degrees, ascending in [0, 360).
struct Star {
  Point at;
  std::vector<double> directions;
  // The angles between consecutive edges going round, summing to 360.
  std::vector<double> gaps() const;
};
// Every distinct end point with its distinct edges (duplicates merged).
std::vector<Star> vertexStars(const std::vector<Segment>& segments,
                              double tol = 1e-3);

}  // namespace testbed
