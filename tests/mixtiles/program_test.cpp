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

  const testbed::FirstFrame frame =
      testbed::readFirstFrame(testbed::frameCalls(testbed::traceProgram(t.name), 0));
  ASSERT_TRUE(frame.drawn);

  ASSERT_TRUE(frame.eyePlaced);
  const Camera want = cameraFor(t.span);
  EXPECT_NEAR(frame.eyeX, -want.x, 1e-3);
  EXPECT_NEAR(frame.eyeY, -want.y, 1e-3);
  EXPECT_NEAR(frame.eyeZ, -want.distance, 1e-3);

  // Each line is glBegin(GL_LINES) with its two end points.
  ASSERT_EQ(frame.lines.size(), t.segmentCount);
  ASSERT_EQ(stored.size(), frame.lines.size());
  for (std::size_t k = 0; k < stored.size(); ++k) {
    const testbed::FirstFrame::Line& line = frame.lines[k];
    const Segment& s = stored[k];
    EXPECT_NEAR(line.ax, s.a.x, 1e-4) << "segment " << k;
    EXPECT_NEAR(line.ay, s.a.y, 1e-4) << "segment " << k;
    EXPECT_NEAR(line.bx, s.b.x, 1e-4) << "segment " << k;
    EXPECT_NEAR(line.by, s.b.y, 1e-4) << "segment " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(EightTilings, WholeProgram,
                         ::testing::ValuesIn(cases::all()), caseName);

}  // namespace
