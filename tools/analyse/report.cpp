#include "tools/analyse/report.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

namespace tools {

namespace {

using faces::Analysis;
using faces::FaceClass;
using faces::ProblemKind;

constexpr std::array<const char*, 13> names{
    "", "", "", "triangle", "quadrilateral", "pentagon", "hexagon", "heptagon",
    "octagon", "nonagon", "decagon", "hendecagon", "dodecagon"};

constexpr std::array<const char*, 5> kindNames{"crossing", "dangle", "cut", "sliver", "odd"};

// No minus sign on a figure that rounds to zero.
std::string fixed(double v, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", digits, std::abs(v) < 0.5e-9 ? 0.0 : v);
  const bool zero = std::strspn(text, "-0.") == std::strlen(text);
  return zero && text[0] == '-' ? text + 1 : text;
}

std::string list(const std::vector<double>& values, int digits, const char* gap) {
  std::string out;
  for (double v : values) {
    if (!out.empty()) out += gap;
    out += fixed(v, digits);
  }
  return out;
}

bool allEqual(const std::vector<double>& values, double tolerance) {
  for (double v : values)
    if (std::abs(v - values.front()) > tolerance) return false;
  return true;
}

// "regular hexagon", "square", "pentagon", ...
std::string shapeName(const FaceClass& c) {
  const bool regular = allEqual(c.lengths, 4e-3) && allEqual(c.angles, 0.05);
  if (regular && c.sides == 4) return "square";
  if (regular && c.sides == 3) return "equilateral triangle";
  return (regular ? "regular " : "") + polygonName(c.sides);
}

std::string plural(int n, const std::string& word) {
  if (n == 1) return "1 " + word;
  return std::to_string(n) + " " + word + "s";
}

// Text for JSON: the names and configurations need no more than quotes.
std::string quoted(const std::string& s) {
  std::string out(1, '"');
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

std::string point(faces::Vec2 p) {
  char text[96];
  std::snprintf(text, sizeof text, "(%.3f, %.3f)", p.x, p.y);
  return text;
}

// Built by appending: GCC 12 warns, wrongly, on "literal" + std::string.
std::string coordinates(faces::Vec2 p) {
  std::string out = "(";
  return out.append(fixed(p.x, 4)).append(", ").append(fixed(p.y, 4)).append(")");
}

// "100 hexagons, 300 squares": faces by number of sides, or "none".
std::string faceCounts(const std::map<int, int>& bySides) {
  if (bySides.empty()) return "none";
  std::string out;
  for (auto [sides, n] : bySides) {
    if (!out.empty()) out += ", ";
    out += std::to_string(n) + " " + (n == 1 ? polygonName(sides) : polygonName(sides) + "s");
  }
  return out;
}

std::string jsonVector(faces::Vec2 p) {
  std::string out = "[";
  return out.append(fixed(p.x, 6)).append(", ").append(fixed(p.y, 6)).append("]");
}

std::string keyText(int key) { return std::to_string(key); }
const std::string& keyText(const std::string& key) { return key; }

// {"5": 6} or {"5.5.5": 4}: counts by sides or by configuration.
template <class Key>
std::string jsonCounts(const std::map<Key, int>& counts) {
  std::string out = "{";
  for (const auto& [key, n] : counts) {
    if (out.size() > 1) out += ", ";
    out.append(quoted(keyText(key))).append(": ").append(std::to_string(n));
  }
  return out + "}";
}

// "tiles 3, vertices 1, edges 2 (3-isohedral, isogonal, 2-isotoxal)", or
// "none" without a wallpaper group.
std::string orbitsText(const symmetry::Identity& id) {
  if (!id.group) return "none";
  const symmetry::Orbits& o = id.orbits;
  return "tiles " + std::to_string(o.tiles) + ", vertices " + std::to_string(o.vertices) +
         ", edges " + std::to_string(o.edges) + " (" + symmetry::orbitWords(o) + ")";
}

// Beside a pentagon class: ", pentagon types 1, 2", or ", no pentagon type".
std::string typesText(const FaceClass& k, const std::vector<int>& types) {
  if (k.sides != 5) return "";
  if (types.empty()) return ", no pentagon type";
  return (types.size() == 1 ? ", pentagon type " : ", pentagon types ") + symmetry::typeList(types);
}

std::string jsonGroup(const symmetry::Identity& id) {
  if (!id.group) return "null";
  return "{\"group\": " + quoted(std::string(id.group->name)) + ", \"orbifold\": " +
         quoted(std::string(id.group->orbifold)) + "}";
}

std::string jsonOrbits(const symmetry::Identity& id) {
  if (!id.group) return "null";
  const symmetry::Orbits& o = id.orbits;
  return "{\"tiles\": " + std::to_string(o.tiles) + ", \"vertices\": " +
         std::to_string(o.vertices) + ", \"edges\": " + std::to_string(o.edges) + "}";
}

// "freedom 1 (2 ties); free V1, V3": what keeping the tiles congruent
// leaves the family.
struct TilesKept {
  int freedom = 0;
  std::size_t ties = 0;
  std::vector<std::string> free;
};
TilesKept tilesKept(const family::Family& f, const family::Shape& s, const family::TileKeeping& keep) {
  TilesKept t{family::freedomKeepingTiles(f, s, keep), keep.pairs.size(), {}};
  const std::vector<bool> free = family::freeOrbits(f, s, keep);
  for (std::size_t k = 0; k < free.size(); ++k)
    if (free[k]) t.free.push_back(f.orbits[k].name);
  return t;
}

void writeTilesKept(std::ostream& out, const family::Found& found, const std::optional<family::TileKeeping>& keep) {
  if (!found.family || !keep) return;
  const TilesKept t = tilesKept(*found.family, found.shape, *keep);
  out << "    tiles kept congruent: ";
  if (t.ties == 0) {
    out << "as the group keeps them (no tile lies in two orbits)\n";
    return;
  }
  out << t.freedom << (t.freedom == 1 ? " degree" : " degrees") << " of freedom (" << plural(int(t.ties), "tie")
      << "); vertices that move: ";
  for (std::size_t k = 0; k < t.free.size(); ++k) out << (k ? ", " : "") << t.free[k];
  out << (t.free.empty() ? "none\n" : "\n");
}

void writeJsonTilesKept(std::ostream& out, const family::Found& found,
                        const std::optional<family::TileKeeping>& keep) {
  if (!found.family || !keep) {
    out << "null";
    return;
  }
  const TilesKept t = tilesKept(*found.family, found.shape, *keep);
  out << "{\"freedom\": " << t.freedom << ", \"ties\": " << t.ties << ", \"free\": [";
  for (std::size_t k = 0; k < t.free.size(); ++k) out << (k ? ", " : "") << quoted(t.free[k]);
  out << "]}";
}

void writeFamily(std::ostream& out, const family::Found& found, const std::optional<family::TileKeeping>& keep) {
  if (!found.family) {
    out << "  family: none (" << found.problem << ")\n";
    return;
  }
  const family::Family& f = *found.family;
  const family::Shape& s = found.shape;
  out << "  family: keeps " << f.keep.name << ", " << f.freedom
      << (f.freedom == 1 ? " degree" : " degrees") << " of freedom\n";
  for (int k = 0; k < int(f.orbits.size()); ++k) {
    const faces::Vec2 at = family::representativeAt(f, s, k);
    out << "    " << f.orbits[k].name << " " << coordinates(at) << " "
        << f.vertices[f.orbits[k].representative].configuration << ", " << freedomWords(f.orbits[k])
        << "\n";
  }
  out << "    periods u " << coordinates(s.u) << ", v " << coordinates(s.v) << "\n";
  writeTilesKept(out, found, keep);
  const std::vector<faces::Vec2> st = family::placed(f, s);
  for (const family::EdgeOrbit& o : f.edgeOrbits) {
    const std::array<faces::Vec2, 2> ends = family::sideEnds(f, s, st, o.representative);
    out << "    " << o.name << " " << coordinates(ends[0]) << " to " << coordinates(ends[1]) << ", " << family::shapeWord(o.shape)
        << (o.shape == family::EdgeShape::straight ? " (" + o.straightWhy + ")" : "") << "\n";
  }
}

void writeJsonFamily(std::ostream& out, const family::Found& found,
                     const std::optional<family::TileKeeping>& keep) {
  if (!found.family) {
    out << "null";
    return;
  }
  const family::Family& f = *found.family;
  const family::Shape& s = found.shape;
  out << "{\"keep\": " << quoted(f.keep.name) << ", \"freedom\": " << f.freedom << ", \"vertices\": [";
  for (int k = 0; k < int(f.orbits.size()); ++k)
    out << (k ? ", " : "") << "{\"name\": " << quoted(f.orbits[k].name)
        << ", \"at\": " << jsonVector(family::representativeAt(f, s, k))
        << ", \"free\": " << f.orbits[k].free << "}";
  out << "], \"periods\": {\"u\": " << jsonVector(s.u) << ", \"v\": " << jsonVector(s.v)
      << "}, \"tilesKept\": ";
  writeJsonTilesKept(out, found, keep);
  out << ", \"edges\": [";
  const std::vector<faces::Vec2> st = family::placed(f, s);
  for (std::size_t k = 0; k < f.edgeOrbits.size(); ++k) {
    const family::EdgeOrbit& o = f.edgeOrbits[k];
    const std::array<faces::Vec2, 2> ends = family::sideEnds(f, s, st, o.representative);
    out << (k ? ", " : "") << "{\"name\": " << quoted(o.name) << ", \"from\": " << jsonVector(ends[0])
        << ", \"to\": " << jsonVector(ends[1]) << ", \"shape\": \""
        << family::shapeWord(o.shape) << "\"}";
  }
  out << "]}";
}

}  // namespace

std::string polygonName(int sides) {
  if (sides >= 3 && sides < int(names.size())) return names[sides];
  return std::to_string(sides) + "-gon";
}

Periodicity periodicityOf(const Analysis& analysis) {
  Periodicity p;
  p.lattice = faces::findPeriods(analysis);
  if (p.lattice) p.perPeriod = faces::countPerPeriod(analysis, *p.lattice);
  p.identity = symmetry::identify(analysis, p.lattice);
  p.offer = family::groupsOnOffer(p.identity);
  if (p.offer.empty())
    p.family.problem = "no wallpaper group";
  else
    p.family = family::familyOf(analysis, p.identity, p.offer.front());
  if (!p.identity.lattice) p.family.problem = "no two independent periods";
  if (p.family.family) p.keeping = family::congruenceOf(*p.family.family, p.family.shape, analysis);
  return p;
}

bool keepGroup(Periodicity& p, const Analysis& analysis, const std::string& name) {
  for (const family::KeptGroup& g : p.offer)
    if (g.name == name) {
      p.family = family::familyOf(analysis, p.identity, g);
      p.keeping.reset();
      if (p.family.family) p.keeping = family::congruenceOf(*p.family.family, p.family.shape, analysis);
      return true;
    }
  return false;
}

std::string freedomWords(const family::Orbit& o) {
  if (o.straight && o.free == 1) return "along its side";
  if (o.free == 2) return "free";
  if (o.free == 1) return "along a mirror";
  return o.crossing ? "fixed where a mirror crosses its side" : "fixed";
}

void writeReport(std::ostream& out, const std::string& name, std::size_t segments,
                 const Analysis& a, const Periodicity& periods) {
  out << name << ": " << segments << " segments, " << plural(int(a.faces.size()), "face") << "\n";
  if (const auto& l = periods.lattice)
    out << "  period: u " << coordinates(l->u) << ", v " << coordinates(l->v) << ", area " << fixed(l->area, 4)
        << "\n";
  else
    out << "  period: none (no two independent periods)\n";
  out << "  symmetry: " << symmetry::groupName(periods.identity)
      << "\n  orbits: " << orbitsText(periods.identity) << "\n";
  out << "  faces: " << faceCounts(a.facesBySides());
  if (periods.lattice) out << "; per period: " << faceCounts(periods.perPeriod.faces);
  out << "\n  classes:\n";
  for (std::size_t c = 0; c < a.classes.size(); ++c) {
    const FaceClass& k = a.classes[c];
    out << "    " << char('A' + c % 26) << (c >= 26 ? std::to_string(c / 26) : "") << "  "
        << shapeName(k) << " x" << k.count << ", area " << fixed(k.area, 4) << ", "
        << plural(int(k.orientations.size()), "orientation") << ", " << k.mirrored
        << " mirrored" << (k.sliver ? ", SLIVER" : "") << (k.odd ? ", UNLIKE THE OTHERS" : "")
        << typesText(k, periods.identity.types[c]) << "\n       sides " << list(k.lengths, 4, " ")
        << "\n       angles " << list(k.angles, 2, " ") << "\n";
  }
  out << "  vertices (interior):";
  if (a.vertices.empty()) out << " none";
  for (auto [config, n] : a.vertices) {
    out << "\n    " << config << " x" << n;
    const auto each = periods.perPeriod.vertices.find(config);
    if (each != periods.perPeriod.vertices.end()) out << ", " << each->second << " per period";
  }
  out << "\n  problems:";
  if (a.problems.empty()) out << " none";
  constexpr std::size_t shown = 12;
  for (std::size_t k = 0; k < a.problems.size() && k < shown; ++k)
    out << "\n    " << kindNames[int(a.problems[k].kind)] << " at " << point(a.problems[k].at);
  if (a.problems.size() > shown) out << "\n    ... and " << a.problems.size() - shown << " more";
  out << "\n  area: faces " << fixed(a.faceArea, 4) << ", enclosed " << fixed(a.enclosedArea, 4)
      << "\n  verdict: " << a.verdict() << "\n";
  writeFamily(out, periods.family, periods.keeping);
}

void writeJson(std::ostream& out, const std::string& name, std::size_t segments,
               const Analysis& a, const Periodicity& periods) {
  const symmetry::Identity& id = periods.identity;
  out << "{\"name\": " << quoted(name) << ", \"segments\": " << segments << ",\n \"faces\": {";
  const char* sep = "";
  for (auto [sides, n] : a.facesBySides()) {
    out << sep << "\"" << sides << "\": " << n;
    sep = ", ";
  }
  out << "},\n \"classes\": [";
  sep = "";
  for (std::size_t c = 0; c < a.classes.size(); ++c) {
    const FaceClass& k = a.classes[c];
    out << sep << "\n  {\"sides\": " << k.sides << ", \"count\": " << k.count
        << ", \"orientations\": " << k.orientations.size() << ", \"mirrored\": " << k.mirrored
        << ", \"area\": " << fixed(k.area, 6) << ", \"lengths\": [" << list(k.lengths, 6, ", ")
        << "], \"angles\": [" << list(k.angles, 4, ", ") << "], \"sliver\": "
        << (k.sliver ? "true" : "false") << ", \"odd\": " << (k.odd ? "true" : "false")
        << ", \"types\": [" << symmetry::typeList(id.types[c]) << "]}";
    sep = ",";
  }
  out << "],\n \"vertices\": {";
  sep = "";
  for (auto [config, n] : a.vertices) {
    out << sep << quoted(config) << ": " << n;
    sep = ", ";
  }
  out << "},\n \"problems\": {\"crossings\": " << a.count(ProblemKind::crossing)
      << ", \"dangles\": " << a.count(ProblemKind::dangle)
      << ", \"cuts\": " << a.count(ProblemKind::cut)
      << ", \"slivers\": " << a.count(ProblemKind::sliver)
      << ", \"odd\": " << a.count(ProblemKind::odd) << ", \"locations\": [";
  sep = "";
  for (const faces::Problem& p : a.problems) {
    out << sep << "\n  {\"kind\": \"" << kindNames[int(p.kind)] << "\", \"x\": " << fixed(p.at.x, 6)
        << ", \"y\": " << fixed(p.at.y, 6) << "}";
    sep = ",";
  }
  out << "]},\n \"area\": {\"faces\": " << fixed(a.faceArea, 6)
      << ", \"enclosed\": " << fixed(a.enclosedArea, 6) << "},\n \"period\": ";
  if (const auto& l = periods.lattice)
    out << "{\"u\": " << jsonVector(l->u) << ", \"v\": " << jsonVector(l->v)
        << ", \"area\": " << fixed(l->area, 6) << "},\n \"perPeriod\": {\"faces\": "
        << jsonCounts(periods.perPeriod.faces)
        << ", \"vertices\": " << jsonCounts(periods.perPeriod.vertices) << "},\n";
  else
    out << "null,\n \"perPeriod\": null,\n";
  out << " \"symmetry\": " << jsonGroup(id) << ",\n \"orbits\": " << jsonOrbits(id) << ",\n";
  out << " \"verdict\": " << quoted(a.verdict()) << ",\n \"family\": ";
  writeJsonFamily(out, periods.family, periods.keeping);
  out << "}\n";
}

}  // namespace tools
