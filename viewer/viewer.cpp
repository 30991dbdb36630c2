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

// The GL keeps window-sized buffers that it frees and reallocates on every
// resize. glibc would raise its mmap threshold after the first such free and
// serve the next ones from the heap, where freed space stays resident; with
// the threshold fixed they are mapped and unmapped, so a resized window does
// not keep its largest size's memory.
static void returnLargeBuffersToTheSystem() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

void openWindow(int& argc, char** argv) {
  returnLargeBuffersToTheSystem();
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
  if (h == 0) h = 1;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glViewport(0, 0, w, h);
  gluPerspective(30, static_cast<float>(static_cast<double>(w) / h), 1, 1000);
}
