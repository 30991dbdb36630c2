#include "explore/labels.h"

#include <algorithm>
#include <array>

namespace explore {

namespace {

// The places tried for a name of size s by a handle at h: beside it up and
// to the right (as it has always shown), down and to the right, to the left,
// level with it, above and below it; then the same a line further off.
std::vector<Box> placesBy(HandleMark h, LabelSize s, const LabelStyle& style) {
  const double near = style.handle + style.gap;
  std::vector<Box> out;
  for (const double ring : {0.0, s.height}) {
    const double d = near + ring;
    const double right = h.x + d, left = h.x - d - s.width, middle = h.x - s.width / 2;
    const double up = h.y - style.handle + style.gap - ring - s.height, down = h.y + style.handle - style.gap + ring,
                 level = h.y - s.height / 2, above = h.y - d - s.height, below = h.y + d;
    const std::array<std::array<double, 2>, 8> corners{{{right, up},
                                                        {right, down},
                                                        {left, up},
                                                        {left, down},
                                                        {right, level},
                                                        {left, level},
                                                        {middle, above},
                                                        {middle, below}}};
    for (const auto& [x, y] : corners) out.push_back({x, y, x + s.width, y + s.height});
  }
  return out;
}

Box handleBox(HandleMark h, const LabelStyle& style) {
  return {h.x - style.handle, h.y - style.handle, h.x + style.handle, h.y + style.handle};
}

Box grown(const Box& b, double by) { return {b.x0 - by, b.y0 - by, b.x1 + by, b.y1 + by}; }

bool inside(const Box& b, const Box& window) {
  return b.x0 >= window.x0 && b.y0 >= window.y0 && b.x1 <= window.x1 && b.y1 <= window.y1;
}

}  // namespace

bool overlap(const Box& a, const Box& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

std::vector<std::optional<Box>> placeLabels(std::span<const HandleMark> handles, std::span<const LabelSize> sizes,
                                            const Box& window, const LabelStyle& style) {
  std::vector<Box> taken;
  for (const HandleMark& h : handles) taken.push_back(handleBox(h, style));
  const std::size_t marks = taken.size();
  auto free = [&](const Box& b) {
    for (std::size_t k = 0; k < taken.size(); ++k)
      if (overlap(k < marks ? b : grown(b, style.apart), taken[k])) return false;
    return true;
  };
  std::vector<std::optional<Box>> out(handles.size());
  for (std::size_t k = 0; k < handles.size() && k < sizes.size(); ++k) {
    if (!(sizes[k].width > 0 && sizes[k].height > 0)) continue;
    const std::vector<Box> places = placesBy(handles[k], sizes[k], style);
    auto fits = std::find_if(places.begin(), places.end(), [&](const Box& b) { return inside(b, window) && free(b); });
    if (fits == places.end()) fits = std::find_if(places.begin(), places.end(), free);
    if (fits == places.end()) continue;
    out[k] = *fits;
    taken.push_back(*fits);
  }
  return out;
}

}  // namespace explore
