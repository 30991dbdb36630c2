// deltatile driven with real X mouse events on its own window: the steps it
// multiplies onto its projection, as its GL trace records them, and where
// its vertices show on the screen afterwards.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "programs/deltatile/deltatile.h"
#include "tests/testbed/reference_camera.h"
#include "tests/testbed/program.h"

namespace navtest = testbed::reference;

namespace {

using navtest::Matrix4;
using testbed::GlCall;

// deltatile frames its patch at centre (-3, -13) from distance 150.
constexpr double cx = -3, cy = -13, eye = 150;
constexpr navtest::Viewport screen{1024, 700};
const Matrix4 model = navtest::translation(-cx, -cy, -eye);
const Matrix4 startup = navtest::perspective(double(float(1024.0 / 700)));

std::vector<Point> vertices() {
  clearScene();
  deltatile::buildScene();
  std::vector<Point> points;
  for (const Segment& s : Scene.segments) {
    points.push_back(s.a);
    points.push_back(s.b);
  }
  clearScene();
  return points;
}

// Where p shows under `projection`: pixel column and row from the top.
std::pair<int, int> pixelOf(const Matrix4& projection, const Point& p,
                            navtest::Viewport v = screen) {
  const navtest::Window w = navtest::project(projection, model, v, p);
  return {int(std::floor(w.x)), int(std::floor(v.height - w.y))};
}

// How many of the patch's vertices the picture shows dark where
// `projection` puts them.
int verticesShown(const testbed::Image& shot, const Matrix4& projection,
                  navtest::Viewport v = screen) {
  int shown = 0;
  for (const Point& p : vertices()) {
    const auto [x, y] = pixelOf(projection, p, v);
    shown += shot.darkNear(x, y, 1);
  }
  return shown;
}

bool isStep(const GlCall& c) {
  return c.name == "glTranslatef" || c.name == "glRotatef" || c.name == "glScalef";
}

// The navigation steps of a trace: every translation, turn and scaling after
// the start-up model-view translation.
std::vector<GlCall> navigationSteps(const std::vector<GlCall>& calls) {
  std::vector<GlCall> steps;
  bool startupSeen = false;
  for (const GlCall& c : calls) {
    if (!isStep(c)) continue;
    if (!startupSeen && c.name == "glTranslatef") {
      startupSeen = true;
      continue;
    }
    steps.push_back(c);
  }
  return steps;
}

Matrix4 stepMatrix(const GlCall& c) {
  const double x = c.number_arg("x"), y = c.number_arg("y"), z = c.number_arg("z");
  if (c.name == "glTranslatef") return navtest::translation(x, y, z);
  if (c.name == "glScalef") return navtest::uniformScale(x);
  return navtest::turnAboutZ(c.number_arg("angle"));
}

// The projection the trace's steps build up from the start-up one.
Matrix4 projectionAfter(const std::vector<GlCall>& steps) {
  Matrix4 m = startup;
  for (const GlCall& c : steps) m = navtest::product(m, stepMatrix(c));
  return m;
}

void expectTranslation(const GlCall& c, double x, double y, double z) {
  EXPECT_EQ(c.name, "glTranslatef");
  EXPECT_NEAR(c.number_arg("x"), x, 1e-5);
  EXPECT_NEAR(c.number_arg("y"), y, 1e-5);
  EXPECT_NEAR(c.number_arg("z"), z, 1e-4);
}

// A turn or scaling about the centre: translate there, the step, translate
// back, in this order.
void expectAboutCentre(const std::vector<GlCall>& steps, std::size_t at,
                       const std::string& name) {
  ASSERT_GE(steps.size(), at + 3);
  expectTranslation(steps[at], cx, cy, eye);
  EXPECT_EQ(steps[at + 1].name, name);
  expectTranslation(steps[at + 2], -cx, -cy, -eye);
}

// deltatile under apitrace, with its window found and its first frame shown.
class Navigated : public ::testing::Test {
 protected:
  void SetUp() override {
    window = program.window();
    before = testbed::screenshot(window);
  }
  std::string at(int x, int y) const {
    return "mousemove --window " + std::to_string(window) + " " + std::to_string(x) +
           " " + std::to_string(y);
  }
  void mouse(const std::string& args) { testbed::xdotool(args); }
  // The picture once every event so far has been handled.
  testbed::Image shot() { return testbed::screenshot(window); }
  std::vector<GlCall> steps() {
    program.stop();
    return navigationSteps(testbed::dumpTrace(program.tracePath()));
  }

  testbed::RunningProgram program{"deltatile", true};
  unsigned long window = 0;
  testbed::Image before;
};

TEST_F(Navigated, LeftDragPansAndTheGrabbedPointFollowsTheCursor) {
  const std::vector<std::pair<int, int>> path{{400, 350}, {700, 340}, {1000, 330}};
  std::string drag = at(100, 350) + " mousedown 1";
  for (const auto& [x, y] : path) drag.append(" ").append(at(x, y));
  mouse(drag + " mouseup 1");
  const testbed::Image after = shot();
  const std::vector<GlCall> s = steps();
  ASSERT_EQ(s.size(), path.size());

  // The near-plane point grabbed at the press shows under the cursor after
  // every step.
  const Point grabbed = navtest::unproject(startup, model, screen, 100, 699 - 350, 0);
  Matrix4 projection = startup;
  for (std::size_t k = 0; k < s.size(); ++k) {
    EXPECT_EQ(s[k].name, "glTranslatef");
    projection = navtest::product(projection, stepMatrix(s[k]));
    const navtest::Window w = navtest::project(projection, model, screen, grabbed);
    EXPECT_NEAR(w.x, path[k].first, 0.05) << "step " << k;
    EXPECT_NEAR(w.y, 699 - path[k].second, 0.05) << "step " << k;
  }
  // The drawing, 150 units deeper, moves a few pixels to the right.
  const auto [x0, y0] = pixelOf(startup, Point{});
  const auto [x1, y1] = pixelOf(projection, Point{});
  EXPECT_GE(x1 - x0, 5);
  EXPECT_NE(after.pixels, before.pixels);
  EXPECT_EQ(verticesShown(after, projection), int(vertices().size()));
}

TEST_F(Navigated, RightDragTurnsLeftCounterClockwiseRightClockwise) {
  const float angle = 100.0f / 1025 * 180;  // about 17.56 degrees
  mouse(at(500, 300) + " mousedown 3 " + at(400, 300) + " mouseup 3");
  const testbed::Image turned = shot();
  mouse(at(500, 300) + " mousedown 3 " + at(600, 300) + " mouseup 3");
  const testbed::Image back = shot();
  const std::vector<GlCall> s = steps();
  ASSERT_EQ(s.size(), 6u);
  for (const auto& [first, degrees] : {std::pair{0, angle}, {3, -angle}}) {
    expectAboutCentre(s, first, "glRotatef");
    const GlCall& turn = s[first + 1];
    EXPECT_NEAR(turn.number_arg("angle"), degrees, 1e-5);
    EXPECT_EQ(turn.number_arg("x"), 0);
    EXPECT_EQ(turn.number_arg("y"), 0);
    EXPECT_EQ(turn.number_arg("z"), 1);
  }
  // On the screen the patch turned counter-clockwise, not clockwise, then
  // came back.
  const int all = int(vertices().size());
  const Matrix4 ccw = navtest::product(startup, navtest::aboutPoint(cx, cy, eye, navtest::turnAboutZ(angle)));
  const Matrix4 cw = navtest::product(startup, navtest::aboutPoint(cx, cy, eye, navtest::turnAboutZ(-angle)));
  EXPECT_EQ(verticesShown(turned, ccw), all);
  EXPECT_LT(verticesShown(turned, cw), all / 2);
  EXPECT_EQ(verticesShown(back, startup), all);
}

TEST_F(Navigated, MiddleDragScalesByEToTheStepOver2100) {
  mouse(at(500, 300) + " mousedown 2 " + at(530, 510) + " mouseup 2");
  const testbed::Image after = shot();
  const std::vector<GlCall> s = steps();
  ASSERT_EQ(s.size(), 3u);
  expectAboutCentre(s, 0, "glScalef");
  const double e = std::exp(210.0 / 2100);
  for (const char* axis : {"x", "y", "z"}) EXPECT_NEAR(s[1].number_arg(axis), e, 1e-6);
  // Scaled about the eye-space centre, the patch moves deeper and shrinks.
  const Matrix4 zoomed = navtest::product(startup, navtest::aboutPoint(cx, cy, eye, navtest::uniformScale(e)));
  EXPECT_EQ(verticesShown(after, zoomed), int(vertices().size()));
  EXPECT_NE(after.pixels, before.pixels);
}

TEST_F(Navigated, LeftAndRightHeldTogetherZoomInsteadOfPanOrTurn) {
  mouse(at(500, 300) + " mousedown 1 mousedown 3 " + at(540, 90) + " mouseup 3 mouseup 1");
  const testbed::Image after = shot();
  const std::vector<GlCall> s = steps();
  ASSERT_EQ(s.size(), 3u);
  expectAboutCentre(s, 0, "glScalef");
  const double shrink = std::exp(-210.0 / 2100);
  EXPECT_NEAR(s[1].number_arg("x"), shrink, 1e-6);
  const Matrix4 zoomed = navtest::product(startup, navtest::aboutPoint(cx, cy, eye, navtest::uniformScale(shrink)));
  EXPECT_EQ(verticesShown(after, zoomed), int(vertices().size()));
}

TEST_F(Navigated, WheelRaisesNoFlagAndItsReleaseEndsADrag) {
  // The wheel alone, held while the mouse moves: nothing happens.
  mouse(at(500, 300) + " mousedown 4 " + at(560, 330) + " mouseup 4");
  // A left drag, interrupted by a wheel click: the step after it does nothing.
  mouse(at(100, 350) + " mousedown 1 " + at(700, 350) + " click 5 " + at(1000, 350) +
        " mouseup 1");
  const testbed::Image after = shot();
  const std::vector<GlCall> s = steps();
  ASSERT_EQ(s.size(), 1u);
  const Point grabbed = navtest::unproject(startup, model, screen, 100, 699 - 350, 0);
  const Matrix4 panned = projectionAfter(s);
  EXPECT_NEAR(navtest::project(panned, model, screen, grabbed).x, 700, 0.05);
  EXPECT_EQ(verticesShown(after, panned), int(vertices().size()));
}

TEST_F(Navigated, ResizeAfterNavigatingShowsTheStartupFramingAgain) {
  mouse(at(500, 300) + " mousedown 3 " + at(300, 200) + " mouseup 3");
  mouse(at(500, 300) + " mousedown 2 " + at(500, 450) + " mouseup 2");
  mouse(at(100, 300) + " mousedown 1 " + at(900, 100) + " mouseup 1");
  EXPECT_NE(shot().pixels, before.pixels);

  const std::string id = std::to_string(window);
  mouse("windowsize " + id + " 800 600");
  const testbed::Image resized = shot();
  ASSERT_EQ(resized.width, 800);
  ASSERT_EQ(resized.height, 600);
  const navtest::Viewport small{800, 600};
  EXPECT_EQ(verticesShown(resized, navtest::perspective(double(float(800.0 / 600))), small),
            int(vertices().size()));

  mouse("windowsize " + id + " 1024 700");
  const testbed::Image restored = shot();
  EXPECT_EQ(restored.pixels, before.pixels);
}

TEST_F(Navigated, AnyButtonsInAnyOrderLeaveTheProgramRunningAndItsMatrixFinite) {
  const char* presses[] = {
      "mousedown 1", "mousedown 3", "mousedown 2", "mouseup 1", "mousedown 4",
      "mouseup 3",   "mousedown 1", "mouseup 4",   "click 5",   "mouseup 2",
      "mousedown 2", "mousedown 3", "mouseup 1",   "mousedown 1", "mouseup 3"};
  std::string sequence = at(512, 350);
  int k = 0;
  for (const char* press : presses) {
    ++k;
    sequence.append(" ").append(press).append(" ").append(at(40 + 67 * k % 980, 20 + 151 * k % 660));
  }
  mouse(sequence + " mouseup 1 mouseup 2");
  const testbed::Image after = shot();
  EXPECT_TRUE(program.alive());
  EXPECT_EQ(after.width, 1024);
  const std::vector<GlCall> s = steps();
  EXPECT_FALSE(s.empty());
  for (const GlCall& c : s)
    for (const char* arg : {"x", "y", "z"})
      EXPECT_TRUE(std::isfinite(c.number_arg(arg))) << c.name << "(" << c.args << ")";
  for (double v : projectionAfter(s)) EXPECT_TRUE(std::isfinite(v));
}

}  // namespace
