// onMouse and onMotion driven directly in this process's own GL window: the
// navigation state they keep, the projection matrix they leave (read back
// from GL), and whether they ask for a redraw.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "tests/testbed/reference_camera.h"
#include "tests/testbed/display.h"
#include "viewer/viewer.h"

namespace navtest = testbed::reference;

namespace {

using navtest::Matrix4;

// Before any event (each case runs in a process of its own, and this one is
// registered first): no button, the origin grabbed, the cursor at 0, 0.
TEST(NavigationStart, NoButtonHeldAndTheOriginGrabbed) {
  EXPECT_FALSE(leftDown || middleDown || rightDown);
  EXPECT_EQ(lastX, 0);
  EXPECT_EQ(lastY, 0);
  EXPECT_EQ(pressPoint.x, 0);
  EXPECT_EQ(pressPoint.y, 0);
  EXPECT_EQ(pressPoint.z, 0);
  EXPECT_EQ(pressPoint.color, 9);
}

int redraws = 0;
void countRedraw() { ++redraws; }

// A scene off the origin, so that every centre term shows: spanning (2, 3) to
// (5, 4) it frames at centre (3.5, 3.5) from distance 35.
constexpr float cx = 3.5f, cy = 3.5f, eye = 35;
constexpr navtest::Viewport viewport{windowWidth, windowHeight};

class Navigation : public ::testing::Test {
 protected:
  void SetUp() override {
    testbed::openTestWindow();
    glutDisplayFunc(countRedraw);
    clearScene();
    addSegment(9, Segment{{2, 3}, {5, 4}});
    frameCamera();
    onReshape(windowWidth, windowHeight);
    lastX = lastY = 0;
    leftDown = middleDown = rightDown = false;
    pressPoint = Point{};
    startup = projection();
    model = testbed::glMatrix(GL_MODELVIEW_MATRIX);
  }
  void TearDown() override { clearScene(); }

  static Matrix4 projection() { return testbed::glMatrix(GL_PROJECTION_MATRIX); }

  // How many redraws the toolkit carries out after `step`: earlier requests
  // are served first, so only those of `step` count.
  template <class Step>
  int redrawsRequestedBy(Step step) {
    for (int i = 0; i < 5; ++i) glutMainLoopEvent();
    redraws = 0;
    step();
    glutMainLoopEvent();
    return redraws;
  }

  void expectProjection(const Matrix4& step, double tol = 1e-4) {
    const Matrix4 want = navtest::product(startup, step);
    const Matrix4 got = projection();
    EXPECT_LE(navtest::maxDifference(got, want), tol);
  }

  // Where the grabbed point shows now, y counted from the top.
  testbed::WindowPoint grabbedOnScreen() { return testbed::projectToWindow(pressPoint); }

  Matrix4 startup, model;
};

// --- Presses and releases

TEST_F(Navigation, PressRecordsCursorAndGrabsTheNearPlanePointUnderIt) {
  onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 500, 300);
  EXPECT_EQ(lastX, 500);
  EXPECT_EQ(lastY, 300);
  EXPECT_EQ(pressPoint.color, 9);
  // On the near plane: one unit in front of the eye, which sits at depth 35.
  EXPECT_NEAR(pressPoint.z, eye - 1, 1e-4);
  // Unprojected from GL row 700 - 300 - 1, which is pixel row 301 from the top.
  const testbed::WindowPoint w = grabbedOnScreen();
  EXPECT_NEAR(w.x, 500, 1e-3);
  EXPECT_NEAR(w.y, 301, 1e-3);
}

TEST_F(Navigation, EachButtonRaisesItsOwnFlagAndFlagsAccumulate) {
  onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10);
  EXPECT_TRUE(leftDown);
  EXPECT_FALSE(middleDown);
  EXPECT_FALSE(rightDown);
  onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 20, 20);
  EXPECT_TRUE(leftDown);
  EXPECT_FALSE(middleDown);
  EXPECT_TRUE(rightDown);
  onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 30, 30);
  EXPECT_TRUE(leftDown && middleDown && rightDown);
  EXPECT_EQ(lastX, 30);
}

TEST_F(Navigation, WheelButtonPressMovesTheGrabButRaisesNoFlag) {
  for (int button : {3, 4, 7}) {
    onMouse(button, GLUT_DOWN, 100 + button, 200);
    EXPECT_FALSE(leftDown || middleDown || rightDown) << button;
    EXPECT_EQ(lastX, 100 + button);
    EXPECT_NEAR(grabbedOnScreen().x, 100 + button, 1e-3);
  }
}

TEST_F(Navigation, AnyReleaseLowersAllFlagsAndEndsTheDrag) {
  for (int released : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON, 3}) {
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 500, 300);
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 500, 300);
    onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 500, 300);
    onMouse(released, GLUT_UP, 640, 480);
    EXPECT_FALSE(leftDown || middleDown || rightDown) << released;
    EXPECT_EQ(lastX, 500) << "a release does not move the cursor record";
  }
  // The drag is over: further motion changes nothing.
  onMotion(700, 500);
  expectProjection(navtest::identity(), 0);
}

// --- Steps that do nothing

TEST_F(Navigation, ZeroStepChangesNothingAndAsksForNoRedraw) {
  for (int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
    onMouse(button, GLUT_DOWN, 500, 300);
    const Point grabbed = pressPoint;
    EXPECT_EQ(redrawsRequestedBy([] { onMotion(500, 300); }), 0) << button;
    expectProjection(navtest::identity(), 0);
    EXPECT_EQ(pressPoint.x, grabbed.x);
    onMouse(button, GLUT_UP, 500, 300);
  }
}

TEST_F(Navigation, MotionWithNoFlagRaisedChangesNothing) {
  onMouse(3, GLUT_DOWN, 500, 300);
  EXPECT_EQ(redrawsRequestedBy([] { onMotion(540, 330); }), 0);
  EXPECT_EQ(lastX, 500);
  expectProjection(navtest::identity(), 0);
}

// --- Pan

TEST_F(Navigation, PanTranslatesByTheNearPlaneDifferenceAndKeepsTheGrabUnderTheCursor) {
  onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 500, 300);
  const Point grabbed = pressPoint;
  const Point there = navtest::unproject(startup, model, viewport, 510, 699 - 300, 0);
  EXPECT_EQ(redrawsRequestedBy([] { onMotion(510, 300); }), 1);
  EXPECT_EQ(lastX, 510);
  EXPECT_EQ(lastY, 300);
  EXPECT_EQ(pressPoint.x, grabbed.x) << "the grabbed point itself stays";
  expectProjection(navtest::translation(there.x - grabbed.x, there.y - grabbed.y,
                                        there.z - grabbed.z), 1e-6);
  // Several steps on, the grabbed point is still under the cursor.
  for (const auto& [x, y] : {std::pair{530, 320}, {800, 100}, {20, 680}}) {
    onMotion(x, y);
    const testbed::WindowPoint w = grabbedOnScreen();
    EXPECT_NEAR(w.x, x, 1e-2);
    EXPECT_NEAR(w.y, y + 1, 1e-2);
  }
}

// --- Rotate

// The on-screen direction, in degrees counter-clockwise, of the unit x step
// from the turning axis: the axis lies at eye (cx, cy), which the fixed
// model-view puts at scene point (2cx, 2cy).
double screenDirectionOfUnitX() {
  const testbed::WindowPoint a = testbed::projectToWindow(Point{2 * cx, 2 * cy});
  const testbed::WindowPoint b = testbed::projectToWindow(Point{2 * cx + 1, 2 * cy});
  return std::atan2(-(b.y - a.y), b.x - a.x) * 180 / M_PI;
}

TEST_F(Navigation, RightDragTurnsByTheStepLengthLeftCounterClockwiseRightClockwise) {
  struct Case {
    int x, y;
    double degrees;
  };
  const double step = 100.0 / 1025 * 180;  // about 17.56 degrees
  EXPECT_NEAR(step, 17.56, 0.005);
  // Left turns counter-clockwise, right clockwise; a purely vertical step
  // counter-clockwise whichever way; a diagonal counts its length; a whole
  // width turns just under 180.
  for (const Case& c : {Case{400, 300, step}, Case{600, 300, -step}, Case{500, 200, step},
                        Case{500, 400, step}, Case{530, 340, -50.0 / 1025 * 180},
                        Case{1524, 300, -1024.0 / 1025 * 180}}) {
    SetUp();
    onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 500, 300);
    EXPECT_EQ(redrawsRequestedBy([c] { onMotion(c.x, c.y); }), 1);
    expectProjection(navtest::aboutPoint(cx, cy, eye, navtest::turnAboutZ(c.degrees)));
    EXPECT_NEAR(screenDirectionOfUnitX(), c.degrees, 1e-3) << c.x << ", " << c.y;
    EXPECT_EQ(lastX, c.x);
  }
}

// --- Zoom

TEST_F(Navigation, MiddleDragScalesAboutTheCentreByEToTheStepOver2100) {
  struct Case {
    int x, y;
    double s;
  };
  // dx plays no part; dy = 2100 is a factor e, -2100 its inverse.
  for (const Case& c : {Case{500, 2400, M_E}, Case{500, -1800, 1 / M_E},
                        Case{900, 2400, M_E}, Case{510, 300 + 210, std::exp(0.1)}}) {
    SetUp();
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 500, 300);
    EXPECT_EQ(redrawsRequestedBy([c] { onMotion(c.x, c.y); }), 1);
    expectProjection(navtest::aboutPoint(cx, cy, eye, navtest::uniformScale(c.s)));
  }
}

TEST_F(Navigation, LeftAndRightTogetherZoomAndMiddleOutranksTheRest) {
  for (const auto& buttons : {std::vector{GLUT_LEFT_BUTTON, GLUT_RIGHT_BUTTON},
                              std::vector{GLUT_RIGHT_BUTTON, GLUT_LEFT_BUTTON},
                              std::vector{GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON},
                              std::vector{GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON}}) {
    SetUp();
    for (int b : buttons) onMouse(b, GLUT_DOWN, 500, 300);
    onMotion(520, 300 - 2100);
    expectProjection(navtest::aboutPoint(cx, cy, eye, navtest::uniformScale(1 / M_E)));
  }
}

// --- Cursor that cannot be unprojected

class SingularProjection : public Navigation {
 protected:
  void SetUp() override {
    Navigation::SetUp();
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 500, 300);
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 500, 300);
    grabbed = pressPoint;
  }
  Point grabbed;
};

TEST_F(SingularProjection, PressKeepsTheOldGrabbedPoint) {
  glScalef(0, 0, 0);  // a zoom collapsed to nothing: no inverse
  const Matrix4 collapsed = projection();
  onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
  EXPECT_EQ(pressPoint.x, grabbed.x);
  EXPECT_EQ(pressPoint.y, grabbed.y);
  EXPECT_EQ(pressPoint.z, grabbed.z);
  // The press itself still counts.
  EXPECT_TRUE(leftDown);
  EXPECT_EQ(lastX, 100);
  EXPECT_EQ(navtest::maxDifference(projection(), collapsed), 0);
}

TEST_F(SingularProjection, DragStepChangesNothingInAnyMode) {
  for (int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
    onMouse(button, GLUT_DOWN, 100, 100);
    glScalef(0, 0, 0);
    const Matrix4 collapsed = projection();
    EXPECT_EQ(redrawsRequestedBy([] { onMotion(160, 140); }), 0) << button;
    EXPECT_EQ(lastX, 100);
    EXPECT_EQ(lastY, 100);
    EXPECT_EQ(navtest::maxDifference(projection(), collapsed), 0) << button;
    onMouse(button, GLUT_UP, 100, 100);
    onReshape(windowWidth, windowHeight);
  }
}

TEST_F(SingularProjection, InvertibleButOverflowingUnprojectionKeepsTheGrab) {
  // Invertible, but the near-plane point lies far beyond float range.
  glLoadIdentity();
  glScaled(1e-20, 1e-20, 1e-20);
  glScaled(1e-20, 1e-20, 1e-20);
  onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
  EXPECT_TRUE(std::isfinite(pressPoint.x) && std::isfinite(pressPoint.y) &&
              std::isfinite(pressPoint.z));
  EXPECT_EQ(pressPoint.x, grabbed.x);
}

// --- Extreme coordinates

bool finite(const Matrix4& m) {
  for (double v : m)
    if (!std::isfinite(v)) return false;
  return true;
}

TEST_F(Navigation, TurnStepBeyondThirtyTwoBitSquaresIsStillItsLength) {
  // 50000 squared exceeds the 32-bit range.
  onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, -25000, 300);
  onMotion(25000, 300);
  EXPECT_TRUE(finite(projection()));
  const float degrees = 50000.0f / 1025 * 180;
  expectProjection(navtest::aboutPoint(cx, cy, eye, navtest::turnAboutZ(-degrees)));
}

TEST_F(Navigation, TurnStepAcrossTheWholeIntRangeIsStillItsLength) {
  onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, INT_MIN, INT_MIN);
  EXPECT_TRUE(std::isfinite(pressPoint.x) && std::isfinite(pressPoint.y));
  onMotion(INT_MAX, INT_MAX);
  EXPECT_TRUE(finite(projection()));
  EXPECT_EQ(lastX, INT_MAX);
  // About 1.07e9 degrees: far past where the GL's own sine is exact, so only
  // the form is checked, a proper turn about the centre.
  const Matrix4 got = projection();
  const double turn = std::atan2(got[1] / startup[5], got[0] / startup[0]);
  expectProjection(navtest::aboutPoint(cx, cy, eye, navtest::turnAboutZ(turn * 180 / M_PI)));
}

TEST_F(Navigation, ZoomThatWouldOverflowOrVanishChangesNothing) {
  for (const auto& [from, to] : {std::pair{INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}}) {
    SetUp();
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, from);
    EXPECT_EQ(redrawsRequestedBy([to] { onMotion(0, to); }), 0);
    EXPECT_EQ(lastY, from);
    expectProjection(navtest::identity(), 0);
  }
}

}  // namespace
