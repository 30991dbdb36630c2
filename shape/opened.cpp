#include "shape/opened.h"

#include <stdexcept>

#include "family/moves.h"
#include "shape/reach.h"

namespace shape {

namespace {

faces::Vec2 homeOf(const Opened& o) { return {o.layout.centre.x, o.layout.centre.y}; }

// How far the explorer's frame is from the stored drawing's: the first
// given point, for a construction that starts at the origin.
faces::Vec2 frameShift(const Opened& o) {
  const Point shift = copyShift(o.layout, tiles::givenValues(o.program->givenPoints()));
  return {shift.x, shift.y};
}

void findFamily(Opened& o) {
  FamilyView& view = o.family;
  view = {};
  if (o.own.faces.empty()) {
    view.problem = "nothing to analyse";
    return;
  }
  view.identity = symmetry::identify(o.own);
  view.offer = family::groupsOnOffer(view.identity);
  if (view.offer.empty()) {
    view.problem = view.identity.lattice ? "no wallpaper group" : "no two independent periods";
    return;
  }
  family::Found found = family::familyOf(o.own, view.identity, view.offer.front(), homeOf(o));
  if (!found.family) {
    view.problem = found.problem;
    return;
  }
  view.family = std::move(found.family);
  view.own = view.shape = found.shape;
}

// Copies along each side of the widest block the periods are looked for in.
constexpr int widestBlock = 7;

// Straight pieces to each span of a curve in a cut file: at a page's size
// every facet of the window's four would show.
constexpr int cutPieces = 16;

}  // namespace

Point pointOf(faces::Vec2 p) { return Point{float(p.x), float(p.y), 0, 9}; }

std::vector<Segment> segmentsOf(const std::vector<faces::Segment2>& drawn) {
  std::vector<Segment> out;
  out.reserve(drawn.size());
  for (const faces::Segment2& s : drawn) out.push_back({pointOf(s.a), pointOf(s.b), 9});
  return out;
}

void open(Opened& o, const tools::TilingProgram& program, Mode mode) {
  o.program = &program;
  o.layout = layOut(program);
  o.points = tiles::givenValues(program.givenPoints());
  // A block of few copies may hold no face whose copies one period away are
  // whole on both sides: the periods then show in a wider one.
  for (;;) {
    try {
      o.own = faces::analyse(faces::sceneSegments(blockAround(placedUnit(program, o.layout, o.points), o.layout)));
    } catch (const std::exception&) {
      o.own = {};
    }
    findFamily(o);
    if (o.own.faces.empty() || o.family.identity.lattice || o.layout.block >= widestBlock) break;
    o.layout.block += 2;
  }
  o.mode = o.family.family ? mode : Mode::construction;
}

bool inSymmetryMode(const Opened& o) { return o.mode == Mode::symmetry && o.family.family; }

namespace {

// The equations at the own shape, which keeps its tiles as drawn: the own
// analysis is of that shape, in the family's frame.
std::optional<family::TileKeeping> tileKeepingOf(const Opened& o) {
  if (!o.family.family) return std::nullopt;
  family::TileKeeping keep = family::congruenceOf(*o.family.family, o.family.own, o.own);
  if (keep.pairs.empty()) return std::nullopt;
  return keep;
}

// Holds the tiles to the kept group's equations, when it has some; the
// wish to keep them stays as it is.
bool engageTiles(Opened& o) {
  o.family.tiles = tileKeepingOf(o);
  return o.family.tiles.has_value();
}

}  // namespace

bool keepGroup(Opened& o, const std::string& name) {
  FamilyView& view = o.family;
  for (std::size_t k = 0; k < view.offer.size(); ++k) {
    if (view.offer[k].name != name) continue;
    if (!view.family) return false;
    family::Found found = family::familyOf(o.own, view.identity, view.offer[k], homeOf(o));
    if (!found.family) return false;
    // The shape now, as the new group sees it; the own shape when that
    // group does not allow it.
    family::Shape carried = family::carriedOver(*view.family, view.shape, *found.family);
    if (family::faultOf(*found.family, carried)) carried = found.shape;
    const bool keptTiles = view.tilesWanted;
    view.kept = k;
    view.family = std::move(found.family);
    view.own = found.shape;
    view.shape = carried;
    view.tiles.reset();
    // The shape carried over keeps its tiles when the old one did, but the
    // equations are the new group's; the own shape when they cannot hold.
    if (keptTiles && engageTiles(o) && family::mismatch(*view.family, view.shape, *view.tiles) > family::drawnWithin)
      view.shape = view.own;
    return true;
  }
  return false;
}

bool keepTiles(Opened& o, bool on) {
  if (!on) {
    o.family.tiles.reset();
    o.family.tilesWanted = false;
    return true;
  }
  std::optional<family::TileKeeping> keep = tileKeepingOf(o);
  if (!keep) return false;
  o.family.tiles = std::move(keep);
  o.family.tilesWanted = true;
  return true;
}

namespace {

// "p6 and p3 leave nothing to move": the groups on offer before the k-th.
std::string leaveNothing(const FamilyView& view, std::size_t k) {
  std::string names;
  for (std::size_t g = 0; g < k; ++g) names += (g ? ", " : "") + view.offer[g].name;
  return names + (k == 1 ? " leaves" : " leave") + " nothing to move";
}

// The largest group on offer, from the own group's state `own`, that leaves
// something to move with the tiles kept (`tiles`) or free; whether some
// group before it would have left something with them free.
std::optional<std::size_t> firstMoving(Opened& o, const Opened& own, bool tiles, bool& freeBefore) {
  freeBefore = false;
  for (std::size_t k = 0; k < own.family.offer.size(); ++k) {
    o = own;
    o.family.tilesWanted = tiles;
    if (k > 0 && !keepGroup(o, own.family.offer[k].name)) continue;
    if (tiles) engageTiles(o);
    else o.family.tiles.reset();
    if (freedomNow(o) >= 1) return k;
    freeBefore = freeBefore || o.family.family->freedom >= 1;
  }
  return std::nullopt;
}

}  // namespace

void chooseOpening(Opened& o) {
  if (!o.family.family) return;
  const Opened own = o;
  bool freeBefore = false;
  if (const auto k = firstMoving(o, own, true, freeBefore)) {
    o.family.opening = *k;
    o.family.openingTiles = o.family.tiles.has_value();
    if (*k > 0) o.family.openingWhy = leaveNothing(own.family, *k) + (freeBefore ? " with the tiles kept" : "");
    return;
  }
  if (const auto k = firstMoving(o, own, false, freeBefore)) {
    o.family.opening = *k;
    o.family.openingTiles = false;
    o.family.openingWhy = "the tiles kept congruent leave nothing to move";
    if (*k > 0) o.family.openingWhy += "; " + leaveNothing(own.family, *k);
    return;
  }
  o = own;
  engageTiles(o);
  o.family.openingTiles = o.family.tiles.has_value();
}

int freedomNow(const Opened& o) {
  if (!o.family.family) return 0;
  if (!o.family.tiles) return o.family.family->freedom;
  return family::freedomKeepingTiles(*o.family.family, o.family.shape, *o.family.tiles);
}

bool pinned(const Opened& o, std::size_t k) {
  if (!inSymmetryMode(o)) return k == 0 && o.layout.firstPinned;
  const family::Family& f = *o.family.family;
  // Vertex handles first, none on the crossings (the last classes); the
  // periods and bends after them move.
  if (k >= f.vertices.size() - std::size_t(f.crossings)) return false;
  const int orbit = f.vertices[k].orbit;
  if (o.family.tiles && !family::freeOrbits(f, o.family.shape, *o.family.tiles)[std::size_t(orbit)]) return true;
  return f.orbits[std::size_t(orbit)].free == 0;
}

bool bent(const Opened& o) {
  if (!inSymmetryMode(o)) return false;
  for (const std::vector<faces::Vec2>& b : o.family.shape.bends)
    if (!b.empty()) return true;
  return false;
}

int familyHalf(const family::Family& f) {
  std::size_t sides = 0;
  for (const family::Face& face : f.faces) sides += face.ring.size();
  return sides * 25 <= 500 ? 2 : 1;
}

faces::AnalysisOptions analysisOptions(const Opened& o) {
  faces::AnalysisOptions options;
  if (!bent(o)) return options;
  options.curvedSides = true;
  options.vertices = family::blockVertices(*o.family.family, o.family.shape, familyHalf(*o.family.family));
  return options;
}

faces::Vec2 exportFrame(const Opened& o, faces::Vec2 p) { return faces::minus(p, frameShift(o)); }
faces::Vec2 explorerFrame(const Opened& o, faces::Vec2 p) { return faces::plus(p, frameShift(o)); }

family::Family familyInExportFrame(const Opened& o) {
  family::Family f = *o.family.family;
  f.origin = exportFrame(o, f.origin);
  return f;
}

SceneStore shownBlock(const Opened& o) {
  SceneStore block;
  if (inSymmetryMode(o)) {
    const family::Family f = familyInExportFrame(o);
    block.segments = segmentsOf(family::blockTiles(f, o.family.shape, familyHalf(f)));
    return block;
  }
  if (degeneracy(o.program->givenPoints(), o.points, o.layout)) return block;
  const tools::Periodic unit = tools::periodicOf(*o.program, o.points);
  const int half = o.layout.block / 2;
  block.segments = tools::periodicBlock(unit, -half, half);
  if (sceneDegeneracy(block, o.layout)) block = {};
  return block;
}

tools::Periodic cutUnit(const Opened& o) {
  if (!inSymmetryMode(o)) return tools::periodicOf(*o.program, o.points);
  const family::Family f = familyInExportFrame(o);
  const family::Shape& s = o.family.shape;
  tools::Periodic unit;
  unit.unit = segmentsOf(family::unitEdges(f, s, bent(o) ? cutPieces : family::piecesPerSpan));
  unit.u = {s.u.x, s.u.y};
  unit.v = {s.v.x, s.v.y};
  return unit;
}

faces::AnalysisOptions shownOptions(const Opened& o) {
  faces::AnalysisOptions options = analysisOptions(o);
  for (faces::Vec2& p : options.vertices) p = exportFrame(o, p);
  return options;
}

}  // namespace shape
