#include "programs/pentatile2/pentatile2.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile2::buildScene();
  startViewer(argc, argv);
}
