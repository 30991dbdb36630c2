// tilings-explore NAME: one tiling in a window, every vertex of a period a
// handle to drag within the tiling's symmetry (or, in construction mode,
// its given points), the tiling rebuilt and analysed at every step.
// tilings-explore 'explore.html?tiling=NAME&A=x,y...': the shape a link
// shares (as the explorer prints it on letting go of a handle, and as the
// web page's address holds it).
#include <iostream>
#include <string>
#include <string_view>

#include "explore/link.h"
#include "explore/window.h"
#include "tools/registry.h"

namespace {

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-explore: unknown tiling '" << name << "'; the tilings are:\n";
  for (const tools::TilingProgram& p : tools::everyTiling()) std::cerr << "  " << p.name << "\n";
  return 2;
}

bool isLink(std::string_view argument) {
  return argument.starts_with('?') || argument.starts_with(explore::linkPage);
}

}  // namespace

int main(int argc, char** argv) {
  // The first argument names the tiling or is a link; the rest go to the
  // GLUT toolkit.
  std::string first = "deltatile";
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
