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

// The dump prints floats to about seven significant digits.
double printed(double v) { return 1e-4 + 1e-6 * std::fabs(v); }

class PentagonProgram : public ::testing::TestWithParam<Tiling> {};

TEST_P(PentagonProgram, TheFirstFrameDrawsEveryStoredSegmentFromACameraFramedOnTheSpan) {
  const Tiling& t = GetParam();
  const testbed::FirstFrame frame =
      testbed::readFirstFrame(testbed::frameCalls(testbed::traceProgram(t.name), 0));
  ASSERT_TRUE(frame.drawn) << "no frame was drawn";

  // The eye stands over the centre of the span of the end points, five
  // times the larger of max + |min| across and up away from the plane.
  ASSERT_TRUE(frame.eyePlaced);
  const double x = -(t.spanMax.x + t.spanMin.x) / 2, y = -(t.spanMax.y + t.spanMin.y) / 2;
  const double z = -5 * std::max(t.spanMax.x + std::fabs(t.spanMin.x),
                                 t.spanMax.y + std::fabs(t.spanMin.y));
  EXPECT_NEAR(frame.eyeX, x, printed(x));
  EXPECT_NEAR(frame.eyeY, y, printed(y));
  EXPECT_NEAR(frame.eyeZ, z, printed(z));

  // One line and one pair of end dots per stored segment.
  const std::size_t segments = std::size_t(t.count * t.count) * t.edgesPerCopy;
  EXPECT_EQ(frame.lines.size(), segments);
  EXPECT_EQ(frame.dotPairs, segments);
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
