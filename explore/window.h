// The explorer's one window: the framework's window, camera and mouse
// navigation, with handles on the given points, fills under the edges, the
// status line (also printed, one line each time it changes) and the keys.
// Letting go of a handle prints the points and the link that shares them.
#pragma once

#include <string>

#include "explore/link.h"
#include "tools/registry.h"

namespace explore {

// For benchmarks and tests, in a GLUT window this process already has:
// shows `program` as the explorer opens it, zooms out by middle drags until
// the zoom stops, says how many copies of the unit a frame draws now, and
// draws and swaps one frame.
void showInCurrentWindow(const tools::TilingProgram& program, Mode mode = Mode::symmetry);
void zoomOutToTheLimit();
long long copiesDrawn();
void drawFrame();

// For a page's own controls and gestures (the GLUT window sees only mouse,
// wheel and keys): a key as if typed; one step of two fingers on the
// drawing, whose middle was at window pixel (x, y) and moved by (dx, dy)
// while their spread grew by `factor` and their line turned `degrees`
// counter-clockwise as the user sees it (the screen's y runs down); and how
// near, in window pixels, a press must come to a handle to take it (a
// fingertip needs more room than a pointer).
void pressKey(unsigned char key);
void gestureStep(double x, double y, double dx, double dy, double factor, double degrees);
void setGrabRadius(double pixels);
// Handles drawn this many times their size in window pixels: a page whose
// drawing buffer holds several pixels to each of the screen's asks for as
// many.
void setHandleScale(double scale);

// For a page's "Open drawing": the drawing in segments text opened as a
// tiling named after `file` (shape/drawing.h), its link shown; empty, or
// the words that say why it is no periodic tiling (the tiling shown stays).
std::string openDrawing(const std::string& text, const std::string& file);

// Opens the window on the request's program with its linked points (saying
// what was wrong with the link) and runs the GLUT main loop; never returns.
[[noreturn]] void runWindow(int argc, char** argv, const LinkRequest& request);

}  // namespace explore
