// The face analysis over drawings growing from a thousand to a hundred
// thousand segments, with the cost fitted against the size (Complexity):
//   scale/triangles  a grid of triangles, each drawing its own sides;
//   scale/copies     copies of one segment, their ends all in one place;
//   scale/random     unit segments at random, crossing a few hundred times.
// Each is fitted to N or N lg N; the RMS says how far it strays. Segments
// drawn in random places are also looked up in random places of memory:
// past about 16 000 of them every step of the analysis slows alike as the
// caches run out, which the fit shows as a larger RMS, not a larger power
// (a quadratic step would take 16 times as long for 4 times the segments;
// these take 5 to 6).
// Thin triangles round one point are not here: GEOS's polygonizer spends
// time on every edge at the point for each face there, which is why too
// many meeting at one point are refused.
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
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(copies)->Name("scale/copies")->RangeMultiplier(4)->Range(1 << 10, 100000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(random)->Name("scale/random")->RangeMultiplier(4)->Range(1 << 10, 100000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);

BENCHMARK_MAIN();
