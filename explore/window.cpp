#include "explore/window.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <numbers>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "explore/explorer.h"
#include "explore/link.h"
#include "explore/overlay.h"
#include "explore/plane_view.h"
#include "shape/drawing.h"
#include "tools/export/cut.h"
#include "tools/export/svg.h"
#include "viewer/viewer.h"

namespace explore {

namespace {

// How near, in pixels, a press must come to a handle to take it.
double grabRadius = 12;
// How many window pixels a handle's pixel takes.
double handleScale = 1;

// The most vertices a frame draws for the copies of the unit: zooming out
// stops there, where a frame would take longer than a sixtieth of a second
// on a software renderer.
constexpr long long vertexBudget = 70000;

constexpr const char* keyHelp[] = {
    "left drag: pan, or move a handle    right drag: turn    middle drag: zoom",
    "Page Down, n: next tiling    Page Up, p: previous tiling",
    "m: symmetry mode (every vertex a handle, the tiling stays a tiling) or",
    "   construction mode (the program's given points, through its own construction)",
    "g: keep the next group on offer (a smaller group frees more)",
    "a: keep congruent the tiles the drawing has congruent, or let them change apart",
    "press on an edge: bend it there    x, Delete, or a double press: remove a bend point",
    "c: smooth curves through the bend points, or straight pieces",
    "f: filled faces on or off    r: the own shape again",
    "e: write the shape as SVG    k: a cut file (A4, each edge once)    t: one tile's outline",
    "h, ?: this help    q, Esc: quit",
};

struct WindowState {
  Explorer explorer;
  bool filled = true;
  bool help = false;
  std::optional<std::size_t> dragged;  // the handle being moved
  Vec grab;                            // handle minus cursor at the press
  std::string printed;                 // the status line last printed
  std::optional<Vec> panGrab;          // the view point a left drag holds
  Mode wanted = Mode::symmetry;        // the mode asked for, where there is a family
  std::optional<std::size_t> lastPress;  // the handle the last press took, and when
  std::chrono::steady_clock::time_point lastPressAt;
};

WindowState state;

// The projection as the last reshape left it, before any navigation.
double freshProjection[16];
bool haveFreshProjection = false;

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

// --- The status line, printed whenever it changes.

void report() {
  const std::string line = state.explorer.feedback.status.line();
  if (line == state.printed) return;
  state.printed = line;
  std::cout << line << std::endl;
}

// --- Opening a tiling.

// Frames the camera on the given points, four periods or more across the
// window, through the framework's frameCamera: the view's centre is the
// origin, so bounds symmetric about it give that centre and their width as
// the span.
void frameOnTiling() {
  const int w = std::max(glutGet(GLUT_WINDOW_WIDTH), 1), h = std::max(glutGet(GLUT_WINDOW_HEIGHT), 1);
  const double halfHeight = viewHalfHeight(state.explorer.layout, double(w) / h);
  // frameCamera stands back five spans; a 30-degree view shows
  // 5 tan(15 degrees) spans on either side of its centre.
  const double span = halfHeight / (5 * std::tan(std::numbers::pi / 12));
  SceneBounds.min = Point{float(-span / 2), float(-span / 2), 0, 9};
  SceneBounds.max = Point{float(span / 2), float(span / 2), 0, 9};
  frameCamera();
  onReshape(w, h);
  glGetDoublev(GL_PROJECTION_MATRIX, freshProjection);
  haveFreshProjection = true;
}

void open(const LinkRequest& request) {
  state.dragged.reset();
  const std::vector<std::string> problems = openRequest(state.explorer, request);
  if (!problems.empty()) showProblems(problems);
  if (const std::string why = nothingToDrag(state.explorer); !why.empty()) std::cout << why << std::endl;
  showTitle("tilings-explore: " + std::string(request.program->name));
  frameOnTiling();
  report();
  showLink(linkOf(state.explorer));
  glutPostRedisplay();
}

}  // namespace

std::string openDrawing(const std::string& text, const std::string& file) {
  std::istringstream in(text);
  shape::Learned learned = shape::readDrawing(in, shape::drawingName(file));
  if (!learned.drawing) return learned.problem;
  LinkRequest request;
  request.program = &shape::holdDrawing(std::move(*learned.drawing));
  open(request);
  return "";
}

namespace {

// The next or previous tiling, in the mode the explorer is in.
void step(int by) {
  const auto all = tools::everyTiling();
  std::ptrdiff_t at =
      std::find_if(all.begin(), all.end(),
                   [](const tools::TilingProgram& p) { return p.name == state.explorer.program->name; }) -
      all.begin();
  const std::ptrdiff_t n = std::ptrdiff_t(all.size());
  // From a drawing, which is none of them, the next is the first.
  if (at == n && by > 0) at = -1;
  LinkRequest next;
  next.program = &all[std::size_t(((at + by) % n + n) % n)];
  next.mode = state.wanted;
  open(next);
}


// --- Drawing. The unit is drawn over every copy of the lattice that meets
// the window, so the tiling never runs out however far the view goes; the
// fills and marks of one period go with it.

// What one copy draws, in lattice coordinates: its edges, and the fills of
// the faces of its period, which may reach beyond them.
UnitExtent drawnExtent(const Explorer& e, Vec u, Vec v) {
  UnitExtent extent = extentOf(e.periodic.unit, u, v);
  if (e.periodic.unit.empty()) return extent;
  for (std::size_t k : e.periodFaces) {
    const FillTriangles& f = e.fills[k];
    for (std::size_t t = f.first; t < f.first + f.count; ++t) {
      double a, b;
      if (!latticeCoordinates({e.triangles[t].x, e.triangles[t].y}, u, v, a, b)) continue;
      extent.a0 = std::min(extent.a0, a), extent.a1 = std::max(extent.a1, a);
      extent.b0 = std::min(extent.b0, b), extent.b1 = std::max(extent.b1, b);
    }
  }
  return extent;
}

// The copies that meet the window as it is now; the analysed block when the
// window's corners cannot be placed on the plane.
CellRange visibleCells() {
  const Explorer& e = state.explorer;
  const Vec u{e.periodic.u.x, e.periodic.u.y}, v{e.periodic.v.x, e.periodic.v.y};
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  std::vector<Vec> corners;
  for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}}) {
    const std::optional<Vec> p = planePointAt(x, y);
    if (!p) {
      const int half = e.layout.block / 2;
      return {-half, half, -half, half};
    }
    const Vec c = e.layout.centre;
    corners.push_back({p->x + c.x, p->y + c.y});
  }
  return cellsMeeting(corners, u, v, drawnExtent(e, u, v));
}

// How long a pixel is on the drawing, in its units, about the middle.
double pixelSize() {
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  const std::optional<Vec> a = planePointAt(w / 2, h / 2), b = planePointAt(w / 2 + 1, h / 2);
  if (!a || !b) return 0;
  return std::hypot(b->x - a->x, b->y - a->y);
}

// How much of the plane the window's shorter side shows, in drawing units.
double shownAcross() {
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  const std::optional<Vec> a = planePointAt(0, 0);
  const std::optional<Vec> b = planePointAt(w < h ? w - 1 : 0, w < h ? 0 : h - 1);
  if (!a || !b) return 0;
  return std::hypot(b->x - a->x, b->y - a->y);
}

// One draw call's vertices, in view coordinates, each with its colour.
struct Batch {
  std::vector<float> xy;
  std::vector<unsigned char> rgb;

  void clear() { xy.clear(), rgb.clear(); }
  void add(double x, double y, faces::Rgb8 c) {
    const Vec p = toView(x, y);
    xy.push_back(float(p.x)), xy.push_back(float(p.y));
    rgb.push_back(c.r), rgb.push_back(c.g), rgb.push_back(c.b);
  }
  // Another batch's vertices moved by (dx, dy).
  void append(const Batch& other, float dx, float dy) {
    const std::size_t at = xy.size();
    xy.resize(at + other.xy.size());
    for (std::size_t k = 0; k < other.xy.size(); k += 2) {
      xy[at + k] = other.xy[k] + dx;
      xy[at + k + 1] = other.xy[k + 1] + dy;
    }
    rgb.insert(rgb.end(), other.rgb.begin(), other.rgb.end());
  }
  void draw(GLenum mode) const {
    if (xy.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, xy.data());
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, rgb.data());
    glDrawArrays(mode, 0, GLsizei(xy.size() / 2));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

faces::Rgb8 paletteColour(ColorIndex c) {
  const Rgb rgb = c >= 0 && c < 10 ? palette[c] : palette[9];
  auto byte = [](float f) { return (unsigned char)std::lround(f * 255); };
  return {byte(rgb.red), byte(rgb.green), byte(rgb.blue)};
}

void addEdges(Batch& lines, std::span<const Segment> segments) {
  for (const Segment& s : segments) {
    const faces::Rgb8 c = paletteColour(s.color);
    lines.add(s.a.x, s.a.y, c), lines.add(s.b.x, s.b.y, c);
  }
}

// How long the unit's edges are on the screen, on average, in pixels.
double edgePixels(const Explorer& e) {
  if (e.periodic.unit.empty()) return 0;
  double length = 0;
  for (const Segment& s : e.periodic.unit) length += std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
  length /= double(e.periodic.unit.size());
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  const double across = shownAcross();
  return across > 0 ? length * std::min(w, h) / across : 0;
}

// Level of detail: edges a few pixels long only grey the fills, which show
// the tiling alone then; end dots show only where edges are long enough
// for them not to blot the drawing. Without fills, edges always show.
bool edgesShow(const Explorer& e) { return !state.filled || edgePixels(e) >= 3; }
bool dotsShow(const Explorer& e) { return edgePixels(e) >= 12; }

// The vertices one copy of the unit draws as the view is now.
long long verticesPerCopy(const Explorer& e) {
  long long n = (long long)e.periodMarks.size();
  if (edgesShow(e)) n += 2 * (long long)e.periodic.unit.size();
  if (state.filled)
    for (std::size_t k : e.periodFaces) n += (long long)e.fills[k].count;
  return std::max(n, 1LL);
}

// The most copies a frame draws.
long long maxCells() { return std::max(100LL, vertexBudget / verticesPerCopy(state.explorer)); }

// The most copies zooming out reaches: half as many, since turning the
// view or panning it changes how many lattice rows and columns it meets.
long long zoomLimit() { return maxCells() / 2; }

void drawEndless() {
  const Explorer& e = state.explorer;
  // One period's fills, edges and marks, then every copy of them in view.
  static Batch unitFills, unitLines, unitMarks, unitDots, fills, lines, marks, dots;
  unitFills.clear(), unitLines.clear(), unitMarks.clear(), unitDots.clear();
  fills.clear(), lines.clear(), marks.clear(), dots.clear();
  // Dots on the vertices alone where they are known: a bent edge's pieces
  // end at points along a curve, not at vertices.
  for (const faces::Vec2& c : e.corners) unitDots.add(c.x, c.y, {0, 0, 0});
  if (state.filled)
    for (std::size_t k : e.periodFaces) {
      const FillTriangles& f = e.fills[k];
      for (std::size_t t = f.first; t < f.first + f.count; ++t)
        unitFills.add(e.triangles[t].x, e.triangles[t].y, f.colour);
    }
  if (edgesShow(e)) addEdges(unitLines, e.periodic.unit);
  for (const faces::Vec2& m : e.periodMarks) unitMarks.add(m.x, m.y, {0xd0, 0x10, 0x10});

  // Periods along one line repeat nothing over the plane: the block alone.
  const bool endless = spanPlane({e.periodic.u.x, e.periodic.u.y}, {e.periodic.v.x, e.periodic.v.y});
  if (!endless) addEdges(lines, e.placed.segments);
  const CellRange cells = endless ? atMost(visibleCells(), maxCells()) : CellRange{};
  const tools::Step u = e.periodic.u, v = e.periodic.v;
  for (int i = cells.i0; i <= cells.i1; ++i)
    for (int j = cells.j0; j <= cells.j1; ++j) {
      const float dx = float(i * v.x + j * u.x), dy = float(i * v.y + j * u.y);
      fills.append(unitFills, dx, dy);
      lines.append(unitLines, dx, dy);
      marks.append(unitMarks, dx, dy);
      dots.append(unitDots, dx, dy);
    }
  if (endless) addEdges(lines, e.periodic.once);
  fills.draw(GL_TRIANGLES);
  lines.draw(GL_LINES);
  if (dotsShow(e)) {
    glPointSize(4);
    (e.corners.empty() ? lines : dots).draw(GL_POINTS);
  }
  glPointSize(9);
  marks.draw(GL_POINTS);
}

// Each handle a dot: orange, grey when fixed; in symmetry mode the periods
// are drawn as lines from the lattice's origin to their handles.
void drawHandles() {
  const Explorer& e = state.explorer;
  const std::vector<Handle> handles = handlesOf(e);
  if (inSymmetryMode(e)) {
    const faces::Vec2 o = e.family.family->origin;
    glColor3ub(0x30, 0x30, 0x30);
    glBegin(GL_LINES);
    for (const Handle& h : handles) {
      if (h.kind != Handle::Kind::period) continue;
      vertex(o.x, o.y);
      vertex(h.at.x, h.at.y);
    }
    glEnd();
  }
  for (std::size_t k = 0; k < handles.size(); ++k) {
    const bool held = state.dragged == k;
    glPointSize(float((held ? 14 : 12) * handleScale));
    glColor3ub(0, 0, 0);
    glBegin(GL_POINTS);
    vertex(handles[k].at.x, handles[k].at.y);
    glEnd();
    glPointSize(float((held ? 10 : 8) * handleScale));
    if (handles[k].fixed)
      glColor3ub(0x90, 0x90, 0x90);
    else if (handles[k].kind == Handle::Kind::bend)
      glColor3ub(0x20, 0x70, 0xe0);
    else
      glColor3ub(0xff, 0x80, 0x00);
    glBegin(GL_POINTS);
    vertex(handles[k].at.x, handles[k].at.y);
    glEnd();
  }
}

// A name's size, measured once for each text at each scale.
LabelSize sizeOf(const std::string& text) {
  static std::map<std::string, LabelSize> known;
  static double at = 0;
  if (at != handleScale) known.clear(), at = handleScale;
  const auto [k, fresh] = known.try_emplace(text);
  if (fresh) k->second = labelSize(text, handleScale);
  return k->second;
}

// Each handle's name beside it, apart from the other names and handles:
// the handles in window pixels, the names placed round them.
std::vector<Label> placedLabels(const std::vector<Handle>& handles) {
  const Matrices m = currentMatrices();
  std::vector<Label> labels;
  std::vector<HandleMark> marks;
  std::vector<LabelSize> sizes;
  for (const Handle& h : handles) {
    const std::optional<Vec> at = pixelOf(m, toView(h.at.x, h.at.y));
    if (!at) continue;
    labels.push_back({h.name + (h.fixed ? " (fixed)" : ""), at->x, at->y, std::nullopt});
    marks.push_back({at->x, at->y});
    sizes.push_back(sizeOf(labels.back().text));
  }
  const Box window{0, 0, double(glutGet(GLUT_WINDOW_WIDTH)), double(glutGet(GLUT_WINDOW_HEIGHT))};
  const std::vector<std::optional<Box>> boxes = placeLabels(marks, sizes, window, LabelStyle{}.scaled(handleScale));
  for (std::size_t k = 0; k < labels.size(); ++k) labels[k].box = boxes[k];
  return labels;
}

// The handles' names where they show, the status lines and, on request,
// the keys.
Overlay overlay() {
  const Explorer& e = state.explorer;
  const Status& s = e.feedback.status;
  Overlay o;
  o.status = {s.name + ": " + s.verdict, s.census, s.vertices};
  if (!s.identity.empty()) o.status.push_back(s.identity);
  if (!e.note.empty()) o.status.push_back(e.note);
  o.clean = s.clean;
  o.labels = placedLabels(handlesOf(e));
  if (state.help) o.help.assign(std::begin(keyHelp), std::end(keyHelp));
  return o;
}

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  drawEndless();
  drawHandles();
  showOverlay(overlay());
  glutSwapBuffers();
}

// --- Mouse: a left press near a handle moves that point; everything else
// is the framework's navigation.

// After a key or a press changes the shape: the status and the link.
void reshown() {
  report();
  showLink(linkOf(state.explorer));
}

std::optional<std::size_t> handleAt(int x, int y) {
  const Explorer& e = state.explorer;
  const Matrices m = currentMatrices();
  std::optional<std::size_t> nearest;
  double best = grabRadius;
  const std::vector<Handle> handles = handlesOf(e);
  for (std::size_t k = 0; k < handles.size(); ++k) {
    if (handles[k].fixed) continue;
    const std::optional<Vec> p = pixelOf(m, toView(handles[k].at.x, handles[k].at.y));
    if (!p) continue;
    const double d = std::hypot(p->x - x, p->y - y);
    if (d <= best) best = d, nearest = k;
  }
  return nearest;
}

void mouse(int button, int st, int x, int y) {
  if (st == GLUT_DOWN && button == GLUT_LEFT_BUTTON && !state.dragged && !leftDown &&
      !middleDown && !rightDown) {
    std::optional<std::size_t> k = handleAt(x, y);
    const std::optional<Vec> at = planePointAt(x, y);
    // A second press on a bend point soon after the first removes it.
    const auto now = std::chrono::steady_clock::now();
    const bool twice = k && state.lastPress == k && now - state.lastPressAt < std::chrono::milliseconds(400);
    state.lastPress = k;
    state.lastPressAt = now;
    if (twice && removeHandle(state.explorer, *k)) {
      state.lastPress.reset();
      reshown();
      glutPostRedisplay();
      return;
    }
    // A press on an edge of the handles' period bends it there.
    if (!k && at && inSymmetryMode(state.explorer)) {
      const Vec c = state.explorer.layout.centre;
      k = bendEdgeAt(state.explorer, Point{float(at->x + c.x), float(at->y + c.y), 0, 9}, grabRadius * pixelSize());
      if (!state.explorer.note.empty()) std::cout << state.explorer.note << std::endl;
      if (k) report();
    }
    if (k && at) {
      const Point p = handlesOf(state.explorer)[*k].at;
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
    const std::string link = linkOf(state.explorer);
    // Where keeping the tiles stopped the drag, why.
    if (state.explorer.family.tiles && !state.explorer.note.empty()) std::cout << state.explorer.note << std::endl;
    std::cout << (inSymmetryMode(state.explorer) ? "shape: " : "points: ") << pointsLine(state.explorer)
              << std::endl;
    std::cout << "link: " << link << std::endl;
    showLink(link);
  }
  onMouse(button, st, x, y);
  state.panGrab.reset();
  if (st == GLUT_DOWN && button == GLUT_LEFT_BUTTON) state.panGrab = planePointAt(x, y);
}


// The view point under the middle of the window, about which the view
// zooms and turns; the view's origin when it cannot be placed.
Vec middleOfWindow() {
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  return planePointAt(w / 2, h / 2).value_or(Vec{0, 0});
}

// After the unit or the fills change, the copies in view may be more than
// a frame may draw: the view zooms in until they are not, so the window
// stays full.
void keepWithinBudget() {
  for (int k = 0; k < 100 && visibleCells().count() > maxCells(); ++k)
    zoomInPlane(middleOfWindow(), 1.1);
}

// Left drag pans, keeping the grabbed point under the cursor; right drag
// turns, a whole window width just under half a turn, a step to the right
// clockwise; middle drag, or left and right together, zooms by e^(dy/2100),
// dragging up enlarging: the framework's steps, made in the drawing's plane.
// A step that would show more copies than a frame can draw in time (and
// more than before), or less than a thousandth of the shape, is undone:
// zooming stops there.
void navigate(int x, int y) {
  const std::int64_t dx = std::int64_t(x) - lastX, dy = std::int64_t(y) - lastY;
  if (dx == 0 && dy == 0) return;
  double saved[16];
  glGetDoublev(GL_PROJECTION_MATRIX, saved);
  const long long before = visibleCells().count();
  const double across = shownAcross();
  if (middleDown || (leftDown && rightDown)) {
    zoomInPlane(middleOfWindow(), std::exp(-double(dy) / 2100));
  } else if (leftDown) {
    const std::optional<Vec> under = planePointAt(x, y);
    if (!under || !state.panGrab) return;
    panInPlane(*state.panGrab, *under);
  } else if (rightDown) {
    const double width = glutGet(GLUT_WINDOW_WIDTH) + 1;
    const double turn = std::hypot(double(dx), double(dy)) / width * 180;
    turnInPlane(middleOfWindow(), dx > 0 ? -turn : turn);
  } else {
    return;
  }
  lastX = x;
  lastY = y;
  const long long after = visibleCells().count();
  const double now = shownAcross();
  const bool zooming = middleDown || (leftDown && rightDown);
  if ((zooming && after > zoomLimit() && after > before) ||
      (now < 1e-3 * state.explorer.layout.size && now < across) || !std::isfinite(now)) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(saved);
  }
  glutPostRedisplay();
}

void motion(int x, int y) {
  if (!state.dragged) {
    navigate(x, y);
    return;
  }
  const std::optional<Vec> at = planePointAt(x, y);
  if (!at) return;
  const Vec c = state.explorer.layout.centre;
  const Point to{float(at->x + state.grab.x + c.x), float(at->y + state.grab.y + c.y), 0, 9};
  movePoint(state.explorer, *state.dragged, to);
  keepWithinBudget();
  report();
  glutPostRedisplay();
}

// A new window size keeps the view: the navigation multiplied onto the
// projection since the last reshape is carried onto the new one, so the
// drawing stays where it was about the window's middle, at the same scale.

void invert4(const double m[16], double out[16]) {
  // Gauss-Jordan on a copy; the projection is always invertible here.
  double a[4][8];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 8; ++c) a[r][c] = c < 4 ? m[c * 4 + r] : (c - 4 == r ? 1 : 0);
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
    std::swap(a[c], a[pivot]);
    const double d = a[c][c];
    for (int k = 0; k < 8; ++k) a[c][k] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      const double f = a[r][c];
      for (int k = 0; k < 8; ++k) a[r][k] -= f * a[c][k];
    }
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[c * 4 + r] = a[r][c + 4];
}

void reshape(int w, int h) {
  double before[16];
  glGetDoublev(GL_PROJECTION_MATRIX, before);
  onReshape(w, h);
  double fresh[16];
  glGetDoublev(GL_PROJECTION_MATRIX, fresh);
  if (haveFreshProjection) {
    double inverse[16], steps[16];
    invert4(freshProjection, inverse);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(inverse);
    glMultMatrixd(before);
    glGetDoublev(GL_PROJECTION_MATRIX, steps);
    glLoadMatrixd(fresh);
    glMultMatrixd(steps);
    double kept[16];
    glGetDoublev(GL_PROJECTION_MATRIX, kept);
    bool finite = true;
    for (double v : kept) finite = finite && std::isfinite(v);
    if (!finite) glLoadMatrixd(fresh);
  }
  std::copy(std::begin(fresh), std::end(fresh), std::begin(freshProjection));
  haveFreshProjection = true;
}

// --- Keys.

void exportShape() {
  const Explorer& e = state.explorer;
  // The filled picture while the shape has faces; the plain drawing when it
  // is degenerate and was not analysed.
  std::ostringstream svg;
  if (e.analysis.faces.empty()) {
    tools::writeSvg(svg, e.placed);
  } else if (!bent(e)) {
    tools::writeFilledSvg(svg, e.placed, e.analysis);
  } else {
    // Bent edges as finely as on the screen, analysed again for their fills.
    const SceneStore fine = shownBlock(e);
    tools::writeFilledSvg(svg, fine, faces::analyse(faces::sceneSegments(fine), shownOptions(e)));
  }
  saveFile(std::string(e.program->name) + "-explored.svg", svg.str());
}

// Files to make things from: the outlines on an A4 page across, each edge
// once, or one tile's outline on a 100 mm square.
void exportCut(bool tile) {
  const Explorer& e = state.explorer;
  if (e.periodic.unit.empty()) return;
  tools::CutRequest request;
  request.page = tile ? tools::Page{100, 100} : tools::Page{297, 210};
  request.tile = tile;
  request.curved = bent(e);
  std::ostringstream svg;
  try {
    tools::writeCutSvg(svg, tools::cutDrawing(cutUnit(e), request));
  } catch (const std::exception& error) {
    std::cout << "cannot cut: " << error.what() << std::endl;
    return;
  }
  saveFile(std::string(e.program->name) + (tile ? "-tile.svg" : "-cut.svg"), svg.str());
}

void keyboard(unsigned char key, int x, int y) {
  switch (key) {
    case 'n': step(1); break;
    case 'p': step(-1); break;
    case 'f':
      state.filled = !state.filled;
      keepWithinBudget();
      break;
    case 'r':
      state.dragged.reset();
      resetPoints(state.explorer);
      reshown();
      break;
    case 'm':
      state.dragged.reset();
      state.wanted = inSymmetryMode(state.explorer) ? Mode::construction : Mode::symmetry;
      if (!setMode(state.explorer, state.wanted))
        std::cout << "no symmetry mode for " << state.explorer.program->name << ": "
                  << state.explorer.family.problem << std::endl;
      if (const std::string why = nothingToDrag(state.explorer); !why.empty()) std::cout << why << std::endl;
      keepWithinBudget();
      reshown();
      break;
    case 'g':
      state.dragged.reset();
      if (keepNext(state.explorer) && !inSymmetryMode(state.explorer)) {
        state.wanted = Mode::symmetry;
        setMode(state.explorer, Mode::symmetry);
      }
      keepWithinBudget();
      reshown();
      break;
    case 'e': exportShape(); break;
    case 'k': exportCut(false); break;
    case 't': exportCut(true); break;
    case 'a':
      state.dragged.reset();
      if (!keepTiles(state.explorer, !state.explorer.family.tiles))
        std::cout << state.explorer.program->name << " has no congruent tiles in different orbits to keep"
                  << std::endl;
      reshown();
      break;
    case 'c':
      switchCurve(state.explorer);
      if (!state.explorer.note.empty()) std::cout << state.explorer.note << std::endl;
      reshown();
      break;
    case 'x': case 127:
      if (const std::optional<std::size_t> k = handleAt(x, y); k && removeHandle(state.explorer, *k)) reshown();
      break;
    case 'h': case '?': state.help = !state.help; break;
    case 'q': case 27: leave(); return;
    default: return;
  }
  glutPostRedisplay();
}

void special(int key, int, int) {
  if (key == GLUT_KEY_PAGE_DOWN) step(1);
  if (key == GLUT_KEY_PAGE_UP) step(-1);
}

}  // namespace

void showInCurrentWindow(const tools::TilingProgram& program, Mode mode) {
  onReshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
  LinkRequest request;
  request.program = &program;
  request.mode = state.wanted = mode;
  open(request);
}

void zoomOutToTheLimit() {
  const bool middle = middleDown;
  middleDown = true;
  // Middle drags downwards, a window height each, until a step is undone.
  for (int k = 0; k < 200; ++k) {
    const long long before = visibleCells().count();
    lastY = 0;
    navigate(lastX, glutGet(GLUT_WINDOW_HEIGHT));
    if (visibleCells().count() <= before) break;
  }
  middleDown = middle;
}

void pressKey(unsigned char key) { keyboard(key, 0, 0); }

void gestureStep(double x, double y, double dx, double dy, double factor, double degrees) {
  if (!std::isfinite(x + y + dx + dy + factor + degrees) || !(factor > 0)) return;
  double saved[16];
  glGetDoublev(GL_PROJECTION_MATRIX, saved);
  const long long before = visibleCells().count();
  const double across = shownAcross();
  const std::optional<Vec> grabbed = planePointAt(int(std::lround(x)), int(std::lround(y)));
  const std::optional<Vec> under = planePointAt(int(std::lround(x + dx)), int(std::lround(y + dy)));
  if (!grabbed || !under) return;
  panInPlane(*grabbed, *under);
  zoomInPlane(*under, factor);
  turnInPlane(*under, degrees);
  const long long after = visibleCells().count();
  const double now = shownAcross();
  if ((after > zoomLimit() && after > before) ||
      (now < 1e-3 * state.explorer.layout.size && now < across) || !std::isfinite(now)) {
    // Too far out or in: the pan and turn stay, the zoom does not.
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(saved);
    panInPlane(*grabbed, *under);
    turnInPlane(*under, degrees);
  }
  glutPostRedisplay();
}

void setHandleScale(double scale) {
  if (std::isfinite(scale) && scale > 0 && scale <= 8) handleScale = scale;
  glutPostRedisplay();
}

void setGrabRadius(double pixels) {
  if (std::isfinite(pixels) && pixels > 0) grabRadius = pixels;
}

long long copiesDrawn() { return atMost(visibleCells(), maxCells()).count(); }

void drawFrame() { display(); }

void runWindow(int argc, char** argv, const LinkRequest& request) {
  openWindow(argc, argv);
  state.wanted = request.mode;
  open(request);
  glutDisplayFunc(display);
  glutMouseFunc(mouse);
  glutMotionFunc(motion);
  glutReshapeFunc(reshape);
  glutKeyboardFunc(keyboard);
  glutSpecialFunc(special);
  glutMainLoop();
  std::exit(0);
}

}  // namespace explore
