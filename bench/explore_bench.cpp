// One drag step of tilings-explore for each program, as the window does it
// on every motion event with a handle held: move the point, rebuild the
// explorer's patch by the program's own construction, check it, analyse its
// faces and cut the fills.
//   explore/NAME       the last point stepped back and forth by 1 % of the
//                      shape's size, near the program's own shape;
//   explore/NAME/far   the same steps a third of the size away, where most
//                      pentagon tilings break into crossings and holes.
//   explore-symmetry/NAME  the same in symmetry mode as the explorer opens
//                      (with the tiles kept where it keeps them: tilesKept
//                      1): the first handle that moves, stepped by 1 % of
//                      the shape's size, its family's images and status
//                      with it; for the atlas's entries too, as below;
//   explore-bend/NAME  a bend point on the first edge that may bend, moved
//                      by 1 % of the shape's size, the group's images of
//                      the bend and the status with it;
//   family/NAME        finding the family of the program's own shape under
//                      its own group, from the analysis and the symmetries.
// And one frame of the explorer's window, in a real window on a private
// Xvfb (finished with glFinish):
//   explore-frame/NAME/start   the view as the explorer opens;
//   explore-frame/NAME/widest  zoomed out until the zoom stops.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include <GL/gl.h>

#include "explore/explorer.h"
#include "explore/window.h"
#include "family/family.h"
#include "tests/testbed/display.h"

namespace {

void dragStep(benchmark::State& state, const tools::TilingProgram* program, double away) {
  explore::Explorer e;
  explore::load(e, *program, explore::Mode::construction);
  const std::size_t k = e.points.size() - 1;
  const Point home = e.points[k];
  const float off = float(away * e.layout.size), step = float(0.01 * e.layout.size);
  bool there = false;
  for (auto _ : state) {
    there = !there;
    const float by = off + (there ? step : 0);
    explore::movePoint(e, k, Point{home.x + by, home.y - by / 2, 0, 9});
    benchmark::DoNotOptimize(e.fills.data());
  }
  state.counters["segments"] = double(e.placed.segments.size());
  state.counters["faces"] = double(e.analysis.faces.size());
}

void symmetryStep(benchmark::State& state, const tools::TilingProgram* program) {
  explore::Explorer e;
  explore::load(e, *program);
  if (!explore::inSymmetryMode(e)) {
    state.SkipWithError("no family");
    return;
  }
  const std::vector<explore::Handle> handles = explore::handlesOf(e);
  std::size_t k = 0;
  while (handles[k].fixed) ++k;
  const Point home = handles[k].at;
  const float step = float(0.01 * e.layout.size);
  bool there = false;
  for (auto _ : state) {
    there = !there;
    explore::movePoint(e, k, Point{home.x + (there ? step : 0), home.y - (there ? step : 0) / 2, 0, 9});
    benchmark::DoNotOptimize(e.fills.data());
  }
  state.counters["segments"] = double(e.placed.segments.size());
  state.counters["tilesKept"] = e.family.tiles ? 1 : 0;
}

void bendStep(benchmark::State& state, const tools::TilingProgram* program) {
  explore::Explorer e;
  explore::load(e, *program);
  if (!explore::inSymmetryMode(e)) {
    state.SkipWithError("no family");
    return;
  }
  // A press a quarter along the first edge that may bend.
  const family::Family& f = *e.family.family;
  const family::Shape& s = e.family.shape;
  std::optional<std::size_t> k;
  for (int edge = 0; edge < int(f.edges.size()) && !k; ++edge) {
    if (f.edgeOrbits[f.edges[edge].orbit].shape == family::EdgeShape::straight) continue;
    const std::vector<faces::Vec2> path = family::edgePath(f, s, family::placed(f, s), edge);
    const faces::Vec2 at = faces::plus(path.front(), faces::times(0.25, faces::minus(path.back(), path.front())));
    k = explore::bendEdgeAt(e, Point{float(at.x), float(at.y), 0, 9}, 1e-3 * e.layout.size);
  }
  if (!k) {
    state.SkipWithError("no edge bends");
    return;
  }
  const Point home = explore::handlesOf(e)[*k].at;
  const float step = float(0.01 * e.layout.size);
  bool there = false;
  for (auto _ : state) {
    there = !there;
    explore::movePoint(e, *k, Point{home.x + (there ? step : 0), home.y + (there ? step : 0), 0, 9});
    benchmark::DoNotOptimize(e.fills.data());
  }
  state.counters["segments"] = double(e.placed.segments.size());
}

void findFamily(benchmark::State& state, const tools::TilingProgram* program) {
  explore::Explorer e;
  explore::load(e, *program, explore::Mode::construction);
  for (auto _ : state) {
    const std::vector<family::KeptGroup> offer = family::groupsOnOffer(e.family.identity);
    if (offer.empty()) {
      state.SkipWithError("no group");
      return;
    }
    benchmark::DoNotOptimize(family::familyOf(e.own, e.family.identity, offer.front()));
  }
}

void frame(benchmark::State& state, const tools::TilingProgram* program, bool widest) {
  testbed::openTestWindow();
  const tools::QuietConsole quiet;
  explore::showInCurrentWindow(*program);
  if (widest) explore::zoomOutToTheLimit();
  for (auto _ : state) {
    explore::drawFrame();
    glFinish();
  }
  state.counters["copies"] = double(explore::copiesDrawn());
}

const bool registered = [] {
  for (const tools::TilingProgram& program : tools::tilingPrograms()) {
    const std::string name(program.name);
    benchmark::RegisterBenchmark(("explore/" + name).c_str(), dragStep, &program, 0.0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("explore/" + name + "/far").c_str(), dragStep, &program, 0.33)
        ->Unit(benchmark::kMillisecond);
  }
  // The atlas's entries have no given points, hence no construction mode.
  for (const tools::TilingProgram& program : tools::everyTiling()) {
    const std::string name(program.name);
    benchmark::RegisterBenchmark(("explore-symmetry/" + name).c_str(), symmetryStep, &program)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("explore-bend/" + name).c_str(), bendStep, &program)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("family/" + name).c_str(), findFamily, &program)
        ->Unit(benchmark::kMillisecond);
  }
  for (const tools::TilingProgram& program : tools::everyTiling()) {
    const std::string name(program.name);
    benchmark::RegisterBenchmark(("explore-frame/" + name + "/start").c_str(), frame, &program, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("explore-frame/" + name + "/widest").c_str(), frame, &program, true)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
