#include "programs/mixtile5/mixtile5.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile5::buildScene();
  startViewer(argc, argv);
}
