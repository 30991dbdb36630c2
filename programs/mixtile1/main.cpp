#include "programs/mixtile1/mixtile1.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile1::buildScene();
  startViewer(argc, argv);
}
