#include "programs/pentatile3/pentatile3.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile3::buildScene();
  startViewer(argc, argv);
}
