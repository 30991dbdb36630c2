// One face's shape: its corners, sides, angles and area from the nodes of its
// boundary, and the rigid fit that tells whether two shapes are congruent.
#pragma once

#include <optional>
#include <vector>

#include "faces/faces.h"

namespace faces {

// The face whose boundary runs through these points counter-clockwise.
// Points where the boundary goes straight on are dropped from the corners.
Face measureFace(const std::vector<Vec2>& boundary);

// Does the boundary turn at b, coming from a and going on to c?
bool isCorner(Vec2 a, Vec2 b, Vec2 c);

// How `face` lies against `model` when the two are congruent: the turn that
// carries the model onto it, after a reflection when mirrored. Direct fits
// win over mirrored ones, and the smallest turn over larger ones, so that a
// symmetric shape always gets the same answer.
std::optional<Orientation> fitShape(const Face& model, const Face& face);

// How far corners may lie from their partners in shapes taken as congruent,
// and so how much one side may differ from its partner.
inline constexpr double fitDistance = 4e-3;
inline constexpr double sideTolerance = 2 * fitDistance;

// Two orientations closer than this, in degrees, are the same.
inline constexpr double sameTurn = 0.5;

}  // namespace faces
