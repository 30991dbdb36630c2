#include "programs/quadtile/quadtile.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  quadtile::buildScene();
  startViewer(argc, argv);
}
