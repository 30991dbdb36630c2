// Files to make things from: a tiling's outlines filling a page of a given
// size in millimetres, every edge once, for a laser cutter, a plotter or a
// printer; one tile's outline alone, for a stamp or a cookie cutter; or the
// coloured drawing at that size. Edges and outlines are polylines, so that
// curved edges can take the same way to the file; they reach the file as
// strokes, each a run of edges drawn in one go, in an order that keeps the
// pen's travel between them short.
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
// the fills first, then every edge once on top, joined into strokes in the
// order they are drawn.
struct Drawing {
  Page page;
  std::vector<Fill> fills;
  std::vector<Polyline> strokes;
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
// The analysed block on the page: its edges as ordered strokes, and with
// `filled` its faces, all clipped to the page.
Drawing pageDrawing(const faces::Analysis& analysis, const Page& page, const PageLayout& layout,
                    bool filled);
// The face whose middle is nearest `middle` (not a problem face, when there
// is another), filling the page within a 5 % margin.
Drawing tileDrawing(const faces::Analysis& analysis, const Page& page, faces::Vec2 middle,
                    bool filled);

// Strokes. A stroke is a maximal run of lines through points where only two
// of them meet: the pen goes down at one end and up at the other, or, for a
// run that closes on itself, back where it started. Ends are matched
// exactly, as the drawing's vertices are placed on the page alike wherever
// they occur; a line cut off at the page's border ends its run there.
//
// The lines joined into strokes, each line's pieces used once, points where
// a stroke runs straight on left out (a straight run is two points).
std::vector<Polyline> joinStrokes(const std::vector<Polyline>& lines);
// The pen-up travel (millimetres on a page) drawing the strokes in turn
// from `from`: to the first one's start, then from each one's end (a closed
// one's start) to the next one's start.
double penUpTravel(const std::vector<Polyline>& strokes, faces::Vec2 from = {});
// The strokes in an order that keeps pen-up travel short, starting from
// `from`: always the nearest end next, a stroke drawn backwards when its
// last point is the nearer end and a closed one from its nearest point.
std::vector<Polyline> orderByNearestEnd(std::vector<Polyline> strokes, faces::Vec2 from = {});
// The order improved where reversing a stretch of it (each stroke in it
// drawn the other way) shortens the travel, until no nearby one does.
std::vector<Polyline> shortenTravel(std::vector<Polyline> strokes, faces::Vec2 from = {});
// Both: the order cut files have.
std::vector<Polyline> orderStrokes(std::vector<Polyline> strokes, faces::Vec2 from = {});
// "235 strokes, pen-up travel 1234.5 mm", from the page's top left corner.
std::string strokeSummary(const Drawing& drawing);

// SVG sized in millimetres, one element per stroke (a straight one a
// <line>, a closed one a <path> ending in Z, any other a <polyline>), lines
// this wide (millimetres); PDF through Cairo (cut_pdf.cpp), one path per
// stroke, false with `error` set when Cairo fails.
inline constexpr double cutStrokeWidth = 0.1;
void writeCutSvg(std::ostream& out, const Drawing& drawing);
bool writeCutPdf(const Drawing& drawing, std::string& pdf, std::string& error);

}  // namespace tools
