#include "programs/pentatile8/pentatile8.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  pentatile8::buildScene();
  startViewer(argc, argv);
}
