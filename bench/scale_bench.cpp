// The face analysis over drawings growing from a thousand to a hundred
// thousand segments, with the cost fitted against the size (Complexity):
//   scale/triangles  a grid of triangles, each drawing its own sides;
//   scale/copies     copies of one segment, their ends all in one place;
//   scale/random     unit segments at random, crossing a few hundred times.
// The fitted order should come out as N or N lg N, never N^2. (Thin
// triangles round one point are not here: GEOS's polygonizer spends time on
// every edge at the point for each face there, which is why so many meeting
// at one point are refused.)
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "faces/faces.h"
#include "tests/faces/drawings_at_scale.h"

namespace {

void analyseEach(benchmark::State& state, const std::vector<faces::Segment2>& drawing) {
  for (auto _ : state) benchmark::DoNotOptimize(faces::analyse(drawing));
  state.SetComplexityN(static_cast<std::int64_t>(drawing.size()));
  state.counters["segments"] = static_cast<double>(drawing.size());
}

void triangles(benchmark::State& state) {
  // 6 k^2 segments.
  analyseEach(state, drawings::triangleGrid(int(std::lround(std::sqrt(state.range(0) / 6.0)))));
}
void copies(benchmark::State& state) { analyseEach(state, drawings::copies(int(state.range(0)), 1e-5)); }
void random(benchmark::State& state) { analyseEach(state, drawings::randomSegments(int(state.range(0)))); }

}  // namespace

BENCHMARK(triangles)->Name("scale/triangles")->RangeMultiplier(4)->Range(1 << 10, 100000)
    ->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(copies)->Name("scale/copies")->RangeMultiplier(4)->Range(1 << 10, 100000)
    ->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(random)->Name("scale/random")->RangeMultiplier(4)->Range(1 << 10, 100000)
    ->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
