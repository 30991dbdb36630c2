// Large drawings for the face analysis, made to order: a grid of triangles,
// copies of one segment, random short segments, a fan of triangles round
// one point. Shared by the scale tests and the scale benchmark.
#pragma once

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "faces/faces.h"

namespace drawings {

using faces::Segment2;

// k x k unit squares, each cut along one diagonal, every triangle drawing
// its own three sides (so each inner edge is drawn twice): 6 k^2 segments.
inline std::vector<Segment2> triangleGrid(int k) {
  std::vector<Segment2> out;
  out.reserve(std::size_t(6 * k * k));
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) {
      const faces::Vec2 a{double(i), double(j)}, b{i + 1.0, double(j)}, c{i + 1.0, j + 1.0},
          d{double(i), j + 1.0};
      const faces::Vec2 triangles[2][3] = {{a, b, c}, {a, c, d}};
      for (const auto& t : triangles)
        for (int m = 0; m < 3; ++m) out.push_back({t[m], t[(m + 1) % 3]});
    }
  return out;
}

// n copies of one segment, each end moved by up to `noise` either way.
inline std::vector<Segment2> copies(int n, double noise = 0, unsigned seed = 1) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> jitter(-noise, noise);
  std::vector<Segment2> out(static_cast<std::size_t>(n));
  for (Segment2& s : out) s = {{jitter(random), jitter(random)}, {1 + jitter(random), 0.5 + jitter(random)}};
  return out;
}

// n unit segments at random places and directions, in a square whose side
// grows with the root of n: a few hundred crossings for 100 000 of them,
// far under the tangle cap.
inline std::vector<Segment2> randomSegments(int n, unsigned seed = 2) {
  std::mt19937 random(seed);
  const double side = 4 * std::sqrt(double(n));
  std::uniform_real_distribution<double> at(0, side), turn(0, 2 * std::numbers::pi);
  std::vector<Segment2> out(static_cast<std::size_t>(n));
  for (Segment2& s : out) {
    const double x = at(random), y = at(random), t = turn(random);
    s = {{x, y}, {x + std::cos(t), y + std::sin(t)}};
  }
  return out;
}

// n thin triangles round the origin: n spokes and n rim segments, the rim
// points a unit apart.
inline std::vector<Segment2> fan(int n) {
  const double radius = n / (2 * std::numbers::pi);
  std::vector<faces::Vec2> rim(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    rim[i] = {radius * std::cos(2 * std::numbers::pi * i / n), radius * std::sin(2 * std::numbers::pi * i / n)};
  std::vector<Segment2> out;
  for (int i = 0; i < n; ++i) {
    out.push_back({{0, 0}, rim[i]});
    out.push_back({rim[i], rim[(i + 1) % n]});
  }
  return out;
}

}  // namespace drawings
