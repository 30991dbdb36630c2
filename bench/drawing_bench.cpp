// Opening a drawing from its segments text, as tilings-explore --segments
// does: reading the text, its face analysis, the periods and one period's
// tiles, and the tiling opened in its family. Over grids of triangles from
// a thousand segments to the most a file may hold; 100 000 random unit
// segments, analysed and refused; and a file refused for one segment too
// many.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "shape/drawing.h"
#include "shape/opened.h"
#include "tests/faces/drawings_at_scale.h"

namespace {

std::string textOf(const std::vector<faces::Segment2>& drawing) {
  std::ostringstream out;
  for (const faces::Segment2& s : drawing) out << s.a.x << ' ' << s.a.y << ' ' << s.b.x << ' ' << s.b.y << '\n';
  return out.str();
}

void openDrawing(benchmark::State& state) {
  // 6 k^2 segments.
  const std::string text = textOf(drawings::triangleGrid(int(std::lround(std::sqrt(state.range(0) / 6.0)))));
  std::size_t segments = 0;
  for (auto _ : state) {
    std::istringstream in(text);
    shape::Learned learned = shape::readDrawing(in, "grid");
    if (!learned.drawing) {
      state.SkipWithError(learned.problem.c_str());
      return;
    }
    shape::Opened opened;
    shape::open(opened, shape::holdDrawing(std::move(*learned.drawing)));
    benchmark::DoNotOptimize(opened.family.family.has_value());
    segments = std::size_t(std::count(text.begin(), text.end(), '\n'));
  }
  state.SetComplexityN(std::int64_t(segments));
  state.counters["segments"] = double(segments);
}

// Unit segments at random: analysed, then refused in the verdict's words.
void refuseRandom(benchmark::State& state) {
  const std::string text = textOf(drawings::randomSegments(int(state.range(0))));
  for (auto _ : state) {
    std::istringstream in(text);
    benchmark::DoNotOptimize(shape::readDrawing(in, "random").problem);
  }
  state.counters["segments"] = double(state.range(0));
}

void refuseTooMany(benchmark::State& state) {
  const std::vector<faces::Segment2> many(shape::mostSegments + 1, {{0, 0}, {1, 0}});
  for (auto _ : state) benchmark::DoNotOptimize(shape::learnDrawing(many, "many").problem);
}

}  // namespace

BENCHMARK(openDrawing)->Name("drawing/open")->RangeMultiplier(10)->Range(1000, 100000)->Arg(int(shape::mostSegments))
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(refuseRandom)->Name("drawing/refuse-random")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(refuseTooMany)->Name("drawing/refuse-too-many")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
