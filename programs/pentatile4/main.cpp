#include "programs/pentatile4/pentatile4.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile4::buildScene();
  startViewer(argc, argv);
}
