#include "scene/scene.h"

#include <GL/glut.h>

#include <cmath>

SceneStore Scene;
Bounds SceneBounds;

void setColor(ColorIndex c) {
  if (c < 0 || c > 9) return;
  const Rgb& rgb = palette[c];
  glColor3f(rgb.red, rgb.green, rgb.blue);
}

static void vertex(const Point& p) { glVertex3f(p.x, p.y, p.z); }

void drawSegment(const Segment& s) {
  glPointSize(4.0f);
  setColor(s.color);
  glBegin(GL_LINES);
  vertex(s.a);
  vertex(s.b);
  glEnd();
  glBegin(GL_POINTS);
  vertex(s.a);
  vertex(s.b);
  glEnd();
}

void drawLine(const Line& l) {
  setColor(l.color);
  const Point& a = l.anchor;
  const Point& d = l.direction;
  glBegin(GL_LINES);
  glVertex3f(a.x + 100 * d.x, a.y + 100 * d.y, a.z + 100 * d.z);
  glVertex3f(a.x - 100 * d.x, a.y - 100 * d.y, a.z - 100 * d.z);
  glEnd();
}

void drawCircle(const Circle& c) {
  setColor(c.color);
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < 100; ++i) {
    const float t = static_cast<float>(i * 6.283185307179586 / 100);
    const float cosT = static_cast<float>(std::cos(static_cast<double>(t)));
    const float sinT = static_cast<float>(std::sin(static_cast<double>(t)));
    glVertex3f(c.center.x + c.radius * cosT, c.center.y + c.radius * sinT,
               c.center.z);
  }
  glEnd();
}

static void widen(const Point& p) {
  Point& lo = SceneBounds.min;
  Point& hi = SceneBounds.max;
  if (!(p.x > lo.x)) lo.x = p.x;
  if (!(p.y > lo.y)) lo.y = p.y;
  if (!(hi.x > p.x)) hi.x = p.x;
  if (!(hi.y > p.y)) hi.y = p.y;
}

void addSegment(ColorIndex color, Segment s) {
  s.color = color;
  Scene.segments.push_back(s);
  widen(s.a);
  widen(s.b);
}

void clearScene() {
  Scene = SceneStore{};
  SceneBounds = Bounds{};
}

void onDisplay() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  for (const Circle& c : Scene.circles) drawCircle(c);
  for (const Line& l : Scene.lines) drawLine(l);
  for (const Segment& s : Scene.segments) drawSegment(s);
  for (const Point& p : Scene.points) {
    setColor(p.color);
    glPointSize(4.0f);
    glBegin(GL_POINTS);
    vertex(p);
    glEnd();
  }
  glPopMatrix();
  glFlush();
  glutSwapBuffers();
}
