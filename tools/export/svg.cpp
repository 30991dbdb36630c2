#include "tools/export/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace tools {

namespace {

// Shortest text that reads back as the same float.
std::string number(float v) {
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

}  // namespace

void writeSvg(std::ostream& out, const SceneStore& scene) {
  const Frame f = frameOf(scene);
  const double extent = std::max({double(f.maxX) - f.minX, double(f.maxY) - f.minY, 1.0});
  const double margin = extent * 0.03;
  const double stroke = extent / 600, dot = extent / 300;
  // y points up: the drawing is flipped, so its top edge is -maxY.
  const double left = f.minX - margin, top = -double(f.maxY) - margin;
  const double width = double(f.maxX) - f.minX + 2 * margin;
  const double height = double(f.maxY) - f.minY + 2 * margin;
  const double pixels = 800 / std::max(width, height);

  char header[512];
  std::snprintf(header, sizeof header,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"%.9g %.9g %.9g %.9g\" "
                "width=\"%.0f\" height=\"%.0f\">\n",
                left, top, width, height, width * pixels, height * pixels);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" << header;
  out << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << width
      << "\" height=\"" << height << "\" fill=\"#e6e6cc\"/>\n";
  out << "<g transform=\"scale(1,-1)\" stroke-width=\"" << stroke
      << "\" stroke-linecap=\"round\">\n";
  for (const Segment& s : scene.segments) {
    const std::string c = colour(s.color);
    out << "<line x1=\"" << number(s.a.x) << "\" y1=\"" << number(s.a.y)
        << "\" x2=\"" << number(s.b.x) << "\" y2=\"" << number(s.b.y)
        << "\" stroke=\"" << c << "\"/>\n";
    for (const Point& p : {s.a, s.b})
      out << "<circle cx=\"" << number(p.x) << "\" cy=\"" << number(p.y)
          << "\" r=\"" << dot << "\" fill=\"" << c << "\"/>\n";
  }
  out << "</g>\n</svg>\n";
}

}  // namespace tools
