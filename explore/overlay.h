// The words around the explorer's drawing: the status lines, the handles'
// names, the keys' help, the title, the shape's link and the files it
// saves. Natively GLUT draws the words into the window with its bitmap
// fonts and files go to the working folder (overlay_glut.cpp); in a web
// page the words are handed to the page, which shows them as text beside
// and over the canvas, and a saved file is downloaded (overlay_web.cpp).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "explore/labels.h"

namespace explore {

struct Label {
  std::string text;
  double x = 0, y = 0;  // the handle, in GLUT window pixels (y down)
  std::optional<Box> box;  // where the name shows; none where it has no room
};

struct Overlay {
  std::vector<std::string> status;  // the first names the tiling and its verdict
  bool clean = false;               // the verdict is good news
  std::vector<Label> labels;
  std::vector<std::string> help;    // empty while the help is hidden
};

// The size a handle's name takes, in window pixels, at `scale` window
// pixels to the page's pixel (GLUT's bitmap font natively, which does not
// scale; the page's label font in a web page).
LabelSize labelSize(const std::string& text, double scale);
// Draws (natively) or hands to the page (web) the words of one frame; the
// GL projection is current again afterwards.
void showOverlay(const Overlay& overlay);
void showTitle(const std::string& title);
// The link that opens the shape as it is now: a web page puts it in its
// address without reloading; a window has no address.
void showLink(const std::string& link);
// What was wrong with a link that was opened, one problem a line.
void showProblems(const std::vector<std::string>& problems);
// Writes `contents` as `name` (natively in the working folder, saying
// where; in a page, as a download).
void saveFile(const std::string& name, const std::string& contents);
// Ends the explorer (a page has nothing to end: it stays).
void leave();

}  // namespace explore
