// What a drawing of segments is made of: the planar subdivision the segments
// draw (found with GEOS), its faces measured and sorted into congruence
// classes, the configuration at every interior vertex, and everything that
// keeps the drawing from being a tiling (crossings, loose ends, slivers,
// faces unlike all the others).
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "faces/vec2.h"
#include "scene/scene.h"

namespace faces {


struct Segment2 {
  Vec2 a, b;
};

struct Face {
  // Counter-clockwise corners; points where the boundary runs straight on
  // are not corners (nor, with curved sides, points along a curve).
  std::vector<Vec2> corners;
  std::vector<double> sides;   // sides[k]: corners[k] to corners[k + 1], along the boundary
  std::vector<double> angles;  // interior angle at corners[k], degrees
  double area = 0;
  int cls = -1;          // index into Analysis::classes
  int orientation = 0;   // index into that class's orientations
  bool mirrored = false; // a mirror image of the class's first member
  bool problem = false;  // a sliver, or a face unlike every other
  bool curved = false;   // a side turns between its corners (curved sides only)
  // A curved face: every point round it, counter-clockwise, and the points
  // at shares of each side's length that tell curves apart (shapes.h).
  std::vector<Vec2> boundary, along;
};

// The points a face's outline runs through: its corners, or round a curved
// face every point.
inline const std::vector<Vec2>& outlineOf(const Face& f) { return f.curved ? f.boundary : f.corners; }

// A turn, in degrees counter-clockwise from the class's first member, after
// a reflection in the x axis when mirrored.
struct Orientation {
  double turn = 0;
  bool mirrored = false;
};

struct FaceClass {
  int sides = 0;
  int count = 0;
  int mirrored = 0;                 // members that are mirror images
  double area = 0;
  std::vector<double> lengths;      // of the first member, from corner 0
  std::vector<double> angles;       // degrees, of the first member
  std::vector<Orientation> orientations;  // the distinct ones present
  bool sliver = false;              // far smaller than every other class
  bool odd = false;                 // a lone face unlike all the others
  bool curved = false;              // its members' sides are curves
};

// An interior vertex: where it is and its configuration.
struct Vertex {
  Vec2 at;
  std::string configuration;
};

// One edge of the subdivision between two of its nodes, and the faces on its
// left and right going from a to b (-1: the outside).
struct Edge {
  Vec2 a, b;
  int left = -1, right = -1;
};

enum class ProblemKind { crossing, dangle, cut, sliver, odd };

struct Problem {
  ProblemKind kind;
  Vec2 at;
};

struct Analysis {
  std::vector<Face> faces;
  std::vector<FaceClass> classes;
  // Configuration at each interior vertex, e.g. "3.4.6.4", to its count. A
  // face whose straight side runs through the vertex is written in
  // parentheses: "5.5.(5)".
  std::map<std::string, int> vertices;
  std::vector<Vertex> interior;  // the vertices counted there, one by one
  std::vector<Edge> edges;
  std::vector<Problem> problems;
  double faceArea = 0;      // the faces' areas added up
  double enclosedArea = 0;  // the area of the region the edges enclose

  int count(ProblemKind kind) const;
  // How many faces have each number of corners.
  std::map<int, int> facesBySides() const;
  // "tiles without gaps or overlaps", or what breaks it.
  std::string verdict() const;
};

// The mean of a face's corners: where the face is, for finding it again.
Vec2 middleOf(const Face& face);

// The segments a scene stores, in order.
std::vector<Segment2> sceneSegments(const SceneStore& scene);

// How a drawing is read. With curved sides, a side may be drawn as a
// polyline of many short segments between two vertices: a corner is then a
// node where three or more faces meet (the outside counting as one) and the
// boundary turns, never a node where two meet, except on the drawing's
// edge, where a face meeting only the outside may have a corner that the
// missing neighbours would show (faces/shapes.h, rimCornerTurn). Sides are
// measured along the boundary, and congruent faces fit all along it.
struct AnalysisOptions {
  bool curvedSides = false;
  // Where the drawing's vertices are, when whoever drew it knows (a family's
  // block does): with curved sides a node on the drawing's edge is then a
  // corner exactly when it is one of these, however little it turns.
  std::vector<Vec2> vertices;
};

// Throws std::invalid_argument for a non-finite coordinate. Segments of no
// length are left out.
Analysis analyse(std::span<const Segment2> segments);
Analysis analyse(std::span<const Segment2> segments, const AnalysisOptions& options);

// The fill of a face in pictures: one colour per class, lighter or darker per
// orientation, mirror images in a related shade, problem faces red.
struct Rgb8 {
  unsigned char r, g, b;
};
Rgb8 fillOf(const Analysis& analysis, const Face& face);

}  // namespace faces
