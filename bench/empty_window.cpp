// The reference programs for scripts/startup-cost: the programs' window
// (same mode, size and position) that draws nothing but the clear colour
// (empty-window), or that also draws one segment with its end dots the way
// the display pass draws every segment (one-segment-window), to separate
// the cost of the first drawing from that of the scenes.
#include <GL/glut.h>

namespace {
void draw() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
#ifdef DRAW_ONE_SEGMENT
  glPointSize(4.0f);
  glColor3f(0, 0, 0);
  glBegin(GL_LINES);
  glVertex3f(-0.5f, -0.5f, 0);
  glVertex3f(0.5f, 0.5f, 0);
  glEnd();
  glBegin(GL_POINTS);
  glVertex3f(-0.5f, -0.5f, 0);
  glVertex3f(0.5f, 0.5f, 0);
  glEnd();
#endif
  glutSwapBuffers();
}
}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(1024, 700);
  glutInitWindowPosition(100, 50);
  glutCreateWindow("empty");
  glClearColor(0.9f, 0.9f, 0.8f, 0.0f);
  glutDisplayFunc(draw);
  glutIdleFunc(draw);
  glutMainLoop();
}
