#include "shape/link.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "family/moves.h"
#include "shape/drawing.h"
#include "shape/reach.h"

namespace shape {

namespace {

// The shortest plain decimal that reads back as the same float. No
// exponent: "1e+01" would reach a link's reader as "1e 01", a '+' in an
// address being a space.
std::string shortest(float v) {
  char text[64];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, double(v));
    if (std::strtof(text, nullptr) == v) break;
  }
  if (!std::strchr(text, 'e')) return text;
  for (int decimals = 0; decimals <= 45; ++decimals) {
    std::snprintf(text, sizeof text, "%.*f", decimals, double(v));
    if (std::strtof(text, nullptr) == v) break;
  }
  return text;
}

}  // namespace

std::string linkNumber(double value, double size) {
  if (std::fabs(value) <= 1e-6 * size) return "0";
  return shortest(float(value));
}

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX escapes and '+' as a space, as a browser's address bar writes them;
// a broken escape is kept as it stands.
std::string decoded(std::string_view s) {
  std::string out;
  for (std::size_t k = 0; k < s.size(); ++k) {
    if (s[k] == '+') {
      out += ' ';
    } else if (s[k] == '%' && k + 2 < s.size() && hexValue(s[k + 1]) >= 0 &&
               hexValue(s[k + 2]) >= 0) {
      out += char(hexValue(s[k + 1]) * 16 + hexValue(s[k + 2]));
      k += 2;
    } else {
      out += s[k];
    }
  }
  return out;
}

// One number filling the whole of `s`, finite and within a float's range.
bool readNumber(const std::string& s, double& v) {
  if (s.empty() || std::isspace((unsigned char)s[0])) return false;
  char* end = nullptr;
  v = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size() && std::isfinite(v) &&
         std::fabs(v) <= std::numeric_limits<float>::max();
}

// "x,y" as two finite numbers.
bool readPoint(const std::string& s, Point& p) {
  const std::size_t comma = s.find(',');
  if (comma == std::string::npos) return false;
  double x = 0, y = 0;
  if (!readNumber(s.substr(0, comma), x) || !readNumber(s.substr(comma + 1), y)) return false;
  p = Point{float(x), float(y), 0, 9};
  return true;
}

std::string tilingNames() {
  std::string names;
  for (const tools::TilingProgram& p : tools::everyTiling())
    names += (names.empty() ? "" : ", ") + std::string(p.name);
  return names;
}

std::string pointNames(const tools::TilingProgram& program) {
  std::string names;
  for (const tiles::GivenPoint& g : program.givenPoints())
    names += (names.empty() ? "" : ", ") + std::string(g.name);
  return names;
}

struct Field {
  std::string key, value;
};

// The query's key=value fields, decoded, in order; empty pieces skipped.
std::vector<Field> fieldsOf(std::string_view link) {
  const std::size_t mark = link.find('?');
  if (mark != std::string_view::npos) link.remove_prefix(mark + 1);
  const std::size_t hash = link.find('#');
  if (hash != std::string_view::npos) link = link.substr(0, hash);
  std::vector<Field> fields;
  while (!link.empty()) {
    const std::size_t amp = link.find('&');
    const std::string_view piece = link.substr(0, amp);
    link = amp == std::string_view::npos ? std::string_view{} : link.substr(amp + 1);
    if (piece.empty()) continue;
    const std::size_t eq = piece.find('=');
    if (eq == std::string_view::npos)
      fields.push_back({decoded(piece), ""});
    else
      fields.push_back({decoded(piece.substr(0, eq)), decoded(piece.substr(eq + 1))});
  }
  return fields;
}

// The program the fields name; null, with the problem said, when they name
// none or one that does not exist.
// The value of the field called `key`; empty when there is none.
std::string valueOf(const std::vector<Field>& fields, std::string_view key) {
  for (const Field& f : fields)
    if (f.key == key) return f.value;
  return "";
}

// The fields that carry a drawing rather than name a tiling.
bool drawingKey(const std::string& key) {
  return key == "drawing" || key == "periods" || key == "points" || key == "faces";
}

const tools::TilingProgram* programOf(const std::vector<Field>& fields,
                                      std::vector<std::string>& problems) {
  if (std::any_of(fields.begin(), fields.end(), [](const Field& f) { return f.key == "drawing"; })) {
    Learned learned = drawingFromFields(valueOf(fields, "drawing"), valueOf(fields, "periods"),
                                        valueOf(fields, "points"), valueOf(fields, "faces"));
    if (learned.drawing) return &holdDrawing(std::move(*learned.drawing));
    problems.push_back("the link's drawing cannot be opened: " + learned.problem);
    return nullptr;
  }
  for (const Field& f : fields) {
    if (f.key != "tiling") continue;
    if (const tools::TilingProgram* p = tools::findTilingProgram(f.value)) return p;
    problems.push_back("there is no tiling '" + f.value + "'; the tilings are " + tilingNames());
    return nullptr;
  }
  if (!fields.empty())
    problems.push_back("the link names no tiling (tiling=NAME); the tilings are " + tilingNames());
  return nullptr;
}

std::string xy(faces::Vec2 p, double size) { return linkNumber(p.x, size) + "," + linkNumber(p.y, size); }

}  // namespace

std::string linkOf(const Opened& o) {
  const Drawing* drawing = drawingOf(*o.program);
  std::string link = std::string(linkPage) + "?" +
                     (drawing ? drawingFields(*drawing) : "tiling=" + std::string(o.program->name));
  if (inSymmetryMode(o)) {
    const family::Family f = familyInExportFrame(o);
    const family::Shape& s = o.family.shape;
    link.append("&keep=").append(f.keep.name);
    for (int k = 0; k < int(f.orbits.size()); ++k)
      link.append("&").append(f.orbits[k].name).append("=").append(xy(family::representativeAt(f, s, k), f.size));
    link.append("&u=").append(xy(s.u, f.size)).append("&v=").append(xy(s.v, f.size));
    const std::vector<faces::Vec2> st = family::placed(f, s);
    for (int e = 0; e < int(f.edgeOrbits.size()); ++e) {
      if (s.bends[e].empty() || f.edgeOrbits[e].shape == family::EdgeShape::straight) continue;
      link.append("&").append(f.edgeOrbits[e].name).append("=");
      for (int k = 0; k < int(s.bends[e].size()); ++k) {
        if (k) link.append(";");
        link.append(xy(family::bendAt(f, s, st, f.edgeOrbits[e].representative, {e, k}), f.size));
      }
    }
    if (!s.smooth) link += "&curve=straight";
    if (o.family.tiles) link += "&tiles=congruent";
    return link;
  }
  const auto names = o.program->givenPoints();
  for (std::size_t k = 0; k < o.points.size() && k < names.size(); ++k) {
    link.append("&").append(names[k].name).append("=");
    link.append(xy({o.points[k].x, o.points[k].y}, o.layout.size));
  }
  return link;
}

LinkRequest readLink(std::string_view link, std::string_view fallback) {
  LinkRequest r;
  const std::vector<Field> fields = fieldsOf(link);
  r.program = programOf(fields, r.problems);
  if (r.program == nullptr) {
    // The points were meant for a tiling that is not here: the fallback
    // opens with its own.
    r.program = tools::findTilingProgram(fallback);
    if (r.program == nullptr) r.program = &tools::tilingPrograms().front();
    return r;
  }
  const auto keep = std::find_if(fields.begin(), fields.end(), [](const Field& f) { return f.key == "keep"; });
  if (keep != fields.end()) {
    r.keep = keep->value;
    for (const Field& f : fields) {
      if (f.key == "tiling" || f.key == "keep" || drawingKey(f.key)) continue;
      if (f.key == "tiles") {
        if (f.value != "congruent" && f.value != "free")
          r.problems.push_back("tiles is '" + f.value + "', not congruent or free");
        else
          r.keepTiles = f.value == "congruent";
        continue;
      }
      if (f.key == "curve") {
        if (f.value != "smooth" && f.value != "straight")
          r.problems.push_back("curve is '" + f.value + "', not smooth or straight");
        r.smooth = f.value != "straight";
        continue;
      }
      if (f.key.size() > 1 && f.key[0] == 'E' && std::isdigit((unsigned char)f.key[1])) {
        LinkRequest::NamedBend bend{f.key, {}};
        std::string rest = f.value;
        bool whole = !rest.empty();
        while (whole && !rest.empty()) {
          const std::size_t semi = rest.find(';');
          Point p;
          whole = readPoint(rest.substr(0, semi), p);
          bend.points.push_back({p.x, p.y});
          rest = semi == std::string::npos ? "" : rest.substr(semi + 1);
          if (semi != std::string::npos && rest.empty()) whole = false;
        }
        if (!whole)
          r.problems.push_back(f.key + " is '" + f.value + "', not points x,y;x,y;... of finite numbers");
        else
          r.bends.push_back(std::move(bend));
        continue;
      }
      Point p;
      if (!readPoint(f.value, p)) {
        r.problems.push_back(f.key + " is '" + f.value + "', not two finite numbers x,y; it keeps its place");
        continue;
      }
      r.shape.push_back({f.key, {p.x, p.y}});
    }
    return r;
  }
  // A drawing has no given points: it opens in its own group.
  if (drawingOf(*r.program)) return r;
  r.mode = Mode::construction;
  const auto given = r.program->givenPoints();
  for (const Field& f : fields) {
    if (f.key == "tiling") continue;
    std::size_t k = 0;
    while (k < given.size() && f.key != given[k].name) ++k;
    if (k == given.size()) {
      r.problems.push_back(std::string(r.program->name) + " has no point '" + f.key +
                           "'; its points are " + pointNames(*r.program));
      continue;
    }
    Point p;
    if (!readPoint(f.value, p)) {
      r.problems.push_back("point " + f.key + " is '" + f.value +
                           "', not two finite numbers x,y; it keeps its own value");
      continue;
    }
    r.points.push_back({k, p});
  }
  return r;
}

std::vector<std::string> applyPoints(Opened& o, const std::vector<LinkedPoint>& points) {
  std::vector<std::string> problems;
  const auto names = o.program->givenPoints();
  for (const LinkedPoint& p : points) {
    const Point now = o.points[p.index];
    if (pinned(o, p.index)) {
      if (p.value.x != now.x || p.value.y != now.y)
        problems.push_back("point " + std::string(names[p.index].name) + " is fixed at " +
                           shortest(now.x) + "," + shortest(now.y));
      continue;
    }
    const Point held = heldInReach(p.value, o.layout);
    o.points[p.index].x = held.x;
    o.points[p.index].y = held.y;
  }
  return problems;
}

namespace {

std::string offered(const Opened& e) {
  std::string names;
  for (const family::KeptGroup& g : e.family.offer) names += (names.empty() ? "" : ", ") + g.name;
  return names;
}

std::string orbitNames(const family::Family& f) {
  std::string names;
  for (const family::Orbit& o : f.orbits) names += (names.empty() ? "" : ", ") + o.name;
  return names + ", u, v";
}

std::string whereHeld(const family::Orbit& o) {
  if (o.free == 0) return "to its fixed place";
  if (o.straight) return "onto its side";
  return "onto its mirror";
}

// Tiles a link does not speak of: free under a shape it carries; without
// one, kept where they leave something to move.
void keepTilesUnsaid(Opened& e, bool shaped) {
  if (shaped || !keepTiles(e, true) || freedomNow(e) == 0) keepTiles(e, false);
}

}  // namespace

ShapeOutcome applyShape(Opened& e, const LinkRequest& r) {
  ShapeOutcome out;
  const std::string name(e.program->name);
  if (!e.family.family) {
    out.problems.push_back(name + " has no family to keep a group in: " + e.family.problem);
    return out;
  }
  if (!r.keep.empty() && !keepGroup(e, r.keep)) {
    out.problems.push_back("there is no group '" + r.keep + "' to keep for " + name + "; it may keep " +
                           offered(e));
    return out;
  }
  if (!r.keepTiles) {
    keepTilesUnsaid(e, !r.shape.empty() || !r.bends.empty());
  } else if (!keepTiles(e, *r.keepTiles)) {
    out.problems.push_back(name + " has no congruent tiles in different orbits of " + e.family.family->keep.name +
                           " to keep congruent");
    return out;
  }
  const family::Family& f = *e.family.family;
  family::Shape s = e.family.own;
  const double near = 1e-4 * f.size;
  // The periods first: the vertices keep their places among them.
  for (const NamedPoint& p : r.shape) {
    if (p.name != "u" && p.name != "v") continue;
    (p.name == "u" ? s.u : s.v) = p.value;
  }
  const family::Shape asked = s;
  family::heldPeriods(f, s.u, s.v);
  if (faces::length(faces::minus(s.u, asked.u)) + faces::length(faces::minus(s.v, asked.v)) > near)
    out.notes.push_back("the periods are put back to what " + f.keep.name + " allows");
  // Each vertex where the link puts it; should that not tile, each at its
  // copy nearest the own shape's (a link written about another period).
  const family::Shape periods = s;
  for (const bool nearestCopy : {false, true}) {
    s = periods;
    std::vector<std::string> problems, notes;
    std::vector<const NamedPoint*> given(f.orbits.size(), nullptr);
    for (const NamedPoint& p : r.shape) {
      if (p.name == "u" || p.name == "v") continue;
      const auto o = std::find_if(f.orbits.begin(), f.orbits.end(),
                                  [&](const family::Orbit& orbit) { return orbit.name == p.name; });
      if (o == f.orbits.end())
        problems.push_back(name + " has no vertex '" + p.name + "'; its vertices are " + orbitNames(f));
      else
        given[std::size_t(o - f.orbits.begin())] = &p;
    }
    // Points on sides after the sides' ends, which carry them along.
    for (const int k : f.order) {
      if (!given[k]) continue;
      if (family::placeRepresentative(f, s, k, explorerFrame(e, given[k]->value), nearestCopy) > near)
        notes.push_back(given[k]->name + " is put back " + whereHeld(f.orbits[k]));
    }
    out.problems.insert(out.problems.end(), problems.begin(), problems.end());
    if (!problems.empty()) return out;
    if (!family::faultOf(f, s) || nearestCopy) {
      out.notes.insert(out.notes.end(), notes.begin(), notes.end());
      break;
    }
  }
  s.smooth = r.smooth;
  const std::vector<faces::Vec2> st = family::placed(f, s);
  for (const LinkRequest::NamedBend& b : r.bends) {
    const auto o = std::find_if(f.edgeOrbits.begin(), f.edgeOrbits.end(),
                                [&](const family::EdgeOrbit& orbit) { return orbit.name == b.name; });
    if (o == f.edgeOrbits.end()) {
      out.problems.push_back(name + " has no edge '" + b.name + "'; its edges are E1 to E" +
                             std::to_string(f.edgeOrbits.size()));
      continue;
    }
    if (o->shape == family::EdgeShape::straight) {
      out.problems.push_back(b.name + " " + o->straightWhy + ": it cannot bend");
      continue;
    }
    std::vector<faces::Vec2>& points = s.bends[std::size_t(o - f.edgeOrbits.begin())];
    points.clear();
    for (const faces::Vec2 p : b.points)
      points.push_back(family::toSideShares(f, s, st, o->representative, explorerFrame(e, p)));
  }
  if (!out.problems.empty()) return out;
  // With the tiles kept, the shape nearest the link's that keeps them.
  if (e.family.tiles && family::mismatch(f, s, *e.family.tiles) > e.family.tiles->within) {
    const std::optional<family::Shape> kept = family::nearestKeepingTiles(f, e.family.own, s, *e.family.tiles);
    if (!kept) {
      out.untileable = "its tiles cannot be kept congruent";
      return out;
    }
    out.notes.push_back("the shape is put back to one that keeps its tiles congruent");
    s = *kept;
  }
  if (const auto fault = family::faultOf(f, s)) {
    out.untileable = fault->what;
    return out;
  }
  e.family.shape = s;
  return out;
}

int openLink(Opened& o, std::string_view link, const std::string& tool, std::ostream& errors) {
  const LinkRequest r = readLink(link);
  for (const std::string& p : r.problems) errors << tool << ": " << p << "\n";
  if (!r.problems.empty()) return 2;
  open(o, *r.program, r.mode);
  if (r.mode == Mode::construction) {
    const std::vector<std::string> fixed = applyPoints(o, r.points);
    for (const std::string& p : fixed) errors << tool << ": " << p << "\n";
    return fixed.empty() ? 0 : 2;
  }
  if (!inSymmetryMode(o)) {
    // A link that names the tiling alone asks for nothing it cannot have.
    if (r.keep.empty() && r.shape.empty() && r.bends.empty()) return 0;
    errors << tool << ": " << r.program->name << " has no group to keep: " << o.family.problem << "\n";
    return 2;
  }
  const ShapeOutcome outcome = applyShape(o, r);
  for (const std::string& p : outcome.problems) errors << tool << ": " << p << "\n";
  if (!outcome.problems.empty()) return 2;
  for (const std::string& p : outcome.notes) errors << tool << ": " << p << "\n";
  if (!outcome.untileable.empty()) {
    errors << tool << ": the shape does not tile: " << outcome.untileable << "\n";
    return 1;
  }
  return 0;
}

}  // namespace shape
