// The scene kit and viewer in a real GL context: this test process opens one
// window on its private display and calls the display pass and the reshape
// callback itself, then reads back matrices and pixels.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/testbed/display.h"
#include "tests/testbed/reference_camera.h"
#include "viewer/viewer.h"

namespace {

using testbed::Image;

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testbed::openTestWindow();
    clearScene();
  }
  void TearDown() override { clearScene(); }
};

void expectMatrixNear(const std::array<double, 16>& got,
                      const std::array<double, 16>& want, double tol) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], tol) << "element " << i;
}

struct FramingCase {
  const char* name;
  friend void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }
  Segment segment;
  bool empty;
  float centerX, centerY, eyeDistance;
};

class CameraFraming : public ViewerTest,
                      public ::testing::WithParamInterface<FramingCase> {};

TEST_P(CameraFraming, CentreAndDistanceFollowTheBounds) {
  if (!GetParam().empty) addSegment(9, GetParam().segment);
  frameCamera();
  EXPECT_FLOAT_EQ(centerX, GetParam().centerX);
  EXPECT_FLOAT_EQ(centerY, GetParam().centerY);
  EXPECT_FLOAT_EQ(eyeDistance, GetParam().eyeDistance);
  // The model-view matrix is the one translation that puts the eye there.
  const std::array<double, 16> m = testbed::glMatrix(GL_MODELVIEW_MATRIX);
  std::array<double, 16> want{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  want[12] = -GetParam().centerX;
  want[13] = -GetParam().centerY;
  want[14] = -GetParam().eyeDistance;
  expectMatrixNear(m, want, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, CameraFraming,
    ::testing::Values(
        FramingCase{"Empty", {}, true, 512, 350, 5120},
        FramingCase{"Symmetric", {{-10, -4}, {10, 4}}, false, 0, 0, 100},
        FramingCase{"PositiveSpansCountTheMinimum", {{2, 3}, {5, 4}}, false,
                    3.5f, 3.5f, 35},
        FramingCase{"TallerThanWide", {{-1, -6}, {3, 2}}, false, 1, -2, 40}),
    [](const auto& info) { return info.param.name; });

TEST_F(ViewerTest, ReshapeLoadsThePerspectiveAndLeavesItCurrent) {
  frameCamera();
  onReshape(800, 400);
  GLint mode, viewport[4];
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(mode, GL_PROJECTION);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 400);
  expectMatrixNear(testbed::glMatrix(GL_PROJECTION_MATRIX),
                   testbed::reference::perspective(2), 1e-5);
}

TEST_F(ViewerTest, ReshapeToHeightZeroActsAsHeightOne) {
  frameCamera();
  onReshape(640, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  expectMatrixNear(testbed::glMatrix(GL_PROJECTION_MATRIX),
                   testbed::reference::perspective(640), 1e-5);
  onReshape(windowWidth, windowHeight);
}

TEST_F(ViewerTest, ReshapeDiscardsWhatWasMultipliedOntoTheProjection) {
  frameCamera();
  onReshape(windowWidth, windowHeight);
  const auto startup = testbed::glMatrix(GL_PROJECTION_MATRIX);
  glRotatef(30, 0, 0, 1);
  glScalef(2, 2, 2);
  onReshape(windowWidth, windowHeight);
  expectMatrixNear(testbed::glMatrix(GL_PROJECTION_MATRIX), startup, 0);
}

TEST_F(ViewerTest, EmptySceneLiesBeyondTheFarPlaneAndShowsOnlyTheClearColour) {
  // A stray segment far outside would show if the camera were wrong; the
  // empty scene must frame at (512, 350) from 5120, beyond the far plane.
  const Image frame = testbed::drawStartupFrame();
  ASSERT_EQ(frame.width, windowWidth);
  ASSERT_EQ(frame.height, windowHeight);
  for (const testbed::Pixel& p : frame.pixels)
    ASSERT_TRUE(testbed::closeTo(p, testbed::clearPixel)) << int(p.r);
}

TEST_F(ViewerTest, LaterCopyOfAnEdgeDrawsOverTheEarlier) {
  addSegment(0, Segment{{-10, 0}, {10, 0}});
  addSegment(1, Segment{{-10, 0}, {10, 0}});
  addSegment(9, Segment{{-10, -3}, {-10, 3}});  // widen the frame a little
  const Image frame = testbed::drawStartupFrame();
  const testbed::WindowPoint mid = testbed::projectToWindow(Point{0, 0});
  bool green = false, red = false;
  for (int dy = -2; dy <= 2; ++dy) {
    const testbed::Pixel p = frame.at(int(mid.x), int(mid.y) + dy);
    green |= p.g > 200 && p.r < 50 && p.b < 50;
    red |= p.r > 200 && p.g < 50;
  }
  EXPECT_TRUE(green);
  EXPECT_FALSE(red);
}

TEST_F(ViewerTest, ZeroLengthSegmentShowsOneDot) {
  addSegment(2, Segment{{-10, -10}, {10, 10}});
  addSegment(0, Segment{{3, -4}, {3, -4}});
  const Image frame = testbed::drawStartupFrame();
  const testbed::WindowPoint dot = testbed::projectToWindow(Point{3, -4});
  const testbed::Pixel p = frame.at(int(dot.x), int(dot.y));
  EXPECT_GT(p.r, 200);
  EXPECT_LT(p.g, 50);
  // The dot is 4 pixels wide, no more.
  EXPECT_TRUE(testbed::closeTo(frame.at(int(dot.x) + 4, int(dot.y)), testbed::clearPixel));
}

TEST_F(ViewerTest, ColourOutsideThePaletteKeepsTheCurrentColour) {
  setColor(5);
  setColor(10);
  setColor(-1);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0], 1.0f);
  EXPECT_EQ(colour[1], 0.0f);
  EXPECT_EQ(colour[2], 1.0f);
  setColor(4);
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[1], 0.5f);
}

// Lines and circles are never stored by a program, but the display pass draws
// them; with identity matrices a scene unit is half the viewport.
class IdentityView : public ViewerTest {
 protected:
  Image draw() {
    onReshape(windowWidth, windowHeight);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    onDisplay();
    glMatrixMode(GL_PROJECTION);
    return testbed::readFrontBuffer();
  }
  // Normalised device coordinates to window pixels, y from the top.
  static int px(double x) { return int((x + 1) * windowWidth / 2); }
  static int py(double y) { return int((1 - y) * windowHeight / 2); }
};

TEST_F(IdentityView, LineRunsHundredDirectionsEachWay) {
  Scene.lines.push_back(Line{{0, 0.5f}, {0.005f, 0}, 9});
  const Image frame = draw();
  EXPECT_TRUE(frame.darkNear(px(-0.45), py(0.5), 1));
  EXPECT_TRUE(frame.darkNear(px(0.45), py(0.5), 1));
  EXPECT_FALSE(frame.darkNear(px(0.55), py(0.5), 1));
  EXPECT_FALSE(frame.darkNear(px(-0.55), py(0.5), 1));
}

TEST_F(IdentityView, CircleIsAClosedLoopAroundItsCentre) {
  Scene.circles.push_back(Circle{{0.2f, -0.1f}, 0.5f, 9});
  const Image frame = draw();
  for (int k = 0; k < 8; ++k) {
    const double t = k * M_PI / 4;
    EXPECT_TRUE(frame.darkNear(px(0.2 + 0.5 * std::cos(t)),
                               py(-0.1 + 0.5 * std::sin(t)), 2))
        << "angle " << k * 45;
  }
  EXPECT_FALSE(frame.darkNear(px(0.2), py(-0.1), 10));
}

}  // namespace
