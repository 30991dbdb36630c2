// What the explorer's web page calls, for what the canvas's GLUT window
// cannot see (web/site/explore-page.js): the page's buttons type keys, two
// fingers on the drawing pan, zoom and turn it, a fingertip takes handles
// from further off than a pointer, and a new canvas size (the page fits
// the screen, its drawing buffer at the screen's pixel ratio) goes to GLUT
// as a window size, whose reshape keeps the view; the page's "Open drawing"
// hands over a segments file's text. The module exports each as
// Module._explorerNAME.
#include <GL/glut.h>
#include <emscripten.h>

#include <string>

#include "explore/window.h"

namespace {

// The file the page holds for the explorer (Module.explorerDrawing: its
// name and its text as UTF-8 bytes), copied into `into`: the name's bytes
// or the text's.
EM_JS(int, pageDrawingSize, (int text), {
  var d = Module['explorerDrawing'];
  return d ? (text ? d.text : d.name).length : 0;
});
EM_JS(void, pageDrawingCopy, (int text, char* into), {
  var d = Module['explorerDrawing'];
  if (d) HEAPU8.set(text ? d.text : d.name, into);
});
// Why the file did not open, for the page's status.
EM_JS(void, pageDrawingRefused, (const char* words), {
  var hook = Module['explorerDrawingRefused'];
  if (hook) hook(UTF8ToString(words));
});

std::string pageDrawing(int text) {
  std::string bytes(std::size_t(pageDrawingSize(text)), '\0');
  if (!bytes.empty()) pageDrawingCopy(text, bytes.data());
  return bytes;
}

}  // namespace

extern "C" {

// Opens the page's file as a drawing; a file that is no periodic tiling
// leaves the tiling shown and the page says why.
EMSCRIPTEN_KEEPALIVE void explorerOpenDrawing() {
  const std::string problem = explore::openDrawing(pageDrawing(1), pageDrawing(0));
  if (!problem.empty()) pageDrawingRefused(problem.c_str());
}


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
