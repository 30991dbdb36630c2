// The explorer's one window: the framework's window, camera and mouse
// navigation, with handles on the given points, fills under the edges, the
// status line (also printed, one line each time it changes) and the keys.
// Letting go of a handle prints the points and the link that shares them.
#pragma once

#include "explore/link.h"
#include "tools/registry.h"

namespace explore {

// For benchmarks and tests, in a GLUT window this process already has:
// shows `program` as the explorer opens it, zooms out by middle drags until
// the zoom stops, says how many copies of the unit a frame draws now, and
// draws and swaps one frame.
void showInCurrentWindow(const tools::TilingProgram& program);
void zoomOutToTheLimit();
long long copiesDrawn();
void drawFrame();

// Opens the window on the request's program with its linked points (saying
// what was wrong with the link) and runs the GLUT main loop; never returns.
[[noreturn]] void runWindow(int argc, char** argv, const LinkRequest& request);

}  // namespace explore
