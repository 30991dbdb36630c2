#include "programs/pentatile5/pentatile5.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile5::buildScene();
  startViewer(argc, argv);
}
