#include <GL/glu.h>
#include <GL/glut.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "explore/overlay.h"
#include "tools/export/write_whole.h"

namespace explore {

namespace {

void* const font = GLUT_BITMAP_HELVETICA_12;

void text(const std::string& s) {
  for (char c : s) glutBitmapCharacter(font, c);
}

// The text cut to fit `width` pixels.
std::string fitted(std::string s, int width) {
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

// The font's line: its height, and its baseline below the line's top.
constexpr int lineHeight = 13, baseline = 10;

// Each name in its box.
void drawLabels(const std::vector<Label>& labels, int h) {
  glColor3ub(0, 0, 0);
  for (const Label& l : labels) {
    if (!l.box) continue;
    glRasterPos2d(l.box->x0, h - 1 - (l.box->y0 + baseline));
    text(l.text);
  }
}

// The status lines on a band at the top.
void drawStatus(const Overlay& o, int w, int h) {
  glColor3ub(0xf4, 0xf4, 0xec);
  box(0, h - 8 - 16 * int(o.status.size()), w, h);
  for (std::size_t k = 0; k < o.status.size(); ++k) {
    if (k == 0 && !o.clean)
      glColor3ub(0xb0, 0x00, 0x00);
    else
      glColor3ub(0, 0, 0);
    glRasterPos2i(8, h - 18 - 16 * int(k));
    text(fitted(o.status[k], w - 16));
  }
}

// The keys on a band at the bottom.
void drawHelp(const std::vector<std::string>& help, int w) {
  const int rows = int(help.size());
  glColor3ub(0xf4, 0xf4, 0xec);
  box(0, 0, w, 8 + 16 * rows);
  glColor3ub(0, 0, 0);
  for (int k = 0; k < rows; ++k) {
    glRasterPos2i(8, 8 + 16 * (rows - 1 - k) + 2);
    text(fitted(help[std::size_t(k)], w - 16));
  }
}

}  // namespace

LabelSize labelSize(const std::string& s, double) {
  int width = 0;
  for (char c : s) width += glutBitmapWidth(font, c);
  return {double(width), double(lineHeight)};
}

void showOverlay(const Overlay& o) {
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(0, w, 0, h);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  drawLabels(o.labels, h);
  drawStatus(o, w, h);
  if (!o.help.empty()) drawHelp(o.help, w);

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
}

void showTitle(const std::string& title) { glutSetWindowTitle(title.c_str()); }

void showLink(const std::string&) {}

void showProblems(const std::vector<std::string>& problems) {
  for (const std::string& p : problems) std::cerr << "tilings-explore: " << p << "\n";
}

void saveFile(const std::string& name, const std::string& contents) {
  std::string error;
  if (!tools::writeWhole(name, contents, error)) {
    std::cerr << "tilings-explore: cannot write " << name << ": " << error << "\n";
    return;
  }
  std::cout << "wrote " << std::filesystem::absolute(name).string() << std::endl;
}

void leave() { std::exit(0); }

}  // namespace explore
