#include "programs/pentatile1/pentatile1.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile1::buildScene();
  startViewer(argc, argv);
}
