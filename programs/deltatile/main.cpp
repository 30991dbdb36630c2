#include "programs/deltatile/deltatile.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  deltatile::buildScene();
  startViewer(argc, argv);
}
