// tilings-explore NAME: one tiling in a window, its given points as handles
// to drag, the tiling rebuilt and analysed at every step.
#include <iostream>
#include <string>

#include "explore/window.h"
#include "tools/registry.h"

namespace {

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-explore: unknown program '" << name << "'; the programs are:\n";
  for (const tools::TilingProgram& p : tools::tilingPrograms()) std::cerr << "  " << p.name << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The first argument names the tiling; the rest go to the GLUT toolkit.
  std::string name = "deltatile";
  if (argc > 1 && argv[1][0] != '-') {
    name = argv[1];
    for (int k = 1; k + 1 < argc; ++k) argv[k] = argv[k + 1];
    argv[--argc] = nullptr;
  }
  const tools::TilingProgram* program = tools::findTilingProgram(name);
  if (program == nullptr) return unknownProgram(name);
  explore::runWindow(argc, argv, *program);
}
