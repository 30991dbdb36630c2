// What the explorer's web page calls, for what the canvas's GLUT window
// cannot see (web/site/explore-page.js): the page's buttons type keys, two
// fingers on the drawing pan, zoom and turn it, a fingertip takes handles
// from further off than a pointer, and a new canvas size (the page fits
// the screen, its drawing buffer at the screen's pixel ratio) goes to GLUT
// as a window size, whose reshape keeps the view. The module exports each
// as Module._explorerNAME.
#include <GL/glut.h>
#include <emscripten.h>

#include "explore/window.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE void explorerPressKey(int key) {
  if (key > 0 && key < 256) explore::pressKey((unsigned char)key);
}

// Window (buffer) pixels, y down; degrees counter-clockwise as seen.
EMSCRIPTEN_KEEPALIVE void explorerGesture(double x, double y, double dx, double dy,
                                          double factor, double degrees) {
  explore::gestureStep(x, y, dx, dy, factor, degrees);
}

EMSCRIPTEN_KEEPALIVE void explorerGrabRadius(double pixels) { explore::setGrabRadius(pixels); }

EMSCRIPTEN_KEEPALIVE void explorerHandleScale(double scale) { explore::setHandleScale(scale); }

// The drawing buffer becomes width x height; GLUT calls the reshape and
// asks for a frame.
EMSCRIPTEN_KEEPALIVE void explorerResize(int width, int height) {
  if (width > 0 && height > 0) glutReshapeWindow(width, height);
}

}  // extern "C"
