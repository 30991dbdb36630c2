// Where the handles' names go on the screen: each beside its handle, clear
// of every handle and of the names placed before it. A name is tried at a
// few places round its handle, up and to the right first; one with no room
// anywhere is left out, and its handle still shows. The window and the page
// both place their names so, in window pixels.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace explore {

// A rectangle in window pixels, y down.
struct Box {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct LabelSize {
  double width = 0, height = 0;
};

struct HandleMark {
  double x = 0, y = 0;  // the handle's middle
};

// How the names sit by their handles, in window pixels: a handle's half
// width, the gap between a handle and its name, and the room kept between
// two names.
struct LabelStyle {
  double handle = 7, gap = 2, apart = 1;
  // Every length times `scale`: window pixels per pixel of the page.
  LabelStyle scaled(double scale) const { return {handle * scale, gap * scale, apart * scale}; }
};

bool overlap(const Box& a, const Box& b);

// The box of each name (sizes[k] is the name of handles[k]), or none where
// it would overprint a handle or a name placed before it. Places inside
// `window` come first; a name finds room outside it only when it has none
// within.
std::vector<std::optional<Box>> placeLabels(std::span<const HandleMark> handles,
                                            std::span<const LabelSize> sizes, const Box& window,
                                            const LabelStyle& style = {});

}  // namespace explore
