// Every tiling program by name, with the construction that fills the scene
// exactly as the program's own entry point does before it opens a window,
// and the same construction from moved copies of its given points.
#pragma once

#include <ostream>
#include <streambuf>
#include <span>
#include <string_view>

#include "tiles/given.h"

namespace tools {

struct TilingProgram {
  std::string_view name;
  void (*buildScene)();
  std::string_view summary;  // one line on the tiling it shows
  std::span<const tiles::GivenPoint> (*givenPoints)();
  void (*buildSceneFrom)(std::span<const Point> given, int n);
  int latticeSize;  // the program's own n
};

// Names the program in test listings.
inline void PrintTo(const TilingProgram& program, std::ostream* out) {
  *out << program.name;
}

// While it lives, standard output goes nowhere: some constructions report
// their progress there, which a tool or benchmark building scenes must not
// pass on.
class QuietConsole {
 public:
  QuietConsole();
  ~QuietConsole();
  QuietConsole(const QuietConsole&) = delete;
  QuietConsole& operator=(const QuietConsole&) = delete;

 private:
  struct Sink : std::streambuf {
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  };
  Sink sink_;
  std::streambuf* saved_;
};

// The scene the program's construction stores, built quietly and taken out
// of the global Scene, which is left empty: from its own points, or from
// `given` over an n x n patch.
SceneStore builtScene(const TilingProgram& program);
SceneStore builtScene(const TilingProgram& program, std::span<const Point> given, int n);

// The seventeen programs, in the order `./tilings list` gives them.
std::span<const TilingProgram> tilingPrograms();
// The atlas's named tilings (atlas/), in its order: no given points, and
// buildSceneFrom stores an n x n patch of periods whatever it is given.
std::span<const TilingProgram> atlasTilings();
// The seventeen, then the atlas.
std::span<const TilingProgram> everyTiling();
// The program or atlas entry called name, or nullptr.
const TilingProgram* findTilingProgram(std::string_view name);
// Whether it is one of the atlas's entries rather than a program.
bool isAtlasTiling(const TilingProgram& tiling);

}  // namespace tools
