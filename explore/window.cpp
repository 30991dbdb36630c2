#include "explore/window.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "explore/explorer.h"
#include "tools/export/svg.h"
#include "tools/export/write_whole.h"
#include "viewer/viewer.h"

namespace explore {

namespace {

// How near, in pixels, a press must come to a handle to take it.
constexpr double grabRadius = 12;

constexpr const char* keyHelp[] = {
    "left drag: pan, or move a handle    right drag: turn    middle drag: zoom",
    "Page Down, n: next tiling    Page Up, p: previous tiling",
    "f: filled faces on or off    r: the program's own points again",
    "e: write the shape as SVG    h, ?: this help    q, Esc: quit",
};

struct WindowState {
  Explorer explorer;
  bool filled = true;
  bool help = false;
  std::optional<std::size_t> dragged;  // the handle being moved
  Vec grab;                            // handle minus cursor at the press
  std::string printed;                 // the status line last printed
};

WindowState state;

// --- Coordinates. The view draws the given points' plane moved so that the
// layout's centre is at the origin, which frameCamera looks at.

Vec toView(double x, double y) {
  const Vec c = state.explorer.layout.centre;
  return {x - c.x, y - c.y};
}

void vertex(double x, double y) {
  const Vec v = toView(x, y);
  glVertex3f(float(v.x), float(v.y), 0);
}

struct Matrices {
  double model[16], projection[16];
  int viewport[4];
};

Matrices currentMatrices() {
  Matrices m;
  glGetDoublev(GL_MODELVIEW_MATRIX, m.model);
  glGetDoublev(GL_PROJECTION_MATRIX, m.projection);
  glGetIntegerv(GL_VIEWPORT, m.viewport);
  return m;
}

// Where view point v shows, in GLUT window pixels (y down).
std::optional<Vec> pixelOf(const Matrices& m, Vec v) {
  double x, y, z;
  if (gluProject(v.x, v.y, 0, m.model, m.projection, m.viewport, &x, &y, &z) != GL_TRUE)
    return std::nullopt;
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return Vec{x, m.viewport[3] - 1 - y};
}

// The view point on the drawing's plane under GLUT window pixel (x, y).
std::optional<Vec> planePointAt(int x, int y) {
  const Matrices m = currentMatrices();
  const double winY = double(m.viewport[3]) - double(y) - 1;
  double n[3], f[3];
  if (gluUnProject(x, winY, 0, m.model, m.projection, m.viewport, &n[0], &n[1], &n[2]) != GL_TRUE ||
      gluUnProject(x, winY, 1, m.model, m.projection, m.viewport, &f[0], &f[1], &f[2]) != GL_TRUE)
    return std::nullopt;
  const double dz = f[2] - n[2];
  if (!(std::abs(dz) > 0)) return std::nullopt;
  const double t = -n[2] / dz;
  const Vec p{n[0] + t * (f[0] - n[0]), n[1] + t * (f[1] - n[1])};
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
  return p;
}

// --- The status line, printed whenever it changes.

void report() {
  const std::string line = state.explorer.feedback.status.line();
  if (line == state.printed) return;
  state.printed = line;
  std::cout << line << std::endl;
}

// --- Opening a tiling.

// Frames the camera so that the patch fills the window, through the
// framework's frameCamera: the view's centre is the origin, so bounds
// symmetric about it give that centre and their width as the span.
void frameOnPatch() {
  const int w = std::max(glutGet(GLUT_WINDOW_WIDTH), 1), h = std::max(glutGet(GLUT_WINDOW_HEIGHT), 1);
  const double halfHeight = viewHalfHeight(state.explorer.layout, double(w) / h);
  // frameCamera stands back five spans; a 30-degree view shows
  // 5 tan(15 degrees) spans on either side of its centre.
  const double span = halfHeight / (5 * std::tan(std::numbers::pi / 12));
  SceneBounds.min = Point{float(-span / 2), float(-span / 2), 0, 9};
  SceneBounds.max = Point{float(span / 2), float(span / 2), 0, 9};
  frameCamera();
  onReshape(w, h);
}

void open(const tools::TilingProgram& program) {
  state.dragged.reset();
  load(state.explorer, program);
  glutSetWindowTitle(("tilings-explore: " + std::string(program.name)).c_str());
  frameOnPatch();
  report();
  glutPostRedisplay();
}

void step(int by) {
  const auto all = tools::tilingPrograms();
  const std::ptrdiff_t at = state.explorer.program - all.data();
  const std::ptrdiff_t n = std::ptrdiff_t(all.size());
  open(all[std::size_t(((at + by) % n + n) % n)]);
}

// --- Drawing.

void drawFills() {
  const Explorer& e = state.explorer;
  glBegin(GL_TRIANGLES);
  for (const FillTriangles& f : e.fills) {
    glColor3ub(f.colour.r, f.colour.g, f.colour.b);
    for (std::size_t k = f.first; k < f.first + f.count; ++k)
      vertex(e.triangles[k].x, e.triangles[k].y);
  }
  glEnd();
}

void drawEdges() {
  for (Segment s : state.explorer.placed.segments) {
    const Vec a = toView(s.a.x, s.a.y), b = toView(s.b.x, s.b.y);
    s.a.x = float(a.x), s.a.y = float(a.y), s.b.x = float(b.x), s.b.y = float(b.y);
    drawSegment(s);
  }
}

void drawProblems() {
  const faces::Analysis& a = state.explorer.analysis;
  if (a.problems.empty()) return;
  glPointSize(9);
  glColor3ub(0xd0, 0x10, 0x10);
  glBegin(GL_POINTS);
  for (const faces::Problem& p : a.problems)
    if (p.kind == faces::ProblemKind::crossing || p.kind == faces::ProblemKind::dangle ||
        p.kind == faces::ProblemKind::cut)
      vertex(p.at.x, p.at.y);
  glEnd();
}

void text(const std::string& s, void* font = GLUT_BITMAP_HELVETICA_12) {
  for (char c : s) glutBitmapCharacter(font, c);
}

void drawHandles() {
  const Explorer& e = state.explorer;
  const auto names = e.program->givenPoints();
  for (std::size_t k = 0; k < e.points.size(); ++k) {
    const bool fixed = pinned(e, k);
    const bool held = state.dragged == k;
    glPointSize(held ? 14 : 12);
    glColor3ub(0, 0, 0);
    glBegin(GL_POINTS);
    vertex(e.points[k].x, e.points[k].y);
    glEnd();
    glPointSize(held ? 10 : 8);
    if (fixed)
      glColor3ub(0x90, 0x90, 0x90);
    else
      glColor3ub(0xff, 0x80, 0x00);
    glBegin(GL_POINTS);
    vertex(e.points[k].x, e.points[k].y);
    glEnd();
    glColor3ub(0, 0, 0);
    const Vec v = toView(e.points[k].x, e.points[k].y);
    glRasterPos3f(float(v.x), float(v.y), 0);
    glBitmap(0, 0, 0, 0, 9, 6, nullptr);
    text(std::string(names[k].name) + (fixed ? " (fixed)" : ""));
  }
}

// The text cut to fit `width` pixels.
std::string fitted(std::string s, int width, void* font) {
  const std::string more = "...";
  auto widthOf = [&](const std::string& t) {
    int sum = 0;
    for (char c : t) sum += glutBitmapWidth(font, c);
    return sum;
  };
  if (widthOf(s) <= width) return s;
  while (!s.empty() && widthOf(s + more) > width) s.pop_back();
  return s + more;
}

void box(int x0, int y0, int x1, int y1) {
  glBegin(GL_QUADS);
  glVertex2i(x0, y0);
  glVertex2i(x1, y0);
  glVertex2i(x1, y1);
  glVertex2i(x0, y1);
  glEnd();
}

// The status lines at the top and, on request, the keys at the bottom, in
// window pixels; the projection is current again afterwards.
void drawOverlay() {
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(0, w, 0, h);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  const Status& s = state.explorer.feedback.status;
  void* font = GLUT_BITMAP_HELVETICA_12;
  const std::vector<std::string> lines{s.name + ": " + s.verdict, s.census, s.vertices};
  glColor3ub(0xf4, 0xf4, 0xec);
  box(0, h - 8 - 16 * int(lines.size()), w, h);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k == 0 && !s.clean)
      glColor3ub(0xb0, 0x00, 0x00);
    else
      glColor3ub(0, 0, 0);
    glRasterPos2i(8, h - 18 - 16 * int(k));
    text(fitted(lines[k], w - 16, font), font);
  }
  if (state.help) {
    const int rows = int(std::size(keyHelp));
    glColor3ub(0xf4, 0xf4, 0xec);
    box(0, 0, w, 8 + 16 * rows);
    glColor3ub(0, 0, 0);
    for (int k = 0; k < rows; ++k) {
      glRasterPos2i(8, 8 + 16 * (rows - 1 - k) + 2);
      text(fitted(keyHelp[k], w - 16, font), font);
    }
  }

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
}

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (state.filled) drawFills();
  drawEdges();
  drawProblems();
  drawHandles();
  drawOverlay();
  glutSwapBuffers();
}

// --- Mouse: a left press near a handle moves that point; everything else
// is the framework's navigation.

std::optional<std::size_t> handleAt(int x, int y) {
  const Explorer& e = state.explorer;
  const Matrices m = currentMatrices();
  std::optional<std::size_t> nearest;
  double best = grabRadius;
  for (std::size_t k = 0; k < e.points.size(); ++k) {
    if (pinned(e, k)) continue;
    const std::optional<Vec> p = pixelOf(m, toView(e.points[k].x, e.points[k].y));
    if (!p) continue;
    const double d = std::hypot(p->x - x, p->y - y);
    if (d <= best) best = d, nearest = k;
  }
  return nearest;
}

void mouse(int button, int st, int x, int y) {
  if (st == GLUT_DOWN && button == GLUT_LEFT_BUTTON && !state.dragged && !leftDown &&
      !middleDown && !rightDown) {
    const std::optional<std::size_t> k = handleAt(x, y);
    const std::optional<Vec> at = planePointAt(x, y);
    if (k && at) {
      const Point p = state.explorer.points[*k];
      const Vec v = toView(p.x, p.y);
      state.dragged = k;
      state.grab = {v.x - at->x, v.y - at->y};
      glutPostRedisplay();
      return;
    }
  }
  if (state.dragged) {
    // Presses while a handle moves are ignored; any release lets it go.
    if (st == GLUT_DOWN) return;
    state.dragged.reset();
    std::cout << "points: " << pointsLine(state.explorer) << std::endl;
  }
  onMouse(button, st, x, y);
}

void motion(int x, int y) {
  if (!state.dragged) {
    onMotion(x, y);
    return;
  }
  const std::optional<Vec> at = planePointAt(x, y);
  if (!at) return;
  const Vec c = state.explorer.layout.centre;
  const Point to{float(at->x + state.grab.x + c.x), float(at->y + state.grab.y + c.y), 0, 9};
  movePoint(state.explorer, *state.dragged, to);
  report();
  glutPostRedisplay();
}

// --- Keys.

void exportShape() {
  const Explorer& e = state.explorer;
  const std::string path = std::string(e.program->name) + "-explored.svg";
  // The filled picture while the shape has faces; the plain drawing when it
  // is degenerate and was not analysed.
  std::ostringstream svg;
  if (e.analysis.faces.empty())
    tools::writeSvg(svg, e.placed);
  else
    tools::writeFilledSvg(svg, e.placed, e.analysis);
  std::string error;
  if (!tools::writeWhole(path, svg.str(), error)) {
    std::cerr << "tilings-explore: cannot write " << path << ": " << error << "\n";
    return;
  }
  std::cout << "wrote " << std::filesystem::absolute(path).string() << std::endl;
}

void keyboard(unsigned char key, int, int) {
  switch (key) {
    case 'n': step(1); break;
    case 'p': step(-1); break;
    case 'f': state.filled = !state.filled; break;
    case 'r':
      state.dragged.reset();
      resetPoints(state.explorer);
      report();
      break;
    case 'e': exportShape(); break;
    case 'h': case '?': state.help = !state.help; break;
    case 'q': case 27: std::exit(0);
    default: return;
  }
  glutPostRedisplay();
}

void special(int key, int, int) {
  if (key == GLUT_KEY_PAGE_DOWN) step(1);
  if (key == GLUT_KEY_PAGE_UP) step(-1);
}

}  // namespace

void runWindow(int argc, char** argv, const tools::TilingProgram& program) {
  openWindow(argc, argv);
  open(program);
  glutDisplayFunc(display);
  glutMouseFunc(mouse);
  glutMotionFunc(motion);
  glutReshapeFunc(onReshape);
  glutKeyboardFunc(keyboard);
  glutSpecialFunc(special);
  glutMainLoop();
  std::exit(0);
}

}  // namespace explore
