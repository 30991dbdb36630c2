#include "shape/segments_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace shape {

namespace {

// The shortest text that reads back as exactly this float's value, even as
// a double: the analysis of the text and of the scene then agree to the bit.
std::string exactText(float v) {
  char text[40];
  for (int digits = 6; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, double(v));
    if (std::strtod(text, nullptr) == double(v)) break;
  }
  return text;
}

// The numbers on one line, as many as there are; false on a word that is
// not a number.
bool numbersOf(const std::string& line, std::vector<double>& numbers) {
  const char* at = line.c_str();
  for (;;) {
    while (*at == ' ' || *at == '\t' || *at == '\r') ++at;
    if (*at == '\0') return true;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(at, &end);
    if (end == at || (*end != '\0' && *end != ' ' && *end != '\t' && *end != '\r')) return false;
    numbers.push_back(errno == ERANGE && std::abs(v) > 1 ? HUGE_VAL : v);
    at = end;
  }
}

}  // namespace

void writeSegments(std::ostream& out, const SceneStore& scene) {
  for (const Segment& s : scene.segments)
    out << exactText(s.a.x) << ' ' << exactText(s.a.y) << ' ' << exactText(s.b.x) << ' '
        << exactText(s.b.y) << '\n';
}

bool readSegments(std::istream& in, std::vector<faces::Segment2>& segments, std::string& error) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::vector<double> v;
    if (!numbersOf(line, v) || v.size() != 4) {
      error = "line " + std::to_string(number) + ": expected four numbers x1 y1 x2 y2";
      return false;
    }
    for (double x : v)
      if (!std::isfinite(x)) {
        error = "line " + std::to_string(number) + ": a number that is not finite";
        return false;
      }
    segments.push_back({{v[0], v[1]}, {v[2], v[3]}});
  }
  if (in.bad()) {
    error = "cannot read";
    return false;
  }
  if (segments.empty()) {
    error = "no segments";
    return false;
  }
  return true;
}

}  // namespace shape
