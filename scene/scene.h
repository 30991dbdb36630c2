// Scene kit: the drawable records, the ten-colour palette, the one global
// scene every program fills at start-up, its running x/y bounds, and the
// display pass that redraws it all every frame.
#pragma once

#include <cstdint>
#include <vector>

using ColorIndex = std::int32_t;

// A position or a vector; every tiling keeps z at 0.
struct Point {
  float x = 0, y = 0, z = 0;
  ColorIndex color = 9;
};

// One stored edge; only the segment's own colour is drawn.
struct Segment {
  Point a, b;
  ColorIndex color = 9;
};

// A straight line drawn as the segment anchor +- 100 * direction.
struct Line {
  Point anchor, direction;
  ColorIndex color = 9;
};

struct Circle {
  Point center;
  float radius = 0;
  ColorIndex color = 9;
};

struct Rgb {
  float red, green, blue;
};

// 0 red, 1 green, 2 blue, 3 yellow, 4 orange, 5 magenta, 6 cyan, 7 purple,
// 8 white, 9 black.
inline constexpr Rgb palette[10] = {
    {1, 0, 0}, {0, 1, 0},     {0, 0, 1},   {1, 1, 0}, {1, 0.5f, 0},
    {1, 0, 1}, {0, 1, 1}, {0.5f, 0, 0.5f}, {1, 1, 1}, {0, 0, 0}};

// Makes palette colour c current; any index outside 0..9 changes nothing.
void setColor(ColorIndex c);
// The edge as one GL line and its two ends as 4-pixel dots.
void drawSegment(const Segment& s);
void drawLine(const Line& l);
// A closed loop of 100 vertices, counter-clockwise from angle 0.
void drawCircle(const Circle& c);

struct SceneStore {
  std::vector<Point> points;
  std::vector<Segment> segments;
  std::vector<Circle> circles;
  std::vector<Line> lines;
};

// The running extent of every stored end point. The start values are fixed,
// not derived from the scene: min never exceeds (1024, 700) and max never
// falls below (0, 0).
struct Bounds {
  Point min{1024, 700, 0, 9};
  Point max{0, 0, 0, 9};
};

extern SceneStore Scene;
extern Bounds SceneBounds;

// Stores a copy of s in the given colour and widens SceneBounds by a, then b.
void addSegment(ColorIndex color, Segment s);
// Empties the scene and puts the bounds back to their start values, so that
// tests and tools can build several scenes in one process.
void clearScene();
// The display pass: clear, then circles, lines, segments and points in order.
void onDisplay();
