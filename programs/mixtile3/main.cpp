#include "programs/mixtile3/mixtile3.h"
#include "viewer/viewer.h"

int main(int argc, char** argv) {
  mixtile3::buildScene();
  startViewer(argc, argv);
}
