#include "programs/pentatile7/pentatile7.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile7::buildScene();
  startViewer(argc, argv);
}
