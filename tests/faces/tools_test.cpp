// tilings-analyse and the filled pictures of tilings-export, run as commands:
// bad input is refused with a clear word and status, a drawing exported as
// segments analyses as the program itself, and the pictures show the faces.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

using testbed::runCommand;

const std::string analyser = testbed::programPath("tilings-analyse");
const std::string exporter = testbed::programPath("tilings-export");

std::string scratchFile(const std::string& text) {
  char path[] = "/tmp/tilings-analyse-XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
  close(fd);
  return path;
}

struct BadInput {
  const char* what;
  const char* text;  // the segments file; nullptr: the arguments alone
  const char* args;
  int status;
  const char* says;
};

const BadInput badInputs[] = {
    {"ShortLine", "0 0 1 0\n1 0 1\n", "--segments FILE", 1, "line 2: expected four numbers"},
    {"Word", "0 0 1 0\n\n# note\n1 0 x 1\n", "--segments FILE", 1, "line 4: expected four numbers"},
    {"NotFinite", "0 0 nan 1\n", "--segments FILE", 1, "line 1: a number that is not finite"},
    {"Overflow", "0 0 1e999 1\n", "--segments FILE", 1, "line 1: a number that is not finite"},
    {"Empty", "", "--segments FILE", 1, "no segments"},
    {"NothingClosed", "0 0 1 0\n1 0 1 1\n", "--segments FILE", 1, "close no face"},
    {"MissingFile", nullptr, "--segments /nonexistent/segments", 1, "cannot open"},
    {"UnknownName", nullptr, "hexatile", 2, "the tilings are:\n  deltatile"},
    {"NoArguments", nullptr, "", 2, "usage:"},
    {"NameAndFile", nullptr, "deltatile --segments -", 2, "usage:"},
};

class RefusesBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(RefusesBadInput, WithItsStatusAndAClearWord) {
  const BadInput& bad = GetParam();
  std::string args = bad.args;
  if (bad.text != nullptr) {
    const std::string file = scratchFile(bad.text);
    args.replace(args.find("FILE"), 4, file);
  }
  const testbed::CommandResult r = runCommand(analyser + " " + args + " 2>&1 >/dev/null");
  EXPECT_EQ(r.status, bad.status);
  EXPECT_NE(r.output.find(bad.says), std::string::npos) << r.output;
}

INSTANTIATE_TEST_SUITE_P(Analyse, RefusesBadInput, ::testing::ValuesIn(badInputs),
                         [](const auto& info) { return std::string(info.param.what); });

class EveryProgram : public ::testing::TestWithParam<tools::TilingProgram> {};

// The segments written by the exporter carry the whole drawing, to the bit:
// analysed from standard input they give the same JSON as the program, up
// to the family's representatives: a file has no given points, so its
// representatives are the vertices nearest its middle, not the explorer's.
std::string upToRepresentatives(const std::string& json) {
  const std::size_t family = json.find("\"family\": {");
  if (family == std::string::npos) return json;
  return json.substr(0, json.find(", \"vertices\": [", family));
}

TEST_P(EveryProgram, ExportedSegmentsAnalyseAsTheProgram) {
  const std::string name(GetParam().name);
  const testbed::CommandResult byName = runCommand(analyser + " " + name + " --json");
  const testbed::CommandResult byFile = runCommand(
      exporter + " " + name + " --segments | " + analyser + " --segments - --json");
  ASSERT_EQ(byName.status, 0);
  ASSERT_EQ(byFile.status, 0);
  const std::string tail = byName.output.substr(byName.output.find(", \"segments\""));
  EXPECT_EQ(upToRepresentatives(byFile.output), upToRepresentatives("{\"name\": \"standard input\"" + tail));
  for (const char* key : {"\"faces\": {", "\"classes\": [", "\"sides\": ", "\"count\": ",
                          "\"orientations\": ", "\"mirrored\": ", "\"area\": ",
                          "\"vertices\": {", "\"problems\": {\"crossings\": ", "\"dangles\": ",
                          "\"slivers\": ", "\"locations\": ["})
    EXPECT_NE(byName.output.find(key), std::string::npos) << key;
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EveryProgram, ::testing::ValuesIn(tools::tilingPrograms().begin(), tools::tilingPrograms().end()));

std::size_t countOf(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// One filled path per face, one red circle per crossing and sliver; the PNG
// is that picture, in its colours.
TEST(FilledPicture, ShowsEveryFaceAndEveryProblem) {
  const testbed::CommandResult report = runCommand(analyser + " pentatile2 --json");
  const testbed::CommandResult svg = runCommand(exporter + " pentatile2 --fill");
  ASSERT_EQ(svg.status, 0);
  const auto number = [&](const std::string& key) {
    return std::stoi(report.output.substr(report.output.find("\"" + key + "\": ") + key.size() + 4));
  };
  int faces = 0;
  for (int sides = 3; sides <= 12; ++sides) {
    const std::string key = std::to_string(sides);
    if (report.output.find('"' + key + "\": ") != std::string::npos) faces += number(key);
  }
  EXPECT_EQ(countOf(svg.output, "<path fill="), std::size_t(faces));
  EXPECT_EQ(countOf(svg.output, "<circle "), std::size_t(number("crossings") + number("slivers")));
  EXPECT_GT(countOf(svg.output, "<path fill=\"#d01010\""), 0u);

  const std::string png = scratchFile("") + ".png";
  ASSERT_EQ(runCommand(exporter + " pentatile2 --png -o " + png).status, 0);
  const testbed::Image picture = testbed::readPicture(png);
  ASSERT_GT(picture.width, 500);
  std::set<std::tuple<int, int, int>> colours;
  std::size_t red = 0;
  for (const testbed::Pixel& p : picture.pixels) {
    colours.insert({p.r, p.g, p.b});
    red += p.r == 0xd0 && p.g == 0x10 && p.b == 0x10;
  }
  EXPECT_GT(colours.size(), 10u);  // class fills, edges and their blends
  EXPECT_GT(red, 0u);
}

TEST(FilledPicture, UnwritableFileLeavesNothing) {
  const testbed::CommandResult r =
      runCommand(exporter + " deltatile --png -o /nonexistent/deltatile.png 2>&1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("cannot write /nonexistent/deltatile.png"), std::string::npos);
}

}  // namespace
