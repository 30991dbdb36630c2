// Small point constructions that the tile builders share. Each makes a new
// point in the plane (z 0, colour 9) or moves a copy of one.
#pragma once

#include "matrica/matrica"

namespace tiles {

// The midpoint of p and q in x and y: the centre of the half-turn that swaps
// them.
inline Point midpoint(Point p, Point q) {
  return Point{(p.x + q.x) * 0.5f, (p.y + q.y) * 0.5f, 0, 9};
}

// k * v, z included, in colour 9.
inline Point scaledVector(float k, Point v) {
  return Point{k * v.x, k * v.y, k * v.z, 9};
}

// p moved by the vector `by`.
inline Point moved(Point p, Point by) {
  transformPoint(translationMatrix(by), p);
  return p;
}

// p turned by `angle` degrees about `centre`.
inline Point turned(Point p, float angle, Point centre) {
  transformPoint(rotationAbout(angle, centre), p);
  return p;
}

}  // namespace tiles
