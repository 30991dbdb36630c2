#include "symmetry/pentagons.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace symmetry {

namespace {

// Terms over the angles A..E (degrees) and the sides a..e adding up to
// `equals`; a condition is on angles or on sides, never both.
struct Condition {
  std::array<double, 5> angles{}, sides{};
  double equals = 0;
};

Condition angle(std::array<double, 5> terms, double equals) { return {terms, {}, equals}; }
Condition side(std::array<double, 5> terms) { return {{}, terms, 0}; }

struct Type {
  int number;
  std::vector<Condition> conditions;
};

// The fifteen types. Their conditions, in the order A B C D E and a b c d e:
//  1  D + E = 180
//  2  C + E = 180, a = d
//  3  A = C = D = 120, a = b, d = c + e
//  4  A = C = 90, a = b, c = d
//  5  C = 2A = 120, a = b, c = d
//  6  C + E = 180, A = 2C, a = b = e, c = d
//  7  2B + C = 2D + A = 360, a = b = c = d
//  8  2A + B = 2D + C = 360, a = b = c = d
//  9  2E + B = 2D + C = 360, a = b = c = d
// 10  E = 90, A + D = 180, 2B - D = 180, 2C + D = 360, a = e = b + d
// 11  A = 90, C + E = 180, 2B + C = 360, d = e = 2a + c
// 12  A = 90, C + E = 180, 2B + C = 360, 2a = c + e = d
// 13  A = C = 90, 2B = 2E = 360 - D, c = d, 2c = e
// 14  A = 90, C + E = 180, 2B + C = 360, 2a = 2c = d = e (a single shape:
//     C = arccos((3 sqrt 57 - 17) / 16), about 69.32)
// 15  A = 150, B = 60, C = 135, D = 105, E = 90, a = c = e, b = 2a,
//     d = a sqrt 2 / (sqrt 3 - 1)
const std::vector<Type>& types() {
  static const double d15 = std::sqrt(2.0) / (std::sqrt(3.0) - 1);
  static const std::vector<Type> table = {
      {1, {angle({0, 0, 0, 1, 1}, 180)}},
      {2, {angle({0, 0, 1, 0, 1}, 180), side({1, 0, 0, -1, 0})}},
      {3, {angle({1, 0, 0, 0, 0}, 120), angle({0, 0, 1, 0, 0}, 120), angle({0, 0, 0, 1, 0}, 120),
           side({1, -1, 0, 0, 0}), side({0, 0, -1, 1, -1})}},
      {4, {angle({1, 0, 0, 0, 0}, 90), angle({0, 0, 1, 0, 0}, 90), side({1, -1, 0, 0, 0}),
           side({0, 0, 1, -1, 0})}},
      {5, {angle({1, 0, 0, 0, 0}, 60), angle({0, 0, 1, 0, 0}, 120), side({1, -1, 0, 0, 0}),
           side({0, 0, 1, -1, 0})}},
      {6, {angle({0, 0, 1, 0, 1}, 180), angle({1, 0, -2, 0, 0}, 0), side({1, -1, 0, 0, 0}),
           side({0, 1, 0, 0, -1}), side({0, 0, 1, -1, 0})}},
      {7, {angle({0, 2, 1, 0, 0}, 360), angle({1, 0, 0, 2, 0}, 360), side({1, -1, 0, 0, 0}),
           side({0, 1, -1, 0, 0}), side({0, 0, 1, -1, 0})}},
      {8, {angle({2, 1, 0, 0, 0}, 360), angle({0, 0, 1, 2, 0}, 360), side({1, -1, 0, 0, 0}),
           side({0, 1, -1, 0, 0}), side({0, 0, 1, -1, 0})}},
      {9, {angle({0, 1, 0, 0, 2}, 360), angle({0, 0, 1, 2, 0}, 360), side({1, -1, 0, 0, 0}),
           side({0, 1, -1, 0, 0}), side({0, 0, 1, -1, 0})}},
      {10, {angle({0, 0, 0, 0, 1}, 90), angle({1, 0, 0, 1, 0}, 180), angle({0, 2, 0, -1, 0}, 180),
            angle({0, 0, 2, 1, 0}, 360), side({1, 0, 0, 0, -1}), side({0, 1, 0, 1, -1})}},
      {11, {angle({1, 0, 0, 0, 0}, 90), angle({0, 0, 1, 0, 1}, 180), angle({0, 2, 1, 0, 0}, 360),
            side({0, 0, 0, 1, -1}), side({2, 0, 1, 0, -1})}},
      {12, {angle({1, 0, 0, 0, 0}, 90), angle({0, 0, 1, 0, 1}, 180), angle({0, 2, 1, 0, 0}, 360),
            side({2, 0, 0, -1, 0}), side({0, 0, 1, -1, 1})}},
      {13, {angle({1, 0, 0, 0, 0}, 90), angle({0, 0, 1, 0, 0}, 90), angle({0, 2, 0, 1, 0}, 360),
            angle({0, 0, 0, 1, 2}, 360), side({0, 0, 1, -1, 0}), side({0, 0, 2, 0, -1})}},
      {14, {angle({1, 0, 0, 0, 0}, 90), angle({0, 0, 1, 0, 1}, 180), angle({0, 2, 1, 0, 0}, 360),
            side({0, 0, 0, 1, -1}), side({2, 0, 0, 0, -1}), side({1, 0, -1, 0, 0})}},
      {15, {angle({1, 0, 0, 0, 0}, 150), angle({0, 1, 0, 0, 0}, 60), angle({0, 0, 1, 0, 0}, 135),
            angle({0, 0, 0, 1, 0}, 105), angle({0, 0, 0, 0, 1}, 90), side({1, 0, -1, 0, 0}),
            side({0, 0, 1, 0, -1}), side({2, -1, 0, 0, 0}), side({d15, 0, 0, -1, 0})}},
  };
  return table;
}

// One way of naming the corners: A at corner `start`, B the next one going
// forwards or backwards. Going forwards, side a (from E to A) is the side
// ending at `start`, sides[start - 1]; going backwards it is the side
// leaving `start`, sides[start], and b is sides[start - 1].
struct Labelled {
  std::array<double, 5> angles, sides;
};

Labelled label(const std::vector<double>& sides, const std::vector<double>& angles, int start,
               bool forwards) {
  Labelled l;
  for (int k = 0; k < 5; ++k) {
    const int corner = forwards ? (start + k) % 5 : (start - k + 5) % 5;
    l.angles[k] = angles[corner];
    // The side between labels k - 1 and k.
    l.sides[k] = forwards ? sides[(corner + 4) % 5] : sides[corner];
  }
  return l;
}

double sum(const std::array<double, 5>& terms, const std::array<double, 5>& values) {
  double s = 0;
  for (int k = 0; k < 5; ++k) s += terms[k] * values[k];
  return s;
}

double weight(const std::array<double, 5>& terms) {
  double w = 0;
  for (double t : terms) w += std::abs(t);
  return w;
}

}  // namespace

std::vector<int> pentagonTypes(const std::vector<double>& sides,
                               const std::vector<double>& angles) {
  if (sides.size() != 5 || angles.size() != 5) return {};
  const auto convex = [](double a) { return a > 0 && a < 180; };
  if (!std::all_of(angles.begin(), angles.end(), convex)) return {};
  // The drawings carry float noise of about 1e-5 in corners of pentagons
  // some 5 across: 2e-6 of the size. Corners off by `noise` move a side by
  // up to twice that, and an angle by up to twice that over each of its
  // sides (radians).
  const double longest = *std::max_element(sides.begin(), sides.end());
  const double shortest = *std::min_element(sides.begin(), sides.end());
  if (!(shortest > 0)) return {};
  const double noise = 2e-6 * longest;
  const double lengthSlack = 2 * noise;
  const double angleSlack = 4 * noise / shortest * 180 / std::numbers::pi;

  std::vector<int> found;
  for (const Type& type : types()) {
    bool holds = false;
    for (int start = 0; start < 5 && !holds; ++start)
      for (bool forwards : {true, false}) {
        const Labelled l = label(sides, angles, start, forwards);
        const auto met = [&](const Condition& c) {
          const double off = std::abs(sum(c.angles, l.angles) + sum(c.sides, l.sides) - c.equals);
          return off <= lengthSlack * weight(c.sides) + angleSlack * weight(c.angles);
        };
        holds = std::all_of(type.conditions.begin(), type.conditions.end(), met);
        if (holds) break;
      }
    if (holds) found.push_back(type.number);
  }
  return found;
}

// The types are of pentagons with straight sides: a curved one has none.
std::vector<int> pentagonTypes(const faces::FaceClass& shape) {
  if (shape.sides != 5 || shape.curved) return {};
  return pentagonTypes(shape.lengths, shape.angles);
}

}  // namespace symmetry
