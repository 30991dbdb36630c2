// The handles' names on a phone-sized view: placed apart from each other
// and from every handle, for every tiling's handles in both modes as the
// explorer opens them at 390 x 390 pixels, and for handles crowded on
// purpose: on one spot, on another's name, at the window's edge.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "explore/explorer.h"
#include "explore/labels.h"

namespace {

using explore::Box;
using explore::HandleMark;
using explore::LabelSize;
using explore::LabelStyle;

constexpr double side = 390;  // a phone's width, in its page's pixels
const Box window{0, 0, side, side};

// About as wide as the window's 12-pixel font sets it.
LabelSize sizeOf(const std::string& text) { return {7.0 * double(text.size()), 13}; }

struct Placed {
  std::vector<HandleMark> handles;
  std::vector<LabelSize> sizes;
  std::vector<std::optional<Box>> boxes;
};

Placed place(std::vector<HandleMark> handles, const std::vector<std::string>& names) {
  Placed p{std::move(handles), {}, {}};
  for (const std::string& n : names) p.sizes.push_back(sizeOf(n));
  p.boxes = explore::placeLabels(p.handles, p.sizes, window);
  return p;
}

// The explorer's handles as its start-up view shows them in a square
// window `side` pixels wide: the layout's centre in the middle, the view's
// half height up and down.
Placed placeOpened(const explore::Explorer& e) {
  const double half = shape::viewHalfHeight(e.layout, 1), scale = side / 2 / half;
  std::vector<HandleMark> marks;
  std::vector<std::string> names;
  for (const explore::Handle& h : explore::handlesOf(e)) {
    marks.push_back({side / 2 + (h.at.x - e.layout.centre.x) * scale, side / 2 - (h.at.y - e.layout.centre.y) * scale});
    names.push_back(h.name + (h.fixed ? " (fixed)" : ""));
  }
  return place(marks, names);
}

// What a reader checks: no name overprints another name or any handle, each
// shown name sits by its own handle, and the first always shows.
void expectApart(const Placed& p, const std::string& what) {
  const LabelStyle style;
  for (std::size_t k = 0; k < p.boxes.size(); ++k) {
    if (!p.boxes[k]) continue;
    const Box& b = *p.boxes[k];
    EXPECT_NEAR(b.x1 - b.x0, p.sizes[k].width, 1e-9) << what;
    for (std::size_t j = 0; j < p.handles.size(); ++j) {
      const HandleMark h = p.handles[j];
      EXPECT_FALSE(explore::overlap(b, {h.x - style.handle, h.y - style.handle, h.x + style.handle, h.y + style.handle}))
          << what << ": name " << k << " over handle " << j;
    }
    for (std::size_t j = 0; j < k; ++j)
      if (p.boxes[j]) {
        EXPECT_FALSE(explore::overlap(b, *p.boxes[j])) << what << ": names " << j << " and " << k;
      }
    const double nx = std::max({b.x0 - p.handles[k].x, p.handles[k].x - b.x1, 0.0});
    const double ny = std::max({b.y0 - p.handles[k].y, p.handles[k].y - b.y1, 0.0});
    EXPECT_LT(std::hypot(nx, ny), 40) << what << ": name " << k << " far from its handle";
  }
  if (!p.boxes.empty()) {
    EXPECT_TRUE(p.boxes[0]) << what;
  }
}

class EveryTiling : public ::testing::TestWithParam<tools::TilingProgram> {};

TEST_P(EveryTiling, NamesStayApartFromNamesAndHandlesOnAPhone) {
  for (const explore::Mode mode : {explore::Mode::symmetry, explore::Mode::construction}) {
    explore::Explorer e;
    explore::load(e, GetParam(), mode);
    const Placed p = placeOpened(e);
    expectApart(p, std::string(GetParam().name) + (mode == explore::Mode::symmetry ? " symmetry" : " construction"));
    EXPECT_EQ(p.boxes.size(), explore::handlesOf(e).size());
  }
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EveryTiling, testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

// The names, each at its handle's first place, would overprint one another
// somewhere on a phone: pentatile3's coinciding fixed vertices at least.
TEST(Crowded, SomeTilingsCrowdTheirNamesOnAPhone) {
  explore::Explorer e;
  explore::load(e, *tools::findTilingProgram("pentatile3"));
  const Placed p = placeOpened(e);
  int moved = 0, left = 0;
  const LabelStyle style;
  for (std::size_t k = 0; k < p.boxes.size(); ++k) {
    if (!p.boxes[k]) {
      ++left;
      continue;
    }
    const double firstX = p.handles[k].x + style.handle + style.gap;
    if (std::abs(p.boxes[k]->x0 - firstX) > 1e-9 || p.boxes[k]->y1 > p.handles[k].y) ++moved;
  }
  EXPECT_GT(moved + left, 0);
}

// Handles on one spot: the names fan out round it, none over another; once
// every place round it is taken the rest are left out.
TEST(Crowded, HandlesOnOneSpotFanTheirNamesOut) {
  const std::vector<HandleMark> spot(30, HandleMark{195, 195});
  const Placed p = place(spot, std::vector<std::string>(30, "V1"));
  expectApart(p, "one spot");
  int shown = 0;
  for (const auto& b : p.boxes) shown += b.has_value();
  EXPECT_GT(shown, 4);
  EXPECT_LT(shown, 30);
}

// A handle where the first name would go sends that name elsewhere, and a
// handle at the window's right edge has its name on its left, inside.
TEST(Crowded, ANameMakesWayForAHandleAndForTheEdge) {
  const Placed p = place({{100, 100}, {118, 92}}, {"V1 (fixed)", "V2"});
  expectApart(p, "handle on the name");
  ASSERT_TRUE(p.boxes[0] && p.boxes[1]);
  const Placed edge = place({{385, 200}}, {"V3 (fixed)"});
  ASSERT_TRUE(edge.boxes[0]);
  EXPECT_LE(edge.boxes[0]->x1, 385.0);
  EXPECT_GE(edge.boxes[0]->x0, 0.0);
}

// Scaled for a screen of three pixels to the page's, every length grows
// with it: the same names at three times the places.
TEST(Crowded, ScaledPlacesAreThePlacesScaled) {
  const std::vector<HandleMark> at{{100, 100}, {104, 98}, {140, 120}};
  const std::vector<LabelSize> sizes{{40, 13}, {30, 13}, {50, 13}};
  const auto one = explore::placeLabels(at, sizes, window);
  std::vector<HandleMark> at3;
  std::vector<LabelSize> sizes3;
  for (const HandleMark& h : at) at3.push_back({3 * h.x, 3 * h.y});
  for (const LabelSize& s : sizes) sizes3.push_back({3 * s.width, 3 * s.height});
  const auto three =
      explore::placeLabels(at3, sizes3, {0, 0, 3 * side, 3 * side}, LabelStyle{}.scaled(3));
  ASSERT_EQ(one.size(), three.size());
  for (std::size_t k = 0; k < one.size(); ++k) {
    ASSERT_EQ(one[k].has_value(), three[k].has_value()) << k;
    if (one[k]) {
      EXPECT_NEAR(three[k]->x0, 3 * one[k]->x0, 1e-9) << k;
    }
  }
}

}  // namespace
