#include "programs/mixtile4/mixtile4.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile4::buildScene();
  startViewer(argc, argv);
}
