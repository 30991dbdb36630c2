// The eight programs run whole under apitrace on the private display: the
// camera the set-up places, and the first frame drawing every stored
// segment as a line between its two end points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/mixtiles/cases.h"
#include "tests/testbed/program.h"

namespace {

using cases::Tiling;
using testbed::GlCall;

class WholeProgram : public ::testing::TestWithParam<Tiling> {};

std::string caseName(const ::testing::TestParamInfo<Tiling>& info) {
  return info.param.name;
}

// Where the camera looks from, given the patch's extent: its centre, at five
// times the larger extent measured from the bounds' start values (min never
// above (1024, 700), max never below (0, 0)).
struct Camera {
  double x, y, distance;
};
Camera cameraFor(const testbed::Span& s) {
  const double minX = std::min(s.minX, 1024.0), minY = std::min(s.minY, 700.0);
  const double maxX = std::max(s.maxX, 0.0), maxY = std::max(s.maxY, 0.0);
  const double spanX = maxX + std::fabs(minX), spanY = maxY + std::fabs(minY);
  return {(maxX + minX) / 2, (maxY + minY) / 2, 5 * std::max(spanX, spanY)};
}

TEST_P(WholeProgram, CameraIsCentredOnThePatchAndFirstFrameDrawsEverySegment) {
  const Tiling& t = GetParam();
  clearScene();
  t.buildScene();
  const std::vector<Segment> stored = Scene.segments;
  clearScene();

  const std::vector<GlCall> frame =
      testbed::frameCalls(testbed::traceProgram(t.name), 0);
  const auto clear = std::find_if(frame.begin(), frame.end(),
                                  [](const GlCall& c) { return c.name == "glClear"; });
  ASSERT_NE(clear, frame.end());

  const auto eye = std::find_if(frame.begin(), clear, [](const GlCall& c) {
    return c.name == "glTranslatef";
  });
  ASSERT_NE(eye, clear);
  const Camera want = cameraFor(t.span);
  EXPECT_NEAR(eye->number_arg("x"), -want.x, 1e-3);
  EXPECT_NEAR(eye->number_arg("y"), -want.y, 1e-3);
  EXPECT_NEAR(eye->number_arg("z"), -want.distance, 1e-3);

  // Each line is glBegin(GL_LINES), its two end points, glEnd.
  std::size_t lines = 0;
  for (auto c = clear; c != frame.end(); ++c) {
    if (c->name != "glBegin" || c->arg("mode") != "GL_LINES") continue;
    ASSERT_LT(lines, stored.size());
    ASSERT_GT(std::distance(c, frame.end()), 3);
    const Segment& s = stored[lines++];
    for (const auto& [v, p] : {std::pair{c + 1, s.a}, std::pair{c + 2, s.b}}) {
      ASSERT_EQ(v->name, "glVertex3f");
      EXPECT_NEAR(v->number_arg("x"), p.x, 1e-4) << "segment " << lines;
      EXPECT_NEAR(v->number_arg("y"), p.y, 1e-4) << "segment " << lines;
    }
  }
  EXPECT_EQ(lines, t.segmentCount);
}

INSTANTIATE_TEST_SUITE_P(EightTilings, WholeProgram,
                         ::testing::ValuesIn(cases::all()), caseName);

}  // namespace
