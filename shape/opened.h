// A tiling opened in a shape: the program, its mode, its given points and,
// in symmetry mode, its family under the kept group with the shape it is in.
// The explorer builds on it; the tools open links into it without a window.
//
// Positions in the family are held in the frame the explorer draws in,
// where a construction that starts at the origin has its first copy moved
// onto its given points. Every position shown or read outside (links, the
// terminal, reports, files) is in the frame of the program's own stored
// drawing, `tilings-export NAME --segments`: exportFrame and explorerFrame
// turn one into the other.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "faces/faces.h"
#include "family/congruent.h"
#include "family/family.h"
#include "shape/layout.h"
#include "symmetry/identity.h"
#include "tools/periodic.h"
#include "tools/registry.h"

namespace shape {

enum class Mode { symmetry, construction };

// The family of the program's own shape and where in it the shape is now.
struct FamilyView {
  symmetry::Identity identity;           // of the own shape
  std::vector<family::KeptGroup> offer;  // the groups it may keep, its own first
  std::size_t kept = 0;                  // in offer
  // The group the explorer opens in (chooseOpening): the largest on offer
  // whose family leaves something to move, or the own group when none does;
  // whether it opens with the tiles kept, and why it is not the own group
  // ("p31m leaves nothing to move"), empty when it is.
  std::size_t opening = 0;
  bool openingTiles = false;
  std::string openingWhy;
  std::optional<family::Family> family;  // under the kept group
  family::Shape own, shape;              // the own shape, and the shape now
  std::string problem;                   // why there is no family
  // While tiles congruent in the drawing but in different orbits are kept
  // congruent: the equations that tie them.
  std::optional<family::TileKeeping> tiles;
  // Whether the tiles are to be kept wherever the kept group has some to
  // keep: a change of group keeps them in the new group when it can.
  bool tilesWanted = true;
};

struct Opened {
  const tools::TilingProgram* program = nullptr;
  Mode mode = Mode::symmetry;
  Layout layout;
  faces::Analysis own;        // of the program's own shape, as the explorer places it
  std::vector<Point> points;  // the given points now
  FamilyView family;
};

// The program with its own shape, in `mode` unless it has no family (then
// in construction mode).
void open(Opened& opened, const tools::TilingProgram& program, Mode mode = Mode::symmetry);
bool inSymmetryMode(const Opened& opened);
// Keeps the group on offer called `name`: the shape stays as it is when the
// group allows it, and is the own shape otherwise. False when none is.
bool keepGroup(Opened& opened, const std::string& name);
// Keeps the tiles congruent that the drawing has congruent across orbits,
// or stops keeping them; false, with nothing changed, when there are no
// such tiles to keep (the group keeps every class already) or no family.
bool keepTiles(Opened& opened, bool on);
// Keeps what the explorer opens in: the tiles kept congruent wherever a
// class of them spans several orbits, in the largest group on offer that
// leaves something to move with them kept; when none does, the tiles free
// in the largest group that leaves something to move; the own group, tiles
// kept, when nothing moves at all.
void chooseOpening(Opened& opened);
// The degrees of freedom the shape has now: the family's, or what the
// equations of the kept tiles leave at this shape.
int freedomNow(const Opened& opened);

// Given point k stays where the program has it (construction mode), or
// vertex handle k sits at a centre of rotation (symmetry mode).
bool pinned(const Opened& opened, std::size_t k);
// Whether any edge is bent: its sides are then curves, analysed as such.
bool bent(const Opened& opened);

// The family's block: its periods each way from the middle one, a few
// periods wide, so that the analysis finds the periods and the group, and
// no more, so that a drag step stays quick.
int familyHalf(const family::Family& family);
// How a block is analysed: with bent edges, as curves whose vertices are
// known.
faces::AnalysisOptions analysisOptions(const Opened& opened);

// A point, and a drawing's segments, as the scene stores them (floats,
// black).
Point pointOf(faces::Vec2 p);
std::vector<Segment> segmentsOf(const std::vector<faces::Segment2>& drawn);

// From the explorer's frame to the stored drawing's, and back.
faces::Vec2 exportFrame(const Opened& opened, faces::Vec2 p);
faces::Vec2 explorerFrame(const Opened& opened, faces::Vec2 p);
// The family as the stored drawing's frame places it.
family::Family familyInExportFrame(const Opened& opened);

// For files and reports, in the stored drawing's frame: the block analysed,
// its curves drawn as finely as in the window, and the unit with its periods,
// bent edges drawn finer still for a cut at a page's size. Empty when the
// given points build nothing that can be shown.
SceneStore shownBlock(const Opened& opened);
tools::Periodic cutUnit(const Opened& opened);
// The same, with `analysisOptions` in the stored drawing's frame.
faces::AnalysisOptions shownOptions(const Opened& opened);

}  // namespace shape
