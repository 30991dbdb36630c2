// Cut files as PDF, through Cairo's PDF surface (sizes in points).
#include <cairo-pdf.h>
#include <cairo.h>

#include "tools/export/cut.h"

namespace tools {

namespace {

using faces::Vec2;

constexpr double pointsPerMillimetre = 72 / 25.4;

void tracePath(cairo_t* cr, const std::vector<Vec2>& points, bool closed) {
  for (std::size_t k = 0; k < points.size(); ++k)
    (k ? cairo_line_to : cairo_move_to)(cr, points[k].x, points[k].y);
  if (closed) cairo_close_path(cr);
}

cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool writeCutPdf(const Drawing& drawing, std::string& pdf, std::string& error) {
  pdf.clear();
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
      append, &pdf, drawing.page.width * pointsPerMillimetre,
      drawing.page.height * pointsPerMillimetre);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, pointsPerMillimetre, pointsPerMillimetre);
  for (const Fill& f : drawing.fills) {
    cairo_set_source_rgb(cr, f.colour.r / 255.0, f.colour.g / 255.0, f.colour.b / 255.0);
    tracePath(cr, f.ring, true);
    cairo_fill(cr);
  }
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, cutStrokeWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (const Polyline& line : drawing.strokes) {
    tracePath(cr, line.points, line.closed);
    cairo_stroke(cr);
  }
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    error = std::string("cairo cannot write the PDF: ") + cairo_status_to_string(status);
    pdf.clear();
    return false;
  }
  return true;
}

}  // namespace tools
