// tilings-explore NAME: one tiling in a window, every vertex of a period a
// handle to drag within the tiling's symmetry (or, in construction mode,
// its given points), the tiling rebuilt and analysed at every step.
// tilings-explore 'explore.html?tiling=NAME&A=x,y...': the shape a link
// shares (as the explorer prints it on letting go of a handle, and as the
// web page's address holds it).
// tilings-explore --segments FILE|-: the drawing in a segments file (as
// tilings-export NAME --segments writes it) opened as a tiling in its own
// group, named after the file; a drawing that is not a periodic tiling is
// refused in the analysis' words, with status 1.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "explore/link.h"
#include "explore/window.h"
#include "shape/drawing.h"
#include "tools/registry.h"

namespace {

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-explore: unknown tiling '" << name << "'; the tilings are:\n";
  for (const tools::TilingProgram& p : tools::everyTiling()) std::cerr << "  " << p.name << "\n";
  return 2;
}

// The drawing in the file in a window, or the words on standard error and
// status 1.
[[noreturn]] void openDrawing(int argc, char** argv, const std::string& path) {
  std::ifstream file;
  if (path != "-") {
    file.open(path);
    if (!file) {
      std::cerr << "tilings-explore: cannot open " << path << "\n";
      std::exit(1);
    }
  }
  shape::Learned learned = shape::readDrawing(path == "-" ? std::cin : file, shape::drawingName(path));
  if (!learned.drawing) {
    std::cerr << "tilings-explore: " << (path == "-" ? "standard input" : path) << ": " << learned.problem << "\n";
    std::exit(1);
  }
  explore::LinkRequest request;
  request.program = &shape::holdDrawing(std::move(*learned.drawing));
  explore::runWindow(argc, argv, request);
}

bool isLink(std::string_view argument) {
  return argument.starts_with('?') || argument.starts_with(explore::linkPage);
}

}  // namespace

int main(int argc, char** argv) {
  // The first argument names the tiling or is a link; the rest go to the
  // GLUT toolkit.
  std::string first = "deltatile";
  if (argc == 2 && std::string_view(argv[1]) == "--segments") {
    std::cerr << "usage: tilings-explore [NAME|LINK] | tilings-explore --segments FILE|-\n";
    return 2;
  }
  if (argc > 2 && std::string_view(argv[1]) == "--segments") {
    const std::string path = argv[2];
    for (int k = 1; k + 2 < argc; ++k) argv[k] = argv[k + 2];
    argc -= 2;
    argv[argc] = nullptr;
    openDrawing(argc, argv, path);
  }
  if (argc > 1 && argv[1][0] != '-') {
    first = argv[1];
    for (int k = 1; k + 1 < argc; ++k) argv[k] = argv[k + 1];
    argv[--argc] = nullptr;
  }
  if (isLink(first)) explore::runWindow(argc, argv, explore::readLink(first));
  const tools::TilingProgram* program = tools::findTilingProgram(first);
  if (program == nullptr) return unknownProgram(first);
  explore::LinkRequest request;
  request.program = program;
  explore::runWindow(argc, argv, request);
}
