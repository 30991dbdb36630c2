// The four pentagon programs run whole, in a real window on the private
// display: what their first frame draws, where their camera stands, and
// what they write to the console.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pentagons14/facts.h"
#include "tests/testbed/program.h"

namespace pentagons14 {
namespace {

using testbed::GlCall;

// The model-view translation frameCamera derives from the span of the end
// points: minus the centre of the span and minus five times the larger of
// max + |min| along x and along y.
struct Camera {
  double x, y, z;
};

Camera cameraOf(const Tiling& t) {
  const double spanX = t.spanMax.x + std::fabs(t.spanMin.x);
  const double spanY = t.spanMax.y + std::fabs(t.spanMin.y);
  return {-(t.spanMax.x + t.spanMin.x) / 2, -(t.spanMax.y + t.spanMin.y) / 2,
          -5 * std::max(spanX, spanY)};
}

// The stored scene of a tiling, words discarded.
std::vector<Segment> storedSegments(const Tiling& t) {
  clearScene();
  ::testing::internal::CaptureStdout();
  t.buildScene();
  ::testing::internal::GetCapturedStdout();
  std::vector<Segment> segments = Scene.segments;
  clearScene();
  return segments;
}

// The dump prints floats to about seven significant digits.
double printed(double v) { return 1e-4 + 1e-6 * std::fabs(v); }

class PentagonProgram : public ::testing::TestWithParam<Tiling> {};

TEST_P(PentagonProgram, TheFirstFrameDrawsEveryStoredSegmentOnceWithItsDots) {
  const Tiling& t = GetParam();
  const std::vector<Segment> segments = storedSegments(t);
  ASSERT_EQ(segments.size(), std::size_t(t.count * t.count) * t.edgesPerCopy);

  const std::vector<GlCall> frame = testbed::frameCalls(testbed::traceProgram(t.name), 0);
  auto clear = std::find_if(frame.begin(), frame.end(),
                            [](const GlCall& c) { return c.name == "glClear"; });
  ASSERT_NE(clear, frame.end()) << "no frame was drawn";

  // Camera placed before the first clear, from the span of the end points.
  auto translate = std::find_if(frame.begin(), clear,
                                [](const GlCall& c) { return c.name == "glTranslatef"; });
  ASSERT_NE(translate, clear);
  const Camera eye = cameraOf(t);
  EXPECT_NEAR(translate->number_arg("x"), eye.x, printed(eye.x));
  EXPECT_NEAR(translate->number_arg("y"), eye.y, printed(eye.y));
  EXPECT_NEAR(translate->number_arg("z"), eye.z, printed(eye.z));

  // Every segment: one GL_LINES pair in scene order, and one GL_POINTS pair.
  std::vector<const GlCall*> lineEnds;
  std::size_t lines = 0, dots = 0;
  std::string mode;
  for (auto c = clear; c != frame.end(); ++c) {
    if (c->name == "glBegin") {
      mode = c->arg("mode");
      (mode == "GL_LINES" ? lines : dots) += 1;
    }
    if (c->name == "glVertex3f" && mode == "GL_LINES") lineEnds.push_back(&*c);
  }
  EXPECT_EQ(lines, segments.size());
  EXPECT_EQ(dots, segments.size());
  ASSERT_EQ(lineEnds.size(), 2 * segments.size());
  for (std::size_t k = 0; k < segments.size(); ++k)
    for (int e = 0; e < 2; ++e) {
      const Point& p = e == 0 ? segments[k].a : segments[k].b;
      const GlCall& v = *lineEnds[2 * k + e];
      ASSERT_NEAR(v.number_arg("x"), p.x, printed(p.x)) << "segment " << k + 1;
      ASSERT_NEAR(v.number_arg("y"), p.y, printed(p.y)) << "segment " << k + 1;
    }
}

TEST_P(PentagonProgram, ItsWordsAreOnTheConsoleWhileTheWindowIsOpen) {
  const Tiling& t = GetParam();
  testbed::RunningProgram program(t.name);
  program.window();
  ASSERT_TRUE(program.alive());
  // Read while the program still runs: words still waiting in its buffer
  // would not be there yet.
  EXPECT_EQ(program.standardOutput(), t.words);
  EXPECT_EQ(program.standardError(), "");
}

INSTANTIATE_TEST_SUITE_P(Pentagons, PentagonProgram, ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pentagons14
