// deltatile run as a whole program on the private display: its window, the
// GL calls of its first frame, and what the window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "programs/deltatile/deltatile.h"
#include "tests/testbed/geometry.h"
#include "tests/testbed/program.h"
#include "tests/testbed/reference_camera.h"
#include "viewer/viewer.h"

namespace {

using testbed::GlCall;

std::vector<Segment> deltatileSegments() {
  clearScene();
  deltatile::buildScene();
  std::vector<Segment> segments = Scene.segments;
  clearScene();
  return segments;
}

TEST(DeltatileWindow, OpensTitledAtItsSizeAndPlace) {
  testbed::RunningProgram program("deltatile");
  const unsigned long window = program.window();
  EXPECT_EQ(testbed::windowName(window), "Figuramont - prikaz zadatka");
  const testbed::WindowGeometry g = testbed::windowGeometry(window);
  EXPECT_EQ(g.x, 100);
  EXPECT_EQ(g.y, 50);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 700);
  EXPECT_TRUE(program.alive());
  EXPECT_EQ(program.standardOutput(), "");
}

class DeltatileTrace : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { calls = new std::vector<GlCall>(testbed::traceProgram("deltatile")); }
  static void TearDownTestSuite() { delete calls; }
  static std::vector<GlCall>* calls;
};
std::vector<GlCall>* DeltatileTrace::calls = nullptr;

TEST_F(DeltatileTrace, SetUpClearsToPaleGreyAndPlacesTheEye) {
  const std::vector<GlCall> setup = testbed::frameCalls(*calls, 0);
  bool cleared = false, translated = false;
  for (const GlCall& c : setup) {
    if (c.name == "glClearColor") {
      cleared = true;
      EXPECT_FLOAT_EQ(c.number_arg("red"), 0.9f);
      EXPECT_FLOAT_EQ(c.number_arg("green"), 0.9f);
      EXPECT_FLOAT_EQ(c.number_arg("blue"), 0.8f);
      EXPECT_FLOAT_EQ(c.number_arg("alpha"), 0.0f);
    }
    if (c.name == "glTranslatef" && !translated) {
      translated = true;
      EXPECT_EQ(c.number_arg("x"), 3);
      EXPECT_EQ(c.number_arg("y"), 13);
      EXPECT_EQ(c.number_arg("z"), -150);
    }
    if (c.name == "glClear") break;
  }
  EXPECT_TRUE(cleared);
  EXPECT_TRUE(translated);
}

TEST_F(DeltatileTrace, FrameDrawsEverySegmentInOrderWithItsDots) {
  const std::vector<Segment> segments = deltatileSegments();
  for (int frame : {0, 1}) {
    std::vector<GlCall> calls = testbed::frameCalls(*DeltatileTrace::calls, frame);
    auto at = std::find_if(calls.begin(), calls.end(),
                           [](const GlCall& c) { return c.name == "glClear"; });
    ASSERT_NE(at, calls.end()) << "frame " << frame;
    calls.erase(calls.begin(), at);
    // clear, push, ten calls a segment, pop, flush, then the swap (the
    // toolkit may flush once more before it).
    ASSERT_GE(calls.size(), 2 + segments.size() * 10 + 3) << "frame " << frame;
    const std::string mask = calls[0].arg("mask");
    EXPECT_NE(mask.find("GL_COLOR_BUFFER_BIT"), std::string::npos);
    EXPECT_NE(mask.find("GL_DEPTH_BUFFER_BIT"), std::string::npos);
    EXPECT_EQ(calls[1].name, "glPushMatrix");
    std::size_t k = 2;
    for (const Segment& s : segments) {
      EXPECT_EQ(calls[k].name, "glPointSize");
      EXPECT_EQ(calls[k].number_arg("size"), 4);
      EXPECT_EQ(calls[k + 1].name, "glColor3f");
      EXPECT_EQ(calls[k + 1].number_arg("red") + calls[k + 1].number_arg("green") +
                    calls[k + 1].number_arg("blue"), 0);
      for (const auto& [offset, mode] : {std::pair{2, "GL_LINES"}, std::pair{6, "GL_POINTS"}}) {
        EXPECT_EQ(calls[k + offset].name, "glBegin");
        EXPECT_EQ(calls[k + offset].arg("mode"), mode);
        for (int e = 0; e < 2; ++e) {
          const GlCall& v = calls[k + offset + 1 + e];
          const Point& p = e == 0 ? s.a : s.b;
          EXPECT_EQ(v.name, "glVertex3f");
          // The dump prints floats to about seven digits.
          EXPECT_NEAR(v.number_arg("x"), p.x, 1e-5);
          EXPECT_NEAR(v.number_arg("y"), p.y, 1e-5);
          EXPECT_EQ(v.number_arg("z"), 0);
        }
        EXPECT_EQ(calls[k + offset + 3].name, "glEnd");
      }
      k += 10;
    }
    EXPECT_EQ(calls[k].name, "glPopMatrix");
    EXPECT_EQ(calls[k + 1].name, "glFlush");
    EXPECT_EQ(calls.back().name, "glXSwapBuffers");
    for (std::size_t r = k + 2; r + 1 < calls.size(); ++r)
      EXPECT_EQ(calls[r].name, "glFlush");
  }
}

// The start-up camera, computed here from its definition: model-view
// translation by (3, 13, -150) and a 30-degree perspective of aspect
// 1024 / 700 in a 1024 x 700 viewport; y counted from the top.
testbed::WindowPoint startupProjection(const Point& p) {
  namespace reference = testbed::reference;
  const reference::Window w =
      reference::project(reference::perspective(double(float(1024.0 / 700))),
                         reference::translation(3, 13, -150), {1024, 700}, p);
  return {w.x, 700 - w.y};
}

TEST(DeltatilePicture, VerticesAreDarkAndTheBackgroundIsClear) {
  testbed::RunningProgram program("deltatile");
  const testbed::Image shot = testbed::screenshot(program.window());
  ASSERT_EQ(shot.width, 1024);
  ASSERT_EQ(shot.height, 700);
  const std::vector<Segment> segments = deltatileSegments();
  for (const Segment& s : segments)
    for (const Point& p : {s.a, s.b}) {
      const testbed::WindowPoint w = startupProjection(p);
      EXPECT_TRUE(shot.darkNear(int(w.x), int(w.y), 1))
          << "vertex (" << p.x << ", " << p.y << ") at " << w.x << ", " << w.y;
    }
  // Corners and the points between the patch and the window edges.
  for (const auto& [x, y] : {std::pair{5, 5}, {1018, 5}, {5, 694}, {1018, 694}, {200, 350}, {850, 350}, {512, 80}, {512, 620}})
    EXPECT_TRUE(testbed::closeTo(shot.at(x, y), testbed::clearPixel)) << x << "," << y;
}

}  // namespace
