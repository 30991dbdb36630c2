#include "viewer/viewer.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cmath>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdlib>

float centerX = 0;
float centerY = 0;
float eyeDistance = 0;

// On a resize the GL frees its window-sized buffers and allocates new ones
// at the next frame. glibc would take the first such free as a cue to raise
// its mmap threshold and serve later buffers from the heap, where freed space
// stays resident: a window resized a few times would keep megabytes it no
// longer uses. So from the first resize on, the threshold is fixed (large
// buffers are mapped and unmapped) and each resize hands back to the system
// the heap space that earlier resizes left free. Not before the first frame,
// though: there the fixed threshold makes every large allocation of the
// renderer's start-up fault in fresh pages, delaying the first picture.
static void releaseResizeGarbage() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  malloc_trim(0);
#endif
}

void openWindow(int& argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(windowWidth, windowHeight);
  glutInitWindowPosition(windowX, windowY);
  glutCreateWindow(windowTitle);
  glClearColor(0.9f, 0.9f, 0.8f, 0.0f);
}

void frameCamera() {
  const Point& lo = SceneBounds.min;
  const Point& hi = SceneBounds.max;
  centerX = (hi.x + lo.x) * 0.5f;
  centerY = (hi.y + lo.y) * 0.5f;
  // The spans add |min| to max: the true extent when min is negative, more
  // than it when min is positive.
  const float spanX = hi.x + std::fabs(lo.x);
  const float spanY = hi.y + std::fabs(lo.y);
  eyeDistance = 5 * (spanY > spanX ? spanY : spanX);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(30, 1, 1, 1000);
  gluLookAt(centerX, centerY, eyeDistance, centerX, centerY, 0, 0, 1, 0);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(-centerX, -centerY, -eyeDistance);
}

void registerCallbacks() {
  glutDisplayFunc(onDisplay);
  glutIdleFunc(onDisplay);
  glutMouseFunc(onMouse);
  glutMotionFunc(onMotion);
  glutReshapeFunc(onReshape);
}

void startViewer(int argc, char** argv) {
  openWindow(argc, argv);
  frameCamera();
  registerCallbacks();
  glutMainLoop();
  std::exit(0);
}

void onReshape(int w, int h) {
  // The toolkit's first call comes before the first frame; later ones are
  // resizes.
  static bool shaped = false;
  if (shaped) releaseResizeGarbage();
  shaped = true;

  if (h == 0) h = 1;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glViewport(0, 0, w, h);
  gluPerspective(30, static_cast<float>(static_cast<double>(w) / h), 1, 1000);
}
