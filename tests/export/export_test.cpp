// tilings-export run as a command: the SVG it writes is the program's scene,
// segment for segment, and bad input loses nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

namespace fs = std::filesystem;
using testbed::runCommand;

const std::string exporter = testbed::programPath("tilings-export");

struct SvgLine {
  float x1, y1, x2, y2;
  std::string stroke;
};

// The <line> elements of an SVG text, in document order.
std::vector<SvgLine> parseLines(const std::string& svg) {
  std::vector<SvgLine> lines;
  for (std::size_t at = svg.find("<line "); at != std::string::npos;
       at = svg.find("<line ", at + 1)) {
    SvgLine l{};
    char stroke[8] = {};
    if (std::sscanf(svg.c_str() + at,
                    "<line x1=\"%f\" y1=\"%f\" x2=\"%f\" y2=\"%f\" stroke=\"%7[#0-9a-f]\"/>",
                    &l.x1, &l.y1, &l.x2, &l.y2, stroke) == 5) {
      l.stroke = stroke;
      lines.push_back(l);
    }
  }
  return lines;
}

std::size_t countOf(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string hexColour(ColorIndex c) {
  const Rgb& rgb = palette[c];
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", int(std::lround(rgb.red * 255)),
                int(std::lround(rgb.green * 255)), int(std::lround(rgb.blue * 255)));
  return text;
}

std::string scratchDir() {
  char pattern[] = "/tmp/tilings-export-XXXXXX";
  return mkdtemp(pattern);
}

// Pixels darker than 100 in every channel: the drawn edges.
std::size_t darkPixels(const testbed::Image& picture) {
  return std::count_if(picture.pixels.begin(), picture.pixels.end(), [](testbed::Pixel p) {
    return p.r < 100 && p.g < 100 && p.b < 100;
  });
}

class EveryProgram : public ::testing::TestWithParam<tools::TilingProgram> {};

TEST_P(EveryProgram, SvgHoldsEveryStoredSegmentInOrderAndColour) {
  const tools::TilingProgram& program = GetParam();
  const testbed::CommandResult result =
      runCommand(exporter + " " + std::string(program.name) + " 2>/dev/null");
  ASSERT_EQ(result.status, 0);
  clearScene();
  testing::internal::CaptureStdout();
  program.buildScene();
  testing::internal::GetCapturedStdout();
  const std::vector<Segment> segments = Scene.segments;
  clearScene();

  const std::vector<SvgLine> lines = parseLines(result.output);
  EXPECT_EQ(countOf(result.output, "<line "), segments.size());
  EXPECT_EQ(countOf(result.output, "<circle "), 2 * segments.size());
  ASSERT_EQ(lines.size(), segments.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].x1, segments[i].a.x) << "segment " << i;
    EXPECT_EQ(lines[i].y1, segments[i].a.y) << "segment " << i;
    EXPECT_EQ(lines[i].x2, segments[i].b.x) << "segment " << i;
    EXPECT_EQ(lines[i].y2, segments[i].b.y) << "segment " << i;
    EXPECT_EQ(lines[i].stroke, hexColour(segments[i].color)) << "segment " << i;
  }
  // Progress words some programs print never leak into the drawing.
  EXPECT_EQ(result.output.rfind("<?xml", 0), 0u);
}

TEST_P(EveryProgram, SvgIsWellFormedXml) {
  const std::string dir = scratchDir();
  const std::string file = dir + "/" + std::string(GetParam().name) + ".svg";
  ASSERT_EQ(runCommand(exporter + " " + std::string(GetParam().name) + " -o " + file).status, 0);
  const testbed::CommandResult lint = runCommand("xmllint --noout " + file + " 2>&1");
  EXPECT_EQ(lint.status, 0) << lint.output;
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Programs, EveryProgram,
                         ::testing::ValuesIn(tools::tilingPrograms().begin(),
                                             tools::tilingPrograms().end()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExportAll, WritesOneFilePerTilingAndNothingElse) {
  const std::string dir = scratchDir() + "/nested/gallery";
  ASSERT_EQ(runCommand(exporter + " --all " + dir).status, 0);
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    ++files;
    const std::string name = entry.path().stem().string();
    EXPECT_NE(tools::findTilingProgram(name), nullptr) << entry.path();
    EXPECT_EQ(entry.path().extension(), ".svg");
  }
  EXPECT_EQ(files, tools::everyTiling().size());
  fs::remove_all(fs::path(dir).parent_path().parent_path());
}

TEST(ExportErrors, UnknownNameListsTheValidNamesAndExitsTwo) {
  const testbed::CommandResult r = runCommand(exporter + " hexatile 2>&1");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("hexatile"), std::string::npos);
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    EXPECT_NE(r.output.find(std::string(p.name)), std::string::npos) << p.name;
  EXPECT_EQ(runCommand(exporter + " 2>/dev/null").status, 2);
  EXPECT_EQ(runCommand(exporter + " deltatile -x out.svg 2>/dev/null").status, 2);
}

TEST(ExportErrors, MissingFolderSaysWhyAndExitsOne) {
  const testbed::CommandResult r =
      runCommand(exporter + " deltatile -o /nonexistent-folder/d.svg 2>&1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("/nonexistent-folder/d.svg"), std::string::npos);
  EXPECT_NE(r.output.find("No such file or directory"), std::string::npos);
}

TEST(ExportErrors, FailedWriteLeavesNoPartialFileAndKeepsTheOldOne) {
  // The target is a folder: the drawing is written in full beside it, and
  // only the final rename fails. Nothing may be left behind.
  const std::string dir = scratchDir();
  fs::create_directory(dir + "/taken.svg");
  std::ofstream(dir + "/taken.svg/keep") << "old";
  const testbed::CommandResult r =
      runCommand(exporter + " mixtile2 -o " + dir + "/taken.svg 2>&1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("cannot write"), std::string::npos) << r.output;
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename());
  EXPECT_EQ(left, std::vector<std::string>{"taken.svg"});
  EXPECT_TRUE(fs::is_directory(dir + "/taken.svg"));
  fs::remove_all(dir);
}

TEST(ExportInBrowser, DrawingRendersAsDarkLinesOnTheClearColour) {
  if (runCommand("command -v chromium >/dev/null").status != 0)
    GTEST_SKIP() << "chromium is not installed";
  const std::string dir = scratchDir();
  ASSERT_EQ(runCommand(exporter + " quadtile -o " + dir + "/quadtile.svg").status, 0);
  runCommand(
      "cd " + dir + " && timeout 120 chromium --headless --no-sandbox --disable-gpu "
      "--disable-quic --no-first-run --disable-background-networking "
      "--disable-component-update --disable-sync --user-data-dir=" + dir + "/profile "
      "--window-size=800,800 --screenshot=" + dir + "/shot.png file://" + dir +
      "/quadtile.svg >/dev/null 2>&1");
  const testbed::Image picture = testbed::readPicture(dir + "/shot.png");
  ASSERT_GT(picture.width, 0) << "no screenshot from the browser";
  EXPECT_GT(darkPixels(picture), 2000u);
  const std::size_t clear = std::count(picture.pixels.begin(), picture.pixels.end(),
                                       testbed::Pixel{230, 230, 204});
  EXPECT_GT(clear, picture.pixels.size() / 4);
  fs::remove_all(dir);
}

TEST_P(EveryProgram, GalleryHoldsAScreenshotOfItsWindow) {
  const std::string png = std::string(TILINGS_SOURCE_DIR) + "/docs/gallery/" +
                          std::string(GetParam().name) + ".png";
  ASSERT_TRUE(fs::exists(png)) << png;
  const testbed::Image picture = testbed::readPicture(png);
  EXPECT_EQ(picture.width, 1024);
  EXPECT_EQ(picture.height, 700);
  // The tiling sits in the middle of the clear colour: the corner is clear
  // and the middle holds dark edges.
  ASSERT_GT(picture.width, 0);
  ASSERT_EQ(picture.at(0, 0).r, 230);
  EXPECT_EQ(picture.at(0, 0).b, 204);
  EXPECT_GT(darkPixels(picture), 500u);
}

}  // namespace
