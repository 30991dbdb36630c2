#include "programs/mixtile6/mixtile6.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile6::buildScene();
  startViewer(argc, argv);
}
