// Two benchmarks per program, registered from the registry:
//   construction/NAME  clearScene and the program's buildScene, from the
//                      given vertices to the last stored segment;
//   display/NAME       one onDisplay of the built scene, finished with
//                      glFinish, in the real GLUT window on a private Xvfb;
//   analysis/NAME      the face analysis of the built scene, from its
//                      segments to classes, vertices and problems;
//   analysis/all       the seventeen analyses one after another;
//   periods/NAME       the periods found from that analysis, and what one
//                      period holds: the cost added to analysis/NAME;
//   identity/NAME      the periods, wallpaper group, orbits and pentagon
//                      types found from that analysis.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <optional>
#include <string>

#include "faces/faces.h"
#include "faces/periods.h"
#include "scene/scene.h"
#include "symmetry/identity.h"
#include "tests/testbed/display.h"
#include "tools/registry.h"
#include "viewer/viewer.h"

namespace {

void construction(benchmark::State& state, void (*buildScene)()) {
  const tools::QuietConsole quiet;
  for (auto _ : state) {
    clearScene();
    buildScene();
    benchmark::DoNotOptimize(Scene.segments.data());
    benchmark::ClobberMemory();
  }
  state.counters["segments"] = static_cast<double>(Scene.segments.size());
}

void display(benchmark::State& state, void (*buildScene)()) {
  {
    const tools::QuietConsole quiet;
    clearScene();
    buildScene();
  }
  testbed::openTestWindow();
  frameCamera();
  onReshape(windowWidth, windowHeight);
  for (auto _ : state) {
    onDisplay();
    glFinish();
  }
  state.counters["segments"] = static_cast<double>(Scene.segments.size());
}

void analysis(benchmark::State& state, const tools::TilingProgram* program) {
  const std::vector<faces::Segment2> segments = faces::sceneSegments(tools::builtScene(*program));
  for (auto _ : state) benchmark::DoNotOptimize(faces::analyse(segments));
  state.counters["segments"] = static_cast<double>(segments.size());
}

void periods(benchmark::State& state, const tools::TilingProgram* program) {
  const faces::Analysis analysis = faces::analyse(faces::sceneSegments(tools::builtScene(*program)));
  for (auto _ : state) {
    const std::optional<faces::Lattice> lattice = faces::findPeriods(analysis);
    if (lattice) benchmark::DoNotOptimize(faces::countPerPeriod(analysis, *lattice));
  }
  state.counters["faces"] = static_cast<double>(analysis.faces.size());
}

void identity(benchmark::State& state, const tools::TilingProgram* program) {
  const faces::Analysis analysis =
      faces::analyse(faces::sceneSegments(tools::builtScene(*program)));
  for (auto _ : state) benchmark::DoNotOptimize(symmetry::identify(analysis));
  state.counters["faces"] = static_cast<double>(analysis.faces.size());
}

void analysisOfAll(benchmark::State& state) {
  std::vector<std::vector<faces::Segment2>> scenes;
  for (const tools::TilingProgram& program : tools::tilingPrograms())
    scenes.push_back(faces::sceneSegments(tools::builtScene(program)));
  for (auto _ : state)
    for (const std::vector<faces::Segment2>& segments : scenes)
      benchmark::DoNotOptimize(faces::analyse(segments));
}

}  // namespace

int main(int argc, char** argv) {
  for (const tools::TilingProgram& program : tools::tilingPrograms()) {
    const std::string name(program.name);
    benchmark::RegisterBenchmark(("construction/" + name).c_str(), construction,
                                 program.buildScene)
        ->Unit(benchmark::kMicrosecond);
  }
  for (const tools::TilingProgram& program : tools::tilingPrograms()) {
    const std::string name(program.name);
    benchmark::RegisterBenchmark(("analysis/" + name).c_str(), analysis, &program)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("analysis/all", analysisOfAll)->Unit(benchmark::kMillisecond);
  for (const tools::TilingProgram& program : tools::tilingPrograms())
    benchmark::RegisterBenchmark(("periods/" + std::string(program.name)).c_str(), periods, &program)
        ->Unit(benchmark::kMillisecond);
  for (const tools::TilingProgram& program : tools::tilingPrograms())
    benchmark::RegisterBenchmark(("identity/" + std::string(program.name)).c_str(), identity,
                                 &program)
        ->Unit(benchmark::kMillisecond);
  for (const tools::TilingProgram& program : tools::tilingPrograms()) {
    const std::string name(program.name);
    benchmark::RegisterBenchmark(("display/" + name).c_str(), display,
                                 program.buildScene)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
