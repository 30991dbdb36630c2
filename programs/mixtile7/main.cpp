#include "programs/mixtile7/mixtile7.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile7::buildScene();
  startViewer(argc, argv);
}
