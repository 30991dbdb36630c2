// One face's shape: its corners, sides, angles and area from the nodes of its
// boundary, and the rigid fit that tells whether two shapes are congruent;
// the same for faces whose sides are curves.
#pragma once

#include <array>
#include <optional>
#include <span>
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

// --- Curved sides

// What a node of a face's boundary may be, by the faces that meet there:
// a point along a side (two faces), a vertex (three or more: a corner where
// the boundary turns), or a point on the drawing's edge where the face meets
// only the outside (a corner where it turns by more than rimCornerTurn).
enum class NodeRole : char { along, vertex, rim };

// In degrees: a dodecagon's corners turn by 30, a curve drawn in 16 steps by
// about a dozen a step.
inline constexpr double rimCornerTurn = 20;

// Where a fit of curved shapes compares points along each side besides its
// ends, as shares of the side's length from its first corner.
inline constexpr std::array<double, 3> alongShares{0.25, 0.5, 0.75};

// A face with curved sides, and its points at alongShares of each side in
// turn, side 0 first.
struct CurvedShape {
  Face face;
  std::vector<Vec2> along;
};

// The face whose boundary runs through these points counter-clockwise, the
// role of each point given: sides and the points along them are measured
// along the boundary.
CurvedShape measureCurvedFace(const std::vector<Vec2>& boundary, const std::vector<NodeRole>& roles);

// As fitShape, for shapes measured by measureCurvedFace: the points along
// the sides must land on their partners too.
std::optional<Orientation> fitCurvedShape(const Face& model, std::span<const Vec2> modelAlong,
                                          const Face& face, std::span<const Vec2> faceAlong);

}  // namespace faces
