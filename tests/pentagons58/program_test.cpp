// The four programs run whole on the private display: the first frame draws
// every stored segment, in its colour, from a camera framed on the scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/pentagons58/tilings.h"
#include "tests/testbed/program.h"

namespace pentagons58 {
namespace {

using testbed::GlCall;

// The dump prints floats to about seven significant digits.
double printed(double v) { return 2e-5 + 1e-6 * std::fabs(v); }

class WholeProgram : public ::testing::TestWithParam<Tiling> {};

TEST_P(WholeProgram, FirstFrameDrawsEveryStoredSegmentInItsColour) {
  const Tiling& t = GetParam();
  clearScene();
  t.buildScene();
  const std::vector<Segment> segments = Scene.segments;
  clearScene();

  const std::vector<GlCall> frame =
      testbed::frameCalls(testbed::traceProgram(t.name), 0);
  const auto clear = std::find_if(frame.begin(), frame.end(),
                                  [](const GlCall& c) { return c.name == "glClear"; });
  ASSERT_NE(clear, frame.end()) << "no frame was drawn";

  // The model-view translation set before the first frame stands the eye
  // over the middle of the scene, five times its larger side away.
  const auto eye = std::find_if(frame.begin(), clear, [](const GlCall& c) {
    return c.name == "glTranslatef";
  });
  ASSERT_NE(eye, clear);
  EXPECT_NEAR(eye->number_arg("x"), -t.camera.centerX, printed(t.camera.centerX));
  EXPECT_NEAR(eye->number_arg("y"), -t.camera.centerY, printed(t.camera.centerY));
  EXPECT_NEAR(eye->number_arg("z"), -t.camera.eyeDistance, printed(t.camera.eyeDistance));

  // Each GL_LINES pair is the next stored segment, in the colour set last.
  std::size_t drawn = 0;
  const GlCall* colour = nullptr;
  for (auto c = clear; c != frame.end(); ++c) {
    if (c->name == "glColor3f") colour = &*c;
    if (c->name != "glBegin" || c->arg("mode") != "GL_LINES") continue;
    ASSERT_LT(drawn, segments.size()) << "more lines than stored segments";
    ASSERT_NE(colour, nullptr);
    const Segment& s = segments[drawn];
    const bool blue = s.color == 2;
    EXPECT_EQ(colour->number_arg("red"), 0) << "line " << drawn;
    EXPECT_EQ(colour->number_arg("green"), 0) << "line " << drawn;
    EXPECT_EQ(colour->number_arg("blue"), blue ? 1 : 0) << "line " << drawn;
    for (const Point& p : {s.a, s.b}) {
      ++c;
      ASSERT_EQ(c->name, "glVertex3f");
      EXPECT_NEAR(c->number_arg("x"), p.x, printed(p.x)) << "line " << drawn;
      EXPECT_NEAR(c->number_arg("y"), p.y, printed(p.y)) << "line " << drawn;
    }
    ++drawn;
  }
  EXPECT_EQ(drawn, std::size_t(t.segmentCount));
}

INSTANTIATE_TEST_SUITE_P(PentagonTilings, WholeProgram,
                         ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pentagons58
