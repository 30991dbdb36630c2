#include "programs/pentatile6/pentatile6.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile6::buildScene();
  startViewer(argc, argv);
}
