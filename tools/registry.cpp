#include "tools/registry.h"

#include <array>
#include <iostream>

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
    {"deltatile", deltatile::buildScene, "any triangle and its half-turn copy"},
    {"mixtile1", mixtile1::buildScene, "hexagons, squares and triangles"},
    {"mixtile2", mixtile2::buildScene, "hexagons ringed by triangles"},
    {"mixtile3", mixtile3::buildScene, "dodecagons, hexagons and squares"},
    {"mixtile4", mixtile4::buildScene, "dodecagons with triangular gaps"},
    {"mixtile5", mixtile5::buildScene, "octagons with square gaps"},
    {"mixtile6", mixtile6::buildScene, "hexagons and triangles alternating"},
    {"mixtile7", mixtile7::buildScene, "columns of squares and triangles"},
    {"pentatile1", pentatile1::buildScene, "a pentagon and its half-turn copy"},
    {"pentatile2", pentatile2::buildScene, "six pentagons, one with a constructed vertex"},
    {"pentatile3", pentatile3::buildScene, "three pentagons turned by 120 degrees into a hexagon"},
    {"pentatile4", pentatile4::buildScene, "four pentagons by quarter and half turns"},
    {"pentatile5", pentatile5::buildScene, "four quarter-turn pentagons round an octagon, with caps"},
    {"pentatile6", pentatile6::buildScene, "four pentagons round one vertex"},
    {"pentatile7", pentatile7::buildScene, "a pentagon and its mirror image, eight in all"},
    {"pentatile8", pentatile8::buildScene, "six pentagons turned into a rosette"},
    {"quadtile", quadtile::buildScene, "any quadrilateral and its half-turn copy"},
}};
}  // namespace

QuietConsole::QuietConsole() : saved_(std::cout.rdbuf(&sink_)) {}
QuietConsole::~QuietConsole() { std::cout.rdbuf(saved_); }

std::span<const TilingProgram> tilingPrograms() { return programs; }

const TilingProgram* findTilingProgram(std::string_view name) {
  for (const TilingProgram& p : programs)
    if (p.name == name) return &p;
  return nullptr;
}

}  // namespace tools
