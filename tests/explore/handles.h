// The explorer's handles as a screenshot shows them: the middles of the
// blobs of handle orange, in window pixels.
#pragma once

#include <cmath>
#include <vector>

#include "tests/testbed/display.h"

namespace exploretest {

struct Pixel2 {
  double x, y;
};

inline std::vector<Pixel2> handles(const testbed::Image& shot) {
  struct Blob {
    double sx = 0, sy = 0;
    int n = 0;
  };
  std::vector<Blob> blobs;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      if (!(shot.at(x, y) == testbed::Pixel{0xff, 0x80, 0x00})) continue;
      Blob* home = nullptr;
      for (Blob& b : blobs)
        if (std::hypot(b.sx / b.n - x, b.sy / b.n - y) < 10) home = &b;
      if (!home) home = &blobs.emplace_back();
      home->sx += x, home->sy += y, ++home->n;
    }
  std::vector<Pixel2> middles;
  for (const Blob& b : blobs) middles.push_back({b.sx / b.n, b.sy / b.n});
  return middles;
}

}  // namespace exploretest
