// Whole programs under test: a built program binary started on the private
// display, found by its window, photographed, driven with real X mouse
// events, and recorded with apitrace.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/testbed/display.h"

namespace testbed {

// Path of a built program, e.g. programPath("deltatile").
std::string programPath(const std::string& name);

// Runs a shell command to the end; its exit status and standard output.
struct CommandResult {
  int status;
  std::string output;
};
CommandResult runCommand(const std::string& command);

// A program running on the private display until stop() or destruction.
// With traced = true it runs under `apitrace trace`.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& name, bool traced = false,
                          const std::vector<std::string>& args = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // The X window id of its GLUT window; waits for the window to be mapped.
  unsigned long window();
  // Is the process still running?
  bool alive();
  // SIGTERM, then wait; returns the exit status as a shell would show it.
  int stop();
  // Everything written to standard output / standard error so far.
  std::string standardOutput() const;
  std::string standardError() const;
  // The trace file (traced runs only).
  const std::string& tracePath() const { return trace_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
  unsigned long window_ = 0;
  std::string dir_, trace_;
};

struct WindowGeometry {
  int x, y, width, height;
};
WindowGeometry windowGeometry(unsigned long window);
std::string windowName(unsigned long window);
// The window's pixels as X shows them (ImageMagick's import), once a frame
// has been drawn and the picture is steady.
Image screenshot(unsigned long window);
// Runs `xdotool ARGS` on the private display; fails the test on error.
void xdotool(const std::string& args);

// One GL call of an apitrace dump: `123 glVertex3f(x = 4, y = -1, z = 0)`.
struct GlCall {
  long number;
  std::string name;
  std::string args;  // the text between the parentheses
  // The value text of argument `key` ("" if absent).
  std::string arg(const std::string& key) const;
  // The value of argument `key` as a number.
  double number_arg(const std::string& key) const;
};
// Every call recorded in a trace file.
std::vector<GlCall> dumpTrace(const std::string& tracePath);
// Calls of frame k (0-based): from after swap k - 1 up to and including swap
// k (glXSwapBuffers). Frame 0 includes the set-up calls.
std::vector<GlCall> frameCalls(const std::vector<GlCall>& calls, int k);
// Runs a program under apitrace until it has drawn a few frames; all calls.
std::vector<GlCall> traceProgram(const std::string& name);

// A traced program's first frame read as a drawing.
struct FirstFrame {
  bool drawn = false;  // a glClear was found
  // The first glTranslatef before the clear: the model-view translation
  // that places the eye.
  bool eyePlaced = false;
  double eyeX = 0, eyeY = 0, eyeZ = 0;
  // From the clear on, every GL_LINES pair in order, with the colour last
  // set by glColor3f (all 0 before any).
  struct Line {
    double ax, ay, bx, by;
    double red, green, blue;
  };
  std::vector<Line> lines;
  std::size_t dotPairs = 0;  // glBegin(GL_POINTS) from the clear on
};
// Reads the calls of frame 0 (see frameCalls).
FirstFrame readFirstFrame(const std::vector<GlCall>& frame);

// A picture file (PNG or anything ImageMagick reads); empty if unreadable.
Image readPicture(const std::string& path);
// Write an Image as PNG (for looking at a failure).
void savePng(const Image& image, const std::string& path);

}  // namespace testbed
