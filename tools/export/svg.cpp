#include "tools/export/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace tools {

namespace {

// Shortest text that reads back as the same float.
std::string floatText(float v) {
  char text[32];
  for (int digits = 6; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(v));
    if (std::strtof(text, nullptr) == v) break;
  }
  return text;
}

std::string colour(ColorIndex c) {
  // Outside the palette the window keeps the previous colour; black is the
  // honest stand-in on paper.
  const Rgb rgb = c >= 0 && c <= 9 ? palette[c] : palette[9];
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x",
                int(std::lround(rgb.red * 255)), int(std::lround(rgb.green * 255)),
                int(std::lround(rgb.blue * 255)));
  return text;
}

struct Frame {
  float minX = 0, minY = 0, maxX = 1, maxY = 1;
};

Frame frameOf(const SceneStore& scene) {
  if (scene.segments.empty()) return Frame{};
  Frame f{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const Segment& s : scene.segments)
    for (const Point& p : {s.a, s.b}) {
      f.minX = std::min(f.minX, p.x);
      f.minY = std::min(f.minY, p.y);
      f.maxX = std::max(f.maxX, p.x);
      f.maxY = std::max(f.maxY, p.y);
    }
  return f;
}

// The drawing's view: the end points' extent with a small margin, y up.
struct View {
  double left, top, width, height, pixels, extent;
};

View viewOf(const SceneStore& scene) {
  const Frame f = frameOf(scene);
  View v;
  v.extent = std::max({double(f.maxX) - f.minX, double(f.maxY) - f.minY, 1.0});
  const double margin = v.extent * 0.03;
  // y points up: the drawing is flipped, so its top edge is -maxY.
  v.left = f.minX - margin;
  v.top = -double(f.maxY) - margin;
  v.width = double(f.maxX) - f.minX + 2 * margin;
  v.height = double(f.maxY) - f.minY + 2 * margin;
  v.pixels = 800 / std::max(v.width, v.height);
  return v;
}

void openSvg(std::ostream& out, const View& v, const char* background) {
  char header[512];
  std::snprintf(header, sizeof header,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"%.9g %.9g %.9g %.9g\" "
                "width=\"%.0f\" height=\"%.0f\">\n",
                v.left, v.top, v.width, v.height, v.width * v.pixels, v.height * v.pixels);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" << header;
  out << "<rect x=\"" << v.left << "\" y=\"" << v.top << "\" width=\"" << v.width
      << "\" height=\"" << v.height << "\" fill=\"" << background << "\"/>\n";
}

std::string hex(faces::Rgb8 c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

}  // namespace

void writeSvg(std::ostream& out, const SceneStore& scene) {
  const View v = viewOf(scene);
  const double stroke = v.extent / 600, dot = v.extent / 300;
  openSvg(out, v, "#e6e6cc");
  out << "<g transform=\"scale(1,-1)\" stroke-width=\"" << stroke
      << "\" stroke-linecap=\"round\">\n";
  for (const Segment& s : scene.segments) {
    const std::string c = colour(s.color);
    out << "<line x1=\"" << floatText(s.a.x) << "\" y1=\"" << floatText(s.a.y)
        << "\" x2=\"" << floatText(s.b.x) << "\" y2=\"" << floatText(s.b.y)
        << "\" stroke=\"" << c << "\"/>\n";
    for (const Point& p : {s.a, s.b})
      out << "<circle cx=\"" << floatText(p.x) << "\" cy=\"" << floatText(p.y)
          << "\" r=\"" << dot << "\" fill=\"" << c << "\"/>\n";
  }
  out << "</g>\n</svg>\n";
}

void writeFilledSvg(std::ostream& out, const SceneStore& scene, const faces::Analysis& analysis) {
  const View v = viewOf(scene);
  const double stroke = v.extent / 900;
  openSvg(out, v, "#ffffff");
  out << "<g transform=\"scale(1,-1)\">\n<g stroke=\"none\">\n";
  char number[64];
  for (const faces::Face& f : analysis.faces) {
    out << "<path fill=\"" << hex(faces::fillOf(analysis, f)) << "\" d=\"";
    const std::vector<faces::Vec2>& outline = faces::outlineOf(f);
    for (std::size_t k = 0; k < outline.size(); ++k) {
      std::snprintf(number, sizeof number, "%c%.6g %.6g", k ? 'L' : 'M', outline[k].x, outline[k].y);
      out << number;
    }
    out << "Z\"/>\n";
  }
  out << "</g>\n<g stroke=\"#222222\" stroke-width=\"" << stroke
      << "\" stroke-linecap=\"round\">\n";
  for (const Segment& s : scene.segments)
    out << "<line x1=\"" << floatText(s.a.x) << "\" y1=\"" << floatText(s.a.y) << "\" x2=\""
        << floatText(s.b.x) << "\" y2=\"" << floatText(s.b.y) << "\"/>\n";
  // Crossings, loose ends and slivers on top, in red, large enough to find.
  out << "</g>\n<g fill=\"none\" stroke=\"#d01010\" stroke-width=\"" << 2 * stroke << "\">\n";
  for (const faces::Problem& p : analysis.problems) {
    if (p.kind == faces::ProblemKind::odd) continue;
    std::snprintf(number, sizeof number, "%.6g", p.at.x);
    out << "<circle cx=\"" << number;
    std::snprintf(number, sizeof number, "%.6g", p.at.y);
    out << "\" cy=\"" << number << "\" r=\"" << v.extent / 120 << "\"/>\n";
  }
  out << "</g>\n</g>\n</svg>\n";
}

}  // namespace tools
