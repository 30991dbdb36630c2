// Every program's web page in headless chromium next to its native window on
// the private display: the same first picture, the same picture after the
// same real left, right and middle drags, the same printed words; a page on
// a phone; and the index and the page without WebGL.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace fs = std::filesystem;

namespace {

using testbed::Image;
using tools::TilingProgram;

// The drags of web/test/drive.mjs as xdotool commands on the window: a
// left, right and middle drag, and a left drag with a wheel click on its way
// (whose release ends the drag).
struct Drag {
  const char* shot;
  const char* commands;  // WINDOW stands for the window id
};
constexpr Drag drags[] = {
    {"pan", "mousemove --window WINDOW 100 350 mousedown 1 mousemove --window WINDOW 1000 330 mouseup 1"},
    {"turn", "mousemove --window WINDOW 500 300 mousedown 3 mousemove --window WINDOW 400 300 mouseup 3"},
    {"zoom", "mousemove --window WINDOW 500 300 mousedown 2 mousemove --window WINDOW 530 510 mouseup 2"},
    {"wheel", "mousemove --window WINDOW 100 350 mousedown 1 mousemove --window WINDOW 150 350 "
              "click 5 mousemove --window WINDOW 1000 350 mouseup 1"},
};

std::string forWindow(std::string commands, const std::string& window) {
  for (std::size_t at; (at = commands.find("WINDOW")) != std::string::npos;)
    commands.replace(at, 6, window);
  return commands;
}

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Skips the calling test where chromium cannot be installed (Ubuntu ships
// it only as a snap).
bool haveChromium() {
  return testbed::runCommand("test -x /usr/bin/chromium").status == 0;
}

testbed::CommandResult drive(const std::string& args) {
  return testbed::runCommand("cd " WEB_DIR " && timeout 200 node test/drive.mjs " + args +
                             " 2>&1");
}

// Drawn pixels: anything clearly away from the clear colour, dark or not.
bool ink(testbed::Pixel p) {
  return std::abs(p.r - 230) + std::abs(p.g - 230) + std::abs(p.b - 204) > 90;
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  long count = 0;
};

Box inkBox(const Image& image) {
  Box box;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (ink(image.at(x, y))) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
        ++box.count;
      }
  return box;
}

// The share of a's drawn pixels that b draws within one pixel.
double inkMatched(const Image& a, const Image& b) {
  long drawn = 0, matched = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      if (!ink(a.at(x, y))) continue;
      ++drawn;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) {
          const int u = x + dx, v = y + dy;
          near = u >= 0 && v >= 0 && u < b.width && v < b.height && ink(b.at(u, v));
        }
      matched += near;
    }
  return drawn ? double(matched) / double(drawn) : 0;
}

// Same framing (the drawn pixels' bounding box within 2 pixels), as much ink
// (within 3 %), and the same drawing (98 % of either's ink has the other's
// within a pixel). SwiftShader and llvmpipe agree to the pixel almost
// everywhere; a pan drag that lost its step already leaves only 40 % matched.
void expectSamePicture(const Image& web, const Image& native, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_EQ(web.width, 1024);
  ASSERT_EQ(web.height, 700);
  const Box w = inkBox(web), n = inkBox(native);
  ASSERT_GT(n.count, 100);
  EXPECT_NEAR(w.left, n.left, 2);
  EXPECT_NEAR(w.right, n.right, 2);
  EXPECT_NEAR(w.top, n.top, 2);
  EXPECT_NEAR(w.bottom, n.bottom, 2);
  EXPECT_NEAR(double(w.count) / double(n.count), 1.0, 0.03);
  EXPECT_GE(inkMatched(web, native), 0.98);
  EXPECT_GE(inkMatched(native, web), 0.98);
}

class EveryPage : public ::testing::TestWithParam<TilingProgram> {};

TEST_P(EveryPage, DrawsNavigatesAndPrintsLikeTheNativeWindow) {
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed (Ubuntu has it only as a snap)";
  const std::string name(GetParam().name);
  const std::string out = fs::temp_directory_path() / ("web-page-test-" + name + "-" +
                                                       std::to_string(::getpid()));
  fs::create_directories(out);
  const testbed::CommandResult browser = drive("page " WEB_SITE " " + name + " " + out);
  ASSERT_EQ(browser.status, 0) << browser.output;

  testbed::RunningProgram program(name);
  const unsigned long window = program.window();
  const std::string id = std::to_string(window);
  expectSamePicture(testbed::readPicture(out + "/start.png"), testbed::screenshot(window),
                    "first frame");
  for (const Drag& d : drags) {
    testbed::xdotool(forWindow(d.commands, id));
    expectSamePicture(testbed::readPicture(out + "/" + d.shot + ".png"),
                      testbed::screenshot(window), std::string("after the ") + d.shot + " drag");
  }

  // The words printed at start-up, on the page and as one console message.
  const std::string words = program.standardOutput();
  std::string shown = readText(out + "/output.txt");
  while (!shown.empty() && shown.back() == '\n') shown.pop_back();
  EXPECT_EQ(shown, words);
  if (!words.empty()) {
    std::vector<std::string> messages;
    std::istringstream console(readText(out + "/console.txt"));
    for (std::string line; std::getline(console, line);) messages.push_back(line);
    EXPECT_NE(std::find(messages.begin(), messages.end(), words), messages.end());
  }
  fs::remove_all(out);
}

INSTANTIATE_TEST_SUITE_P(Web, EveryPage, ::testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

// Each card opens with the group the native analysis wrote into
// docs/identity.tsv for its tiling, in the order given.
void expectCardsOf(const std::vector<std::string>& cards, std::span<const TilingProgram> tilings) {
  std::map<std::string, std::string> groups;
  std::ifstream table(WEB_DIR "/../docs/identity.tsv");
  for (std::string row; std::getline(table, row);) {
    if (row.empty() || row[0] == '#') continue;
    const std::size_t a = row.find('\t'), b = row.find('\t', a + 1), c = row.find('\t', b + 1);
    groups[row.substr(0, a)] = row.substr(a + 1, b - a - 1) + " (" + row.substr(b + 1, c - b - 1) + ")";
  }
  ASSERT_EQ(cards.size(), tilings.size());
  for (std::size_t k = 0; k < cards.size(); ++k) {
    const std::string& group = groups[std::string(tilings[k].name)];
    EXPECT_EQ(cards[k].substr(cards[k].find_first_not_of(' '), group.size()), group) << cards[k];
  }
}

// drive.mjs's listing of a page's entries: an entry's fields on a line,
// tab separated, and its identity card on the line after it.
std::pair<std::vector<std::string>, std::vector<std::string>> entriesAndCards(const std::string& listing) {
  std::vector<std::string> entries, cards;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);)
    (line.find('\t') != std::string::npos ? entries : cards).push_back(line);
  return {entries, cards};
}

// Each entry's first line is its link, picture, link to the explorer and
// summary; its identity card follows on the next, and opens with the group
// the native analysis wrote into docs/identity.tsv.
TEST(WebSite, IndexLinksEveryPageWithItsPictureAndSummary) {
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed (Ubuntu has it only as a snap)";
  const testbed::CommandResult index = drive("index " WEB_SITE);
  ASSERT_EQ(index.status, 0) << index.output;
  const auto [entries, cards] = entriesAndCards(index.output);
  std::vector<std::string> expected;
  for (const TilingProgram& p : tools::tilingPrograms())
    expected.push_back(std::string(p.name) + ".html\t1\texplore.html?tiling=" +
                       std::string(p.name) + "&keep=\t" + std::string(p.name) + " " + std::string(p.summary));
  EXPECT_EQ(entries, expected);
  expectCardsOf(cards, tools::tilingPrograms());
}

// The atlas page: each entry's picture opens it in the explorer, where it
// tiles and has something to move; its card is the native analysis's.
TEST(WebSite, AtlasShowsEveryEntryAndItsPictureOpensItInTheExplorer) {
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed (Ubuntu has it only as a snap)";
  const testbed::CommandResult atlas = drive("atlas " WEB_SITE);
  ASSERT_EQ(atlas.status, 0) << atlas.output;
  const auto [entries, cards] = entriesAndCards(atlas.output);
  std::vector<std::string> expected;
  for (const TilingProgram& p : tools::atlasTilings())
    expected.push_back("explore.html?tiling=" + std::string(p.name) + "&keep=\t1\t-\t" + std::string(p.name) + " " +
                       std::string(p.summary));
  EXPECT_EQ(entries, expected);
  expectCardsOf(cards, tools::atlasTilings());
  for (const char* name : {"pentagon-type-15", "archimedean-4.8.8"}) {
    const testbed::CommandResult opened = drive(std::string("link " WEB_SITE " 'tiling=") + name + "&keep='");
    ASSERT_EQ(opened.status, 0) << opened.output;
    EXPECT_NE(opened.output.find(std::string("status\t") + name + ": tiles without gaps or overlaps"),
              std::string::npos)
        << opened.output;
    EXPECT_NE(opened.output.find(" of freedom"), std::string::npos) << opened.output;
  }
}

// On a phone (390 x 844 CSS pixels at pixel ratio 3, touch) the 1024 x 700
// canvas is shown the screen's width without sideways scroll, and a real
// one-finger drag draws what the same left-button drag draws.
TEST(WebSite, OnAPhoneAPageFitsAndOneFingerPansAsTheLeftButton) {
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed (Ubuntu has it only as a snap)";
  const std::string out = fs::temp_directory_path() / ("web-phone-test-" + std::to_string(::getpid()));
  fs::create_directories(out);
  const testbed::CommandResult page = drive("phonepage " WEB_SITE " pentatile1 " + out);
  ASSERT_EQ(page.status, 0) << page.output;
  double scrolled = 0, shown = 0, width = 0, height = 0;
  std::sscanf(page.output.c_str(), "fit\t%lf\t%lf\ncanvas\t%lf\t%lf", &scrolled, &shown, &width, &height);
  EXPECT_EQ(scrolled, 390) << page.output;
  EXPECT_EQ(shown, 390);
  EXPECT_NEAR(width, 390, 0.5);
  EXPECT_NEAR(height, 390.0 * 700 / 1024, 0.5);
  const Image start = testbed::readPicture(out + "/start.png");
  const Image finger = testbed::readPicture(out + "/finger.png");
  const Image mouse = testbed::readPicture(out + "/mouse.png");
  EXPECT_GE(inkMatched(finger, mouse), 0.98);
  EXPECT_GE(inkMatched(mouse, finger), 0.98);
  // The framework pans little on the screen; the drag went right.
  EXPECT_GT(inkBox(finger).left, inkBox(start).left) << "the drag did not pan";
  fs::remove_all(out);
}

TEST(WebSite, WithoutWebglAPageSaysSoInsteadOfABlankCanvas) {
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed (Ubuntu has it only as a snap)";
  const testbed::CommandResult page = drive("nowebgl " WEB_SITE " mixtile1");
  ASSERT_EQ(page.status, 0) << page.output;
  EXPECT_EQ(page.output.substr(0, 2), "0\n") << "the canvas still shows";
  EXPECT_NE(page.output.find("cannot draw with WebGL"), std::string::npos) << page.output;
}

}  // namespace
