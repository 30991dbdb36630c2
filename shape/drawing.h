// A drawing of segments opened as a tiling: its two periods and the tiles
// of one period, learned from its face analysis, held as a tiling whose
// construction stores an n x n patch of periods, as an atlas entry's does,
// so that the explorer and the tools treat it as they treat any tiling.
// Its link carries the periods and the tiles of one period.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "faces/faces.h"
#include "tools/periodic.h"
#include "tools/registry.h"

namespace shape {

// The tiles of one period, each its corners counter-clockwise, and what the
// tiling stores of them: every side of every tile, tile after tile, a side
// two of these tiles share once; the periods u and v. Every value is a
// float's. The tiles are whole, so that a patch of periods has no loose
// ends; sides that neighbouring periods share are stored twice, as the
// atlas stores them.
struct Drawing {
  std::string name;  // the file's base name, or "drawing"
  std::vector<std::vector<Point>> tiles;
  tools::Periodic unit;
};

// The drawing with these tiles and periods, its unit made from them.
Drawing makeDrawing(std::string name, std::vector<std::vector<Point>> tiles, Point u, Point v);

// A file of more segments than this is refused before it is analysed: a
// tiling of this many opens in one to one and a half seconds here
// (docs/explorer.md).
inline constexpr std::size_t mostSegments = 150'000;

// One period may hold no more tile sides than this, from a file or a link.
inline constexpr std::size_t mostSides = 5000;

// The drawing, or the words that say why there is none.
struct Learned {
  std::optional<Drawing> drawing;
  std::string problem;
};

// From a drawing's segments: refused, in the analysis' words, when they
// close no face, do not tile cleanly or have no two independent periods.
Learned learnDrawing(std::span<const faces::Segment2> segments, const std::string& name);
// From segments as text (shape/segments_text.h).
Learned readDrawing(std::istream& in, const std::string& name);

// "drawing" for no name or a name of nothing but marks; otherwise its
// letters, digits, '.', '-' and '_', anything else as '_'; ".txt" and the
// folders are left off a file's path.
std::string drawingName(std::string_view path);

// The words when the drawing's own patch is not one tiling with its two
// periods; empty when it is.
std::string checkDrawing(const Drawing& drawing);

// Holds the drawing as a tiling. The tiling lives until drawingSlots more
// drawings are held after it.
inline constexpr std::size_t drawingSlots = 16;
const tools::TilingProgram& holdDrawing(Drawing drawing);
// The drawing a held tiling stores; null for any other tiling.
const Drawing* drawingOf(const tools::TilingProgram& tiling);

// The drawing in a link's fields, "drawing=NAME&periods=ux,uy;vx,vy
// &points=x,y;x,y;...&faces=0.1.2;2.1.3;...": each tile its corners
// counter-clockwise as indices into the points.
std::string drawingFields(const Drawing& drawing);
// Read back from those fields' values; the words when they are malformed or
// do not draw a tiling.
Learned drawingFromFields(const std::string& name, const std::string& periods, const std::string& points,
                          const std::string& faces);

}  // namespace shape
