// Files to make things from: a tiling's outlines filling a page of a given
// size in millimetres, every edge once, for a laser cutter, a plotter or a
// printer; one tile's outline alone, for a stamp or a cookie cutter; or the
// coloured drawing at that size. Edges and outlines are polylines, so that
// curved edges can take the same way to the file.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "faces/faces.h"
#include "tools/periodic.h"

namespace tools {

// Millimetres.
struct Page {
  double width = 0, height = 0;
};

// A page size as "WxHmm", e.g. "200x150mm" or "210.5x297mm": false with
// `error` saying why for anything malformed, zero, or over maxPageSide.
inline constexpr double maxPageSide = 10'000;
bool parsePageSize(std::string_view text, Page& page, std::string& error);
// A positive number of periods, e.g. "4" or "2.5".
bool parsePeriods(std::string_view text, double& periods, std::string& error);

struct Polyline {
  std::vector<faces::Vec2> points;
  bool closed = false;  // the last point joins the first
};

struct Fill {
  std::vector<faces::Vec2> ring;  // not repeating its first point
  faces::Rgb8 colour;
};

// What goes on the page, in millimetres from its top left corner, y down:
// the fills first, then every edge once on top.
struct Drawing {
  Page page;
  std::vector<Fill> fills;
  std::vector<Polyline> edges;
};

struct CutRequest {
  Page page;
  double periods = 4;   // of the lattice's shortest periods across the shorter side
  bool tile = false;    // one tile's outline alone, filling the page
  bool filled = false;  // faces filled by class under the edges
  bool curved = false;  // its sides are curves drawn in pieces (bent edges)
};

// The page's drawing of the tiling the unit and its periods make (the
// stored-once segments do not repeat, and are left out). Throws
// std::length_error when the page would need more than maxPageSegments
// segments of copies, std::invalid_argument when the periods are not two
// independent steps, and whatever faces::analyse throws.
inline constexpr std::size_t maxPageSegments = 200'000;
Drawing cutDrawing(const Periodic& periodic, const CutRequest& request);

// The steps of cutDrawing, for tests and for drawings made another way.
//
// Where the drawing lies on the page: `centre` (drawing units) at the
// page's middle, `scale` millimetres to one drawing unit.
struct PageLayout {
  faces::Vec2 centre;
  double scale = 1;
};
// `periods` of the lattice's shortest periods across the page's shorter
// side, centred on the middle of the unit.
PageLayout layOutPage(const Periodic& periodic, const Page& page, double periods);
// The copies of the unit that reach the page or come near it.
std::vector<faces::Segment2> pageBlock(const Periodic& periodic, const Page& page,
                                       const PageLayout& layout);
// The analysed block on the page: its edges, collinear pieces joined, and
// with `filled` its faces, all clipped to the page.
Drawing pageDrawing(const faces::Analysis& analysis, const Page& page, const PageLayout& layout,
                    bool filled);
// The face whose middle is nearest `middle` (not a problem face, when there
// is another), filling the page within a 5 % margin.
Drawing tileDrawing(const faces::Analysis& analysis, const Page& page, faces::Vec2 middle,
                    bool filled);

// SVG sized in millimetres, one element per edge, lines this wide
// (millimetres); PDF through Cairo (cut_pdf.cpp), false with `error` set
// when Cairo fails.
inline constexpr double cutStrokeWidth = 0.1;
void writeCutSvg(std::ostream& out, const Drawing& drawing);
bool writeCutPdf(const Drawing& drawing, std::string& pdf, std::string& error);

}  // namespace tools
