// Viewer shell: the one window, a perspective camera framed on the scene
// bounds, the GLUT callbacks, and the main loop that never returns.
//
// GL matrix state: the model-view matrix is a fixed translation set once at
// start-up; every reshape reloads the projection matrix and leaves it current,
// so mouse navigation multiplies onto the projection and a resize discards it.
#pragma once

#include <cstdint>

#include "scene/scene.h"

// Set once by frameCamera from SceneBounds; the fixed centre of rotation and
// zoom is (centerX, centerY, eyeDistance).
extern float centerX;
extern float centerY;
extern float eyeDistance;

inline constexpr int windowWidth = 1024;
inline constexpr int windowHeight = 700;
inline constexpr int windowX = 100;
inline constexpr int windowY = 50;
inline constexpr const char* windowTitle = "Figuramont - prikaz zadatka";

// Opens the window: GLUT initialisation with the untouched command line,
// RGB double-buffered with depth, 1024 x 700 at (100, 50), the clear colour.
void openWindow(int& argc, char** argv);
// Computes centerX, centerY and eyeDistance from SceneBounds and loads the
// start-up projection and model-view matrices.
void frameCamera();
// Display and idle: onDisplay; mouse, motion and reshape as below.
void registerCallbacks();
// openWindow, frameCamera, registerCallbacks, then the GLUT main loop.
[[noreturn]] void startViewer(int argc, char** argv);

// Viewport (0, 0, w, h) and a 30-degree perspective of aspect w / h; a height
// of 0 counts as 1. The projection matrix stays current.
void onReshape(int w, int h);

// --- Mouse navigation
//
// Left drag pans, right drag turns about the z axis, middle drag (or left and
// right held together) zooms. Every step is multiplied onto the current
// matrix, which after the first reshape is the projection.

// Cursor of the last press or of the last handled drag step, in GLUT window
// coordinates (y grows downwards).
extern std::int32_t lastX;
extern std::int32_t lastY;
extern bool leftDown;
extern bool middleDown;
extern bool rightDown;
// The scene point under the cursor at the last press, on the near plane.
extern Point pressPoint;

// A press records the cursor, unprojects it to pressPoint and raises the
// button's flag (buttons 3 and up raise none); any release lowers all three.
void onMouse(int button, int state, int x, int y);
// One drag step: pan by the unprojected difference to pressPoint, rotate by
// the step length, or zoom by e^(dy / 2100). A zero step does nothing.
void onMotion(int x, int y);
