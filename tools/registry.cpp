#include "tools/registry.h"

#include <array>
#include <iostream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "atlas/atlas.h"
#include "programs/deltatile/deltatile.h"
#include "programs/mixtile1/mixtile1.h"
#include "programs/mixtile2/mixtile2.h"
#include "programs/mixtile3/mixtile3.h"
#include "programs/mixtile4/mixtile4.h"
#include "programs/mixtile5/mixtile5.h"
#include "programs/mixtile6/mixtile6.h"
#include "programs/mixtile7/mixtile7.h"
#include "programs/pentatile1/pentatile1.h"
#include "programs/pentatile2/pentatile2.h"
#include "programs/pentatile3/pentatile3.h"
#include "programs/pentatile4/pentatile4.h"
#include "programs/pentatile5/pentatile5.h"
#include "programs/pentatile6/pentatile6.h"
#include "programs/pentatile7/pentatile7.h"
#include "programs/pentatile8/pentatile8.h"
#include "programs/quadtile/quadtile.h"

namespace tools {

namespace {
constexpr std::array<TilingProgram, 17> programs{{
    {"deltatile", deltatile::buildScene, "any triangle and its half-turn copy",
     deltatile::givenPoints, deltatile::buildSceneFrom, deltatile::latticeSize},
    {"mixtile1", mixtile1::buildScene, "hexagons, squares and triangles",
     mixtile1::givenPoints, mixtile1::buildSceneFrom, mixtile1::latticeSize},
    {"mixtile2", mixtile2::buildScene, "hexagons ringed by triangles",
     mixtile2::givenPoints, mixtile2::buildSceneFrom, mixtile2::latticeSize},
    {"mixtile3", mixtile3::buildScene, "dodecagons, hexagons and squares",
     mixtile3::givenPoints, mixtile3::buildSceneFrom, mixtile3::latticeSize},
    {"mixtile4", mixtile4::buildScene, "dodecagons with triangular gaps",
     mixtile4::givenPoints, mixtile4::buildSceneFrom, mixtile4::latticeSize},
    {"mixtile5", mixtile5::buildScene, "octagons with square gaps",
     mixtile5::givenPoints, mixtile5::buildSceneFrom, mixtile5::latticeSize},
    {"mixtile6", mixtile6::buildScene, "hexagons and triangles alternating",
     mixtile6::givenPoints, mixtile6::buildSceneFrom, mixtile6::latticeSize},
    {"mixtile7", mixtile7::buildScene, "columns of squares and triangles",
     mixtile7::givenPoints, mixtile7::buildSceneFrom, mixtile7::latticeSize},
    {"pentatile1", pentatile1::buildScene, "a pentagon and its half-turn copy",
     pentatile1::givenPoints, pentatile1::buildSceneFrom, pentatile1::latticeSize},
    {"pentatile2", pentatile2::buildScene, "six pentagons, one with a constructed vertex",
     pentatile2::givenPoints, pentatile2::buildSceneFrom, pentatile2::latticeSize},
    {"pentatile3", pentatile3::buildScene, "three pentagons turned by 120 degrees into a hexagon",
     pentatile3::givenPoints, pentatile3::buildSceneFrom, pentatile3::latticeSize},
    {"pentatile4", pentatile4::buildScene, "four pentagons by quarter and half turns",
     pentatile4::givenPoints, pentatile4::buildSceneFrom, pentatile4::latticeSize},
    {"pentatile5", pentatile5::buildScene, "four quarter-turn pentagons round an octagon, with caps",
     pentatile5::givenPoints, pentatile5::buildSceneFrom, pentatile5::latticeSize},
    {"pentatile6", pentatile6::buildScene, "four pentagons round one vertex",
     pentatile6::givenPoints, pentatile6::buildSceneFrom, pentatile6::latticeSize},
    {"pentatile7", pentatile7::buildScene, "a pentagon and its mirror image, eight in all",
     pentatile7::givenPoints, pentatile7::buildSceneFrom, pentatile7::latticeSize},
    {"pentatile8", pentatile8::buildScene, "six pentagons turned into a rosette",
     pentatile8::givenPoints, pentatile8::buildSceneFrom, pentatile8::latticeSize},
    {"quadtile", quadtile::buildScene, "any quadrilateral and its half-turn copy",
     quadtile::givenPoints, quadtile::buildSceneFrom, quadtile::latticeSize},
}};
}  // namespace

QuietConsole::QuietConsole() : saved_(std::cout.rdbuf(&sink_)) {}
QuietConsole::~QuietConsole() { std::cout.rdbuf(saved_); }

namespace {
template <class Build>
SceneStore taken(Build build) {
  clearScene();
  {
    const QuietConsole quiet;
    build();
  }
  SceneStore scene = std::move(Scene);
  clearScene();
  return scene;
}
}  // namespace

SceneStore builtScene(const TilingProgram& program) { return taken(program.buildScene); }

SceneStore builtScene(const TilingProgram& program, std::span<const Point> given, int n) {
  return taken([&] { program.buildSceneFrom(given, n); });
}

std::span<const TilingProgram> tilingPrograms() { return programs; }

namespace {
// A program's construction is a plain function: entry I of the atlas gets
// one of its own, for as many entries as the atlas can hold.
constexpr std::size_t atlasCapacity = 64;

template <std::size_t I>
void buildAtlasEntry() {
  atlas::storeOwnPatch(atlas::entries()[I]);
}

template <std::size_t I>
void buildAtlasEntryFrom(std::span<const Point>, int n) {
  atlas::storePatch(atlas::entries()[I], n);
}

std::span<const tiles::GivenPoint> noGivenPoints() { return {}; }

template <std::size_t... I>
std::vector<TilingProgram> atlasProgramsOf(std::index_sequence<I...>) {
  constexpr void (*builds[])() = {buildAtlasEntry<I>...};
  constexpr void (*buildsFrom[])(std::span<const Point>, int) = {buildAtlasEntryFrom<I>...};
  const auto entries = atlas::entries();
  if (entries.size() > sizeof...(I)) throw std::logic_error("the atlas holds more entries than the registry");
  std::vector<TilingProgram> list;
  for (std::size_t k = 0; k < entries.size(); ++k)
    list.push_back({entries[k].name, builds[k], entries[k].summary, noGivenPoints, buildsFrom[k],
                    entries[k].latticeSize});
  return list;
}
}  // namespace

std::span<const TilingProgram> atlasTilings() {
  static const std::vector<TilingProgram> list = atlasProgramsOf(std::make_index_sequence<atlasCapacity>());
  return list;
}

std::span<const TilingProgram> everyTiling() {
  static const std::vector<TilingProgram> list = [] {
    std::vector<TilingProgram> all(programs.begin(), programs.end());
    for (const TilingProgram& p : atlasTilings()) all.push_back(p);
    return all;
  }();
  return list;
}

const TilingProgram* findTilingProgram(std::string_view name) {
  for (const TilingProgram& p : programs)
    if (p.name == name) return &p;
  for (const TilingProgram& p : atlasTilings())
    if (p.name == name) return &p;
  return nullptr;
}

bool isAtlasTiling(const TilingProgram& tiling) { return atlas::findEntry(tiling.name) != nullptr; }

}  // namespace tools
