// One tile-keeping drag step of the family, as the explorer takes it on a
// motion event with the tiles kept congruent: a vertex stepped back and
// forth by 1 % of the period's size, projected onto the shapes that keep
// the tiles and checked to tile. The drawing itself is not rebuilt
// (explore-symmetry/NAME measures that).
//   family-keeping/NAME/GROUP   the first vertex orbit free to move;
//   family-keeping/NAME/GROUP/period   the period u, the same way.
#include <benchmark/benchmark.h>

#include <string>

#include "family/congruent.h"
#include "family/family.h"
#include "family/moves.h"
#include "symmetry/identity.h"
#include "tools/registry.h"

namespace {

struct Kept {
  family::Family family;
  family::Shape shape;
  family::TileKeeping keep;
};

std::optional<Kept> keptOf(const char* name, const std::string& group) {
  const faces::Analysis a = faces::analyse(faces::sceneSegments(tools::builtScene(*tools::findTilingProgram(name))));
  const symmetry::Identity id = symmetry::identify(a);
  for (const family::KeptGroup& g : family::groupsOnOffer(id)) {
    if (g.name != group) continue;
    family::Found found = family::familyOf(a, id, g);
    if (!found.family) return std::nullopt;
    Kept k{*found.family, found.shape, {}};
    k.keep = family::congruenceOf(k.family, k.shape, a);
    return k;
  }
  return std::nullopt;
}

void keepingStep(benchmark::State& state, const char* name, std::string group, bool period) {
  const std::optional<Kept> k = keptOf(name, group);
  if (!k) {
    state.SkipWithError("no family");
    return;
  }
  const family::Family& f = k->family;
  const std::vector<bool> free = family::freeOrbits(f, k->shape, k->keep);
  int orbit = 0;
  while (orbit < int(free.size()) && !free[orbit]) ++orbit;
  if (!period && orbit == int(free.size())) {
    state.SkipWithError("no vertex moves");
    return;
  }
  family::Shape s = k->shape;
  const faces::Vec2 home = period ? s.u : family::representativeAt(f, s, orbit);
  const double step = 0.01 * f.size;
  bool there = false;
  int moved = 0;
  for (auto _ : state) {
    there = !there;
    const faces::Vec2 to{home.x + (there ? step : 0), home.y - (there ? step / 2 : 0)};
    moved += period ? family::movePeriod(f, s, 0, to, &k->keep)
                    : family::moveVertex(f, s, {f.orbits[orbit].representative, 0, 0}, to, &k->keep);
    benchmark::DoNotOptimize(s);
  }
  state.counters["moved"] = benchmark::Counter(moved, benchmark::Counter::kAvgIterations);
  state.counters["equations"] = double(family::mismatchOf(f, s, k->keep).size());
}

const bool registered = [] {
  const std::pair<const char*, const char*> cases[] = {
      {"pentatile5", "p2"}, {"pentatile6", "p2"}, {"pentatile7", "pgg"}, {"pentatile7", "p1"}};
  for (const auto& [name, group] : cases)
    for (const bool period : {false, true})
      benchmark::RegisterBenchmark(
          ("family-keeping/" + std::string(name) + "/" + group + (period ? "/period" : "")).c_str(), keepingStep,
          name, std::string(group), period)
          ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
