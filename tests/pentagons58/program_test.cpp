// The four programs run whole on the private display: the first frame draws
// every stored segment, in its colour, from a camera framed on the scene.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/pentagons58/tilings.h"
#include "tests/testbed/program.h"

namespace pentagons58 {
namespace {

// The dump prints floats to about seven significant digits.
double printed(double v) { return 2e-5 + 1e-6 * std::fabs(v); }

class WholeProgram : public ::testing::TestWithParam<Tiling> {};

TEST_P(WholeProgram, FirstFrameDrawsEveryStoredSegmentInItsColour) {
  const Tiling& t = GetParam();
  clearScene();
  t.buildScene();
  const std::vector<Segment> segments = Scene.segments;
  clearScene();

  const testbed::FirstFrame frame =
      testbed::readFirstFrame(testbed::frameCalls(testbed::traceProgram(t.name), 0));
  ASSERT_TRUE(frame.drawn) << "no frame was drawn";

  // The model-view translation set before the first frame stands the eye
  // over the middle of the scene, five times its larger side away.
  ASSERT_TRUE(frame.eyePlaced);
  EXPECT_NEAR(frame.eyeX, -t.camera.centerX, printed(t.camera.centerX));
  EXPECT_NEAR(frame.eyeY, -t.camera.centerY, printed(t.camera.centerY));
  EXPECT_NEAR(frame.eyeZ, -t.camera.eyeDistance, printed(t.camera.eyeDistance));

  // Each GL_LINES pair is the next stored segment, in the colour set last.
  ASSERT_EQ(frame.lines.size(), std::size_t(t.segmentCount));
  ASSERT_EQ(segments.size(), frame.lines.size()) << "lines and stored segments differ";
  for (std::size_t k = 0; k < segments.size(); ++k) {
    const testbed::FirstFrame::Line& line = frame.lines[k];
    const Segment& s = segments[k];
    EXPECT_EQ(line.red, 0) << "line " << k;
    EXPECT_EQ(line.green, 0) << "line " << k;
    EXPECT_EQ(line.blue, s.color == 2 ? 1 : 0) << "line " << k;
    EXPECT_NEAR(line.ax, s.a.x, printed(s.a.x)) << "line " << k;
    EXPECT_NEAR(line.ay, s.a.y, printed(s.a.y)) << "line " << k;
    EXPECT_NEAR(line.bx, s.b.x, printed(s.b.x)) << "line " << k;
    EXPECT_NEAR(line.by, s.b.y, printed(s.b.y)) << "line " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(PentagonTilings, WholeProgram,
                         ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pentagons58
