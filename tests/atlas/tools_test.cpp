// The tools take every atlas name where they take a program's: the
// analysis with its verdict, the pictures and segments, and a cut file.
#include <gtest/gtest.h>

#include <filesystem>

#include "atlas/atlas.h"
#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace atlas {
inline void PrintTo(const Entry& e, std::ostream* out) { *out << e.name; }
}  // namespace atlas

namespace {

using testbed::runCommand;

const std::string analyser = testbed::programPath("tilings-analyse");
const std::string exporter = testbed::programPath("tilings-export");

class EveryName : public ::testing::TestWithParam<atlas::Entry> {
 protected:
  const std::string name{GetParam().name};
};

TEST_P(EveryName, AnalysesAsATiling) {
  const testbed::CommandResult r = runCommand(analyser + " " + name);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("verdict: tiles without gaps or overlaps"), std::string::npos) << r.output;
}

TEST_P(EveryName, ExportsInEveryFormat) {
  for (const char* format : {"", " --fill", " --segments"}) {
    const testbed::CommandResult r = runCommand(exporter + " " + name + format);
    EXPECT_EQ(r.status, 0) << format;
    EXPECT_FALSE(r.output.empty()) << format;
  }
}

INSTANTIATE_TEST_SUITE_P(Atlas, EveryName, ::testing::ValuesIn(atlas::entries().begin(), atlas::entries().end()),
                         [](const auto& info) {
                           std::string n(info.param.name);
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

TEST(AtlasTools, PngAndCutFilesOfAnEntry) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "atlas-tools-test";
  std::filesystem::create_directories(dir);
  const std::string png = (dir / "t5.png").string(), cut = (dir / "t2.pdf").string();
  EXPECT_EQ(runCommand(exporter + " pentagon-type-5 --png -o " + png).status, 0);
  EXPECT_GT(std::filesystem::file_size(png), 1000u);
  EXPECT_EQ(runCommand(exporter + " pentagon-type-2 --cut --size 200x150mm -o " + cut).status, 0);
  EXPECT_GT(std::filesystem::file_size(cut), 500u);
  std::filesystem::remove_all(dir);
}

TEST(AtlasTools, AllAnalysesTheAtlasToo) {
  const testbed::CommandResult r = runCommand(analyser + " all");
  EXPECT_EQ(r.status, 0);
  for (const atlas::Entry& e : atlas::entries())
    EXPECT_NE(r.output.find(std::string(e.name) + ":"), std::string::npos) << e.name;
}

}  // namespace
