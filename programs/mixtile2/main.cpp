#include "programs/mixtile2/mixtile2.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile2::buildScene();
  startViewer(argc, argv);
}
