// Run under Node.js by the web tests: GEOS built for WebAssembly reports its
// errors through the C API (a null result and its own message) and keeps
// working, and the face analysis's own exceptions reach a catch, where a
// build without exception support would end the program at the first throw.
// Prints one line a check; the exit status is the number that failed.
#include <geos_c.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "faces/faces.h"

namespace {

int failed = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  failed += ok ? 0 : 1;
}

void remember(const char* message, void* last) { *static_cast<std::string*>(last) = message; }

// Text that GEOS reads into a geometry, a failure to read it, or a geometry
// it cannot make: each a null result with GEOS's message.
void geosErrorsComeBackAsErrors() {
  std::string last;
  GEOSContextHandle_t ctx = GEOS_init_r();
  GEOSContext_setErrorMessageHandler_r(ctx, remember, &last);

  GEOSGeometry* g = GEOSGeomFromWKT_r(ctx, "LINESTRING (0 0, 1");
  check(g == nullptr && last.find("ParseException") != std::string::npos,
        "unfinished text is an error: " + last);
  last.clear();
  g = GEOSGeomFromWKT_r(ctx, "POLYGON ((0 0, 1 1, 2 0, 3 3))");
  check(g == nullptr && last.find("IllegalArgumentException") != std::string::npos,
        "a ring that does not close is an error: " + last);
  last.clear();
  const double xy[4] = {0, 0, 1, 1};
  GEOSCoordSequence* two = GEOSCoordSeq_copyFromBuffer_r(ctx, xy, 2, 0, 0);
  g = GEOSGeom_createLinearRing_r(ctx, two);
  check(g == nullptr && !last.empty(), "a ring made of two points is an error: " + last);

  // The context goes on working after the errors.
  GEOSGeometry* square = GEOSGeomFromWKT_r(ctx, "MULTILINESTRING ((0 0, 2 0, 2 2), (2 2, 0 2, 0 0))");
  const GEOSGeometry* parts[] = {square};
  GEOSGeometry* faces = square ? GEOSPolygonize_r(ctx, parts, 1) : nullptr;
  double area = 0;
  if (faces) GEOSArea_r(ctx, faces, &area);
  check(faces != nullptr && area == 4, "after the errors the square still polygonizes, area " +
                                           std::to_string(area));
  if (faces) GEOSGeom_destroy_r(ctx, faces);
  if (square) GEOSGeom_destroy_r(ctx, square);
  GEOS_finish_r(ctx);
}

// Two by two unit squares.
std::vector<faces::Segment2> grid() {
  std::vector<faces::Segment2> s;
  for (int k = 0; k <= 2; ++k)
    for (int i = 0; i < 2; ++i) {
      s.push_back({{double(i), double(k)}, {double(i + 1), double(k)}});
      s.push_back({{double(k), double(i)}, {double(k), double(i + 1)}});
    }
  return s;
}

void analysisExceptionsAreCaught() {
  std::vector<faces::Segment2> broken = grid();
  broken[3].b.x = std::numeric_limits<double>::quiet_NaN();
  std::string said;
  try {
    faces::analyse(broken);
  } catch (const std::invalid_argument& error) {
    said = error.what();
  }
  check(said.find("not a finite number") != std::string::npos,
        "a coordinate that is not a number is caught as invalid_argument: " + said);
  const faces::Analysis a = faces::analyse(grid());
  check(a.faces.size() == 4, "then the grid's " + std::to_string(a.faces.size()) + " faces");
}

}  // namespace

int main() {
  geosErrorsComeBackAsErrors();
  analysisExceptionsAreCaught();
  return failed;
}
