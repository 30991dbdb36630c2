// Where a tiling's identity shows: the analysis report and its JSON, the
// table the web site's index reads (docs/identity.tsv, which must say what
// the analysis says now), and the explorer's status while a point is
// dragged off the program's own shape and back.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "explore/explorer.h"
#include "tests/symmetry/drawings.h"
#include "tools/analyse/identity_table.h"
#include "tools/analyse/report.h"
#include "tools/registry.h"

namespace {

std::vector<faces::Segment2> drawing(const char* name) {
  return faces::sceneSegments(tools::builtScene(*tools::findTilingProgram(name)));
}

struct Written {
  std::string text, json;
};
Written written(const std::vector<faces::Segment2>& segments) {
  const faces::Analysis a = faces::analyse(segments);
  const tools::Periodicity p = tools::periodicityOf(a);
  std::ostringstream text, json;
  tools::writeReport(text, "it", segments.size(), a, p);
  tools::writeJson(json, "it", segments.size(), a, p);
  return {text.str(), json.str()};
}

bool holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(Report, NamesGroupOrbitsAndTypes) {
  const Written w = written(drawing("pentatile7"));
  EXPECT_TRUE(holds(w.text, "\n  symmetry: pgg (22x)\n")) << w.text;
  EXPECT_TRUE(holds(
      w.text, "\n  orbits: tiles 2, vertices 4, edges 7 (2-isohedral, 4-isogonal, 7-isotoxal)\n"));
  EXPECT_TRUE(holds(w.text, "36 mirrored, pentagon types 1, 11\n"));
  EXPECT_TRUE(holds(w.json, "\"symmetry\": {\"group\": \"pgg\", \"orbifold\": \"22x\"},\n"))
      << w.json;
  EXPECT_TRUE(holds(w.json, "\"orbits\": {\"tiles\": 2, \"vertices\": 4, \"edges\": 7},\n"));
  EXPECT_TRUE(holds(w.json, "\"types\": [1, 11]}"));
}

TEST(Report, SaysSoWithoutTwoPeriods) {
  const Written w = written(symmetry_test::outlines({{{0, 0}, {4, 0}, {5, 2}, {2, 4}, {-1, 2}}}));
  EXPECT_TRUE(holds(w.text, "\n  symmetry: none (no two independent periods)\n  orbits: none\n"))
      << w.text;
  EXPECT_TRUE(holds(w.text, "no pentagon type\n"));
  EXPECT_TRUE(holds(w.json, "\"symmetry\": null,\n \"orbits\": null,\n")) << w.json;
  EXPECT_TRUE(holds(w.json, "\"types\": []}"));
}

TEST(IdentityTable, IsWhatTheAnalysisGivesNow) {
  std::ifstream file(TILINGS_SOURCE_DIR "/docs/identity.tsv");
  ASSERT_TRUE(file) << "docs/identity.tsv is missing";
  std::stringstream committed;
  committed << file.rdbuf();
  std::string now = tools::identityHeader();
  for (const tools::TilingProgram& p : tools::everyTiling())
    now += tools::identityRow(p.name, faces::sceneSegments(tools::builtScene(p)));
  EXPECT_EQ(committed.str(), now)
      << "write it again: tilings-analyse all --identity > docs/identity.tsv";
}

// pentatile7's pentagon is of types 1 and 11 only while its points keep
// their places; moved, the drawing breaks and keeps no glide.
TEST(Explorer, StatusLosesAndRegainsTypeAndSymmetry) {
  explore::Explorer e;
  explore::load(e, *tools::findTilingProgram("pentatile7"), explore::Mode::construction);
  const std::string own = "pgg (22x), 2-isohedral, 4-isogonal, 7-isotoxal; pentagon types 1, 11";
  EXPECT_EQ(e.feedback.status.identity, own);
  EXPECT_TRUE(holds(e.feedback.status.line(), " | " + own + " | "));
  const std::size_t k = e.points.size() - 1;
  const Point home = e.points[k];
  const float by = float(0.01 * e.layout.size);
  ASSERT_TRUE(explore::movePoint(e, k, Point{home.x + by, home.y - by / 2, 0, 9}));
  EXPECT_FALSE(holds(e.feedback.status.identity, "11")) << e.feedback.status.identity;
  EXPECT_FALSE(holds(e.feedback.status.identity, "pgg")) << e.feedback.status.identity;
  ASSERT_TRUE(explore::movePoint(e, k, home));
  EXPECT_EQ(e.feedback.status.identity, own);
}

}  // namespace
