// The explorer's one window: the framework's window, camera and mouse
// navigation, with handles on the given points, fills under the edges, the
// status line (also printed, one line each time it changes) and the keys.
#pragma once

#include "tools/registry.h"

namespace explore {

// Opens the window on `program` and runs the GLUT main loop; never returns.
[[noreturn]] void runWindow(int argc, char** argv, const tools::TilingProgram& program);

}  // namespace explore
