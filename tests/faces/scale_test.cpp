// The face analysis on drawings far larger than the seventeen: what it finds
// there, checked against what each drawing is made of; and the welding and
// the search for segments near one another checked against a plain search
// through every pair, on drawings with points where hundreds of segments
// meet. Nothing is timed here: bench/scale_bench.cpp times the same
// drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <stdexcept>

#include "faces/faces.h"
#include "faces/nesting.h"
#include "faces/shape_index.h"
#include "faces/shapes.h"
#include "faces/weld.h"
#include "tests/faces/drawings_at_scale.h"

namespace {

using faces::Analysis;
using faces::ProblemKind;
using faces::Segment2;
using faces::Vec2;

// --- Whole analyses of large drawings

TEST(AtScale, HundredThousandCopiesOfOneSegmentAreOneLooseEdge) {
  for (double noise : {0.0, 1e-5}) {
    const Analysis a = faces::analyse(drawings::copies(100000, noise));
    EXPECT_TRUE(a.faces.empty()) << "noise " << noise;
    ASSERT_EQ(a.edges.size(), 1u) << "noise " << noise;
    const faces::Edge& e = a.edges[0];
    EXPECT_NEAR(std::hypot(e.b.x - e.a.x, e.b.y - e.a.y), std::hypot(1, 0.5), 1e-5);
    EXPECT_EQ(a.count(ProblemKind::dangle), 1);
    EXPECT_EQ(a.verdict(), "no closed face");
  }
}

TEST(AtScale, CopiesOfATriangleCloseOneFace) {
  std::vector<Segment2> drawing;
  const Vec2 corners[3] = {{0, 0}, {3, 0}, {0, 4}};
  for (int n = 0; n < 33334; ++n)
    for (int m = 0; m < 3; ++m) drawing.push_back({corners[m], corners[(m + 1) % 3]});
  const Analysis a = faces::analyse(drawing);
  ASSERT_EQ(a.faces.size(), 1u);
  EXPECT_NEAR(a.faces[0].area, 6, 1e-9);
  EXPECT_EQ(a.edges.size(), 3u);
  EXPECT_TRUE(a.problems.empty());
}

// k^2 squares cut along one diagonal: 2 k^2 congruent right triangles in
// two orientations, six meeting at every inner vertex.
TEST(AtScale, GridOfTrianglesHasItsCensus) {
  constexpr int k = 100;
  const std::vector<Segment2> drawing = drawings::triangleGrid(k);
  ASSERT_EQ(drawing.size(), std::size_t(6 * k * k));
  const Analysis a = faces::analyse(drawing);
  EXPECT_EQ(a.facesBySides(), (std::map<int, int>{{3, 2 * k * k}}));
  ASSERT_EQ(a.classes.size(), 1u);
  EXPECT_EQ(a.classes[0].orientations.size(), 2u);
  EXPECT_EQ(a.vertices, (std::map<std::string, int>{{"3.3.3.3.3.3", (k - 1) * (k - 1)}}));
  EXPECT_EQ(a.edges.size(), std::size_t(3 * k * k + 2 * k));
  EXPECT_NEAR(a.faceArea, k * k, 1e-6);
  EXPECT_NEAR(a.enclosedArea, k * k, 1e-6);
  EXPECT_EQ(a.verdict(), "tiles without gaps or overlaps");
}

// Thin triangles round one point: a vertex where 8 000 faces meet.
TEST(AtScale, FanOfTrianglesMeetsAtOneVertex) {
  constexpr int n = 8000;
  const Analysis a = faces::analyse(drawings::fan(n));
  EXPECT_EQ(a.facesBySides(), (std::map<int, int>{{3, n}}));
  ASSERT_EQ(a.interior.size(), 1u);
  EXPECT_NEAR(std::hypot(a.interior[0].at.x, a.interior[0].at.y), 0, 1e-9);
  std::string all = "3";
  for (int i = 1; i < n; ++i) all += ".3";
  EXPECT_EQ(a.interior[0].configuration, all);
  const double radius = n / (2 * std::numbers::pi);
  const double polygon = n * radius * radius * std::sin(2 * std::numbers::pi / n) / 2;
  EXPECT_NEAR(a.enclosedArea, polygon, 1e-6 * polygon);
  EXPECT_NEAR(a.faceArea, polygon, 1e-6 * polygon);
}

// Segments from one point, every one of them a loose end.
TEST(AtScale, StarOfSegmentsIsAllDangles) {
  constexpr int n = 30000;
  std::vector<Segment2> star;
  for (int i = 0; i < n; ++i) {
    const double t = 2 * std::numbers::pi * i / n, length = 1000 + (i % 7) * 100;
    star.push_back({{5, 5}, {5 + length * std::cos(t), 5 + length * std::sin(t)}});
  }
  const Analysis a = faces::analyse(star);
  EXPECT_TRUE(a.faces.empty());
  EXPECT_EQ(a.count(ProblemKind::dangle), n);
  EXPECT_EQ(a.edges.size(), std::size_t(n));
}

// Rings inside rings, triangles inside and outside them, loose trees: only
// what no other piece holds adds to the enclosed area.
TEST(AtScale, NestedPiecesAddOnlyTheOutermost) {
  std::vector<Segment2> drawing;
  auto square = [&](double x, double y, double side) {
    const Vec2 c[4] = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
    for (int m = 0; m < 4; ++m) drawing.push_back({c[m], c[(m + 1) % 4]});
  };
  for (int s = 1; s <= 40; ++s) square(-s, -s, 2 * s);  // outermost 80 x 80
  double outside = 0;
  for (int i = 0; i < 60; ++i)
    for (int j = 0; j < 60; ++j) {
      const double x = -150 + 5 * i, y = -150 + 5 * j;
      if (std::abs(x) < 45 && std::abs(y) < 45) {
        drawing.push_back({{x + 0.2, y + 0.1}, {x + 0.9, y + 0.1}});  // a tree inside
        continue;
      }
      const Vec2 t[3] = {{x, y}, {x + 2, y}, {x, y + 1}};
      for (int m = 0; m < 3; ++m) drawing.push_back({t[m], t[(m + 1) % 3]});
      outside += 1;
    }
  // And one far off, which must not crowd the rest together.
  const Vec2 far[3] = {{1e6, 1e6}, {1e6 + 2, 1e6}, {1e6, 1e6 + 1}};
  for (int m = 0; m < 3; ++m) drawing.push_back({far[m], far[(m + 1) % 3]});
  outside += 1;
  const Analysis a = faces::analyse(drawing);
  EXPECT_NEAR(a.enclosedArea, 80 * 80 + outside, 1e-6);
}

// --- Refusals that keep the analysis from taking minutes

TEST(AtScale, TooManyEdgesAtOnePointAreRefused) {
  try {
    faces::analyse(drawings::fan(25000));
    FAIL() << "no refusal";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("25000 edges meet"), std::string::npos) << e.what();
  }
}

TEST(AtScale, LongSegmentsPackedSideBySideAreRefused) {
  std::vector<Segment2> lines;
  for (int i = 0; i < 20000; ++i) lines.push_back({{0, i * 0.01}, {1000, i * 0.01}});
  try {
    faces::analyse(lines);
    FAIL() << "no refusal";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("too crowded"), std::string::npos) << e.what();
  }
}

// --- The helpers against a search through every pair

// Clumps of end points, some a hair inside the weld radius of each other,
// some a hair outside, some in chains, some far out.
std::vector<Segment2> clumpedSegments(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> at(0, 3), unit(0, 1);
  const double steps[] = {0, 1e-6, 0.5 * faces::weldRadius, 0.999 * faces::weldRadius,
                          1.001 * faces::weldRadius, 1.4 * faces::weldRadius, 2.9 * faces::weldRadius};
  std::vector<Vec2> ends;
  while (ends.size() < 3000) {
    Vec2 p{at(random), at(random)};
    if (ends.size() % 500 == 0) p = {p.x * 1e7, p.y * 1e7};
    for (int n = int(unit(random) * 40); n >= 0; --n) {
      ends.push_back(p);
      const double step = steps[std::size_t(unit(random) * 7)], turn = unit(random) * 2 * std::numbers::pi;
      p = {p.x + step * std::cos(turn), p.y + step * std::sin(turn)};
    }
  }
  std::shuffle(ends.begin(), ends.end(), random);
  std::vector<Segment2> out;
  for (std::size_t k = 0; k + 1 < ends.size(); k += 2) out.push_back({ends[k], ends[k + 1]});
  return out;
}

TEST(AgainstEveryPair, WeldingJoinsExactlyThePointsWithinTheRadius) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::vector<Segment2> drawn = clumpedSegments(seed);
    std::vector<Vec2> ends;
    for (const Segment2& s : drawn) ends.push_back(s.a), ends.push_back(s.b);
    // Components of "within the radius" by flooding through every pair.
    std::vector<int> component(ends.size(), -1);
    int components = 0;
    for (std::size_t start = 0; start < ends.size(); ++start) {
      if (component[start] >= 0) continue;
      std::vector<std::size_t> todo{start};
      component[start] = components;
      while (!todo.empty()) {
        const std::size_t i = todo.back();
        todo.pop_back();
        for (std::size_t j = 0; j < ends.size(); ++j)
          if (component[j] < 0 && std::hypot(ends[i].x - ends[j].x, ends[i].y - ends[j].y) <= faces::weldRadius)
            component[j] = components, todo.push_back(j);
      }
      ++components;
    }
    EXPECT_EQ(faces::weldEnds(drawn).points.size(), std::size_t(components)) << "seed " << seed;
  }
}

bool crosses(Vec2 p, Vec2 q, Vec2 r, Vec2 s) {
  auto side = [](Vec2 a, Vec2 b, Vec2 c) {
    const double d = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (d > 0) - (d < 0);
  };
  return side(p, q, r) * side(p, q, s) < 0 && side(r, s, p) * side(r, s, q) < 0;
}

// Stars of spokes of many lengths, through and around each other, among
// random segments: the cells that pass over a star's spokes at one go, or
// look only along a direction, must still find every crossing.
faces::Welded starsAndStrays(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<Segment2> drawn;
  for (int star = 0; star < 6; ++star) {
    const Vec2 hub{unit(random) * 40, unit(random) * 40};
    for (int i = 0; i < 300; ++i) {
      const double t = unit(random) * 2 * std::numbers::pi, length = 0.1 + unit(random) * 25;
      drawn.push_back({hub, {hub.x + length * std::cos(t), hub.y + length * std::sin(t)}});
    }
  }
  for (int i = 0; i < 1500; ++i) {
    const Vec2 p{unit(random) * 50, unit(random) * 50};
    const double t = unit(random) * 2 * std::numbers::pi, length = unit(random) * 3;
    drawn.push_back({p, {p.x + length * std::cos(t), p.y + length * std::sin(t)}});
  }
  return faces::weldEnds(drawn);
}

TEST(AgainstEveryPair, CrossingPairsAreEveryPairThatCrosses) {
  for (unsigned seed : {4u, 5u}) {
    const faces::Welded w = starsAndStrays(seed);
    std::vector<std::pair<int, int>> expected;
    for (int k = 0; k < int(w.segments.size()); ++k)
      for (int j = k + 1; j < int(w.segments.size()); ++j) {
        const auto [a, b] = w.segments[k];
        const auto [c, d] = w.segments[j];
        if (crosses(w.points[a], w.points[b], w.points[c], w.points[d])) expected.emplace_back(k, j);
      }
    ASSERT_GT(expected.size(), 1000u);
    std::vector<std::pair<int, int>> found = faces::crossingPairs(w, faces::SegmentCells(w), SIZE_MAX);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected) << "seed " << seed;
  }
}

TEST(AgainstEveryPair, EntangledAreTheSegmentsThatCrossOrComeNearAnEnd) {
  for (unsigned seed : {6u, 7u}) {
    faces::Welded w = starsAndStrays(seed);
    faces::cutAtPoints(w, faces::SegmentCells(w));
    std::vector<char> expected(w.segments.size(), 0), touched(w.points.size(), 0);
    for (int k = 0; k < int(w.segments.size()); ++k) {
      const auto [a, b] = w.segments[k];
      for (int j = k + 1; j < int(w.segments.size()); ++j) {
        const auto [c, d] = w.segments[j];
        if (crosses(w.points[a], w.points[b], w.points[c], w.points[d])) expected[k] = expected[j] = 1;
      }
      const Vec2 s = w.points[a], e = w.points[b];
      for (int p = 0; p < int(w.points.size()); ++p) {
        if (p == a || p == b) continue;
        const Vec2 q = w.points[p];
        const double dx = e.x - s.x, dy = e.y - s.y;
        const double t = std::clamp(((q.x - s.x) * dx + (q.y - s.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        if (std::hypot(q.x - s.x - t * dx, q.y - s.y - t * dy) <= 0.999 * faces::weldRadius)
          expected[k] = touched[p] = 1;
      }
    }
    for (int k = 0; k < int(w.segments.size()); ++k)
      if (touched[w.segments[k].first] || touched[w.segments[k].second]) expected[k] = 1;
    const faces::SegmentCells cells(w);
    const std::vector<char> found = faces::entangled(w, cells);
    // Handed the crossings found beforehand, it marks the same segments.
    EXPECT_EQ(faces::entangled(w, cells, faces::crossingPairs(w, cells, SIZE_MAX)), found) << "seed " << seed;
    for (int k = 0; k < int(w.segments.size()); ++k)
      if (expected[k]) {
        EXPECT_TRUE(found[k]) << "segment " << k << ", seed " << seed;
      }
  }
}

// Shapes turned, moved, mirrored and shaken up to about what the fit
// allows, among unrelated ones: the index offers every model that fits.
TEST(AgainstEveryPair, ShapeIndexOffersEveryModelThatFits) {
  std::mt19937 random(8);
  std::uniform_real_distribution<double> unit(0, 1);
  auto shape = [&](int corners) {
    std::vector<Vec2> ring;
    for (int k = 0; k < corners; ++k) {
      const double t = 2 * std::numbers::pi * (k + 0.3 * unit(random)) / corners, r = 1 + 0.4 * unit(random);
      ring.push_back({r * std::cos(t), r * std::sin(t)});
    }
    return ring;
  };
  auto moved = [&](std::vector<Vec2> ring, bool mirror, double shake) {
    const double t = unit(random) * 2 * std::numbers::pi, dx = unit(random) * 50, dy = unit(random) * 50;
    for (Vec2& p : ring) {
      if (mirror) p.y = -p.y;
      p = {dx + std::cos(t) * p.x - std::sin(t) * p.y + shake * (unit(random) - 0.5),
           dy + std::sin(t) * p.x + std::cos(t) * p.y + shake * (unit(random) - 0.5)};
    }
    if (mirror) std::reverse(ring.begin(), ring.end());
    return ring;
  };
  std::vector<faces::Face> models;
  faces::ShapeIndex index;
  for (int c = 0; c < 600; ++c) {
    models.push_back(faces::measureFace(shape(3 + c % 4)));
    index.add(models.back(), c);
  }
  int fits = 0;
  for (int q = 0; q < 2000; ++q) {
    const faces::Face& model = models[std::size_t(unit(random) * models.size())];
    const faces::Face face =
        faces::measureFace(moved(model.corners, q % 2 == 1, (q % 3) * 1.5 * faces::fitDistance));
    std::vector<int> offered;
    index.forCandidates(face, [&](int c) {
      offered.push_back(c);
      return false;
    });
    for (int c = 0; c < int(models.size()); ++c)
      if (faces::fitShape(models[c], face)) {
        ++fits;
        EXPECT_TRUE(std::binary_search(offered.begin(), offered.end(), c)) << "query " << q << ", class " << c;
      }
  }
  EXPECT_GE(fits, 800);  // most copies, shaken up to near the limit, still fit
}

// Walks inside walks, side by side, and round trees of edges that hold
// nothing: each walk starts at its leftmost point.
TEST(Nesting, EachWalkIsInsideWhatHoldsIt) {
  auto box = [](double x0, double y0, double x1, double y1) {
    return std::vector<Vec2>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  };
  const std::vector<std::vector<Vec2>> walks{
      box(0, 0, 100, 100),                   // 0: outermost
      box(10, 10, 40, 40),                   // 1: in 0
      box(20, 20, 30, 30),                   // 2: in 1
      box(50, 10, 90, 40),                   // 3: in 0, beside 1
      {{60, 20}, {70, 20}, {60, 20}},        // 4: a tree in 3
      {{65, 22}, {66, 22}, {66, 23}},        // 5: in 3, right of the tree
      box(120, 0, 130, 10),                  // 6: outside everything
      {{-50, 50}, {-10, 50}, {-50, 50}},     // 7: a tree outside, left of 0
      box(5, 60, 8, 95),                     // 8: in 0, left of the others
  };
  const std::vector<char> encloses{1, 1, 1, 1, 0, 1, 1, 0, 1};
  const std::vector<char> expected{0, 1, 1, 1, 1, 1, 0, 0, 1};
  EXPECT_EQ(faces::insideAnother(walks, encloses), expected);
}

}  // namespace
