#include "symmetry/motif.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "faces/by_place.h"

namespace symmetry {

namespace {

using faces::Analysis;

// Members fewer than this share of the largest class's make a class sparse.
constexpr double sparseShare = 1.0 / 3;

using faces::ByPlace;
using faces::SamePlace;

int valence(const std::string& configuration) {
  return int(std::count(configuration.begin(), configuration.end(), '.')) + 1;
}

// Gathers things into classes of translates of one sort.
class Gathering {
 public:
  Gathering(const Frame& frame, double near) : frame_(frame), index_(frame, near) {}

  // The class the thing joins. A thing that is not `sound` lies next to
  // something that is not part of the pattern.
  int add(Vec2 at, int kind, bool sound = true, std::vector<Vec2> corners = {}) {
    const Vec2 st = frame_.toLattice(at);
    int id = index_.find(st, [&](int k) { return classes_[k].kind == kind; });
    if (id < 0) {
      id = int(classes_.size());
      index_.add(st, id);
      classes_.push_back({wrap(st), kind, 0, std::move(corners)});
      sound_.push_back(false);
    }
    ++classes_[id].count;
    sound_[id] = sound_[id] || sound;
    return id;
  }

  // Tiles: a class with few members among many is the drawing's edge.
  std::vector<Translates> tiles() {
    int most = 0;
    for (const Translates& c : classes_) most = std::max(most, c.count);
    for (Translates& c : classes_) c.sparse = c.count < sparseShare * most;
    return classes_;
  }
  // Vertices and edges: a class all of whose members touch tiles that are
  // not part of the pattern.
  std::vector<Translates> besideTiles() {
    for (std::size_t k = 0; k < classes_.size(); ++k) classes_[k].sparse = !sound_[k];
    return classes_;
  }

 private:
  const Frame& frame_;
  PeriodIndex index_;
  std::vector<Translates> classes_;
  std::vector<bool> sound_;
};

// The subdivision's edges by the nodes they join.
struct Nodes {
  ByPlace<std::vector<int>> spokes;
  explicit Nodes(const Analysis& a) {
    for (int e = 0; e < int(a.edges.size()); ++e) {
      spokes[a.edges[e].a].push_back(e);
      spokes[a.edges[e].b].push_back(e);
    }
  }
  // Whether every face around the node is one of the pattern's.
  bool soundAround(const Analysis& a, Vec2 at, const std::vector<bool>& soundFace) const {
    const auto it = spokes.find(at);
    if (it == spokes.end()) return false;
    for (int e : it->second)
      for (int f : {a.edges[e].left, a.edges[e].right})
        if (f < 0 || !soundFace[f]) return false;
    return true;
  }
};

struct Run {
  Vec2 centre;
  bool sound;
};

// The tiling's edges: runs of the subdivision's edges from vertex to vertex
// through points where only two faces meet, each given by the centre of
// its length. Runs that reach a node on the boundary are left out.
std::vector<Run> edgeRuns(const Analysis& a, const Nodes& nodes, const ByPlace<bool>& vertex,
                          const std::vector<bool>& soundFace) {
  std::vector<bool> walked(a.edges.size(), false);
  std::vector<Run> runs;
  for (const auto& [start, unused] : vertex) {
    for (int first : nodes.spokes.at(start)) {
      if (walked[first]) continue;
      Vec2 at = start, sum;
      double total = 0;
      bool whole = true, sound = true;
      for (int e = first;;) {
        walked[e] = true;
        const faces::Edge& edge = a.edges[e];
        const double len = std::hypot(edge.b.x - edge.a.x, edge.b.y - edge.a.y);
        sum.x += len * (edge.a.x + edge.b.x) / 2, sum.y += len * (edge.a.y + edge.b.y) / 2;
        total += len;
        whole = whole && edge.left >= 0 && edge.right >= 0;
        sound = sound && whole && soundFace[edge.left] && soundFace[edge.right];
        at = SamePlace()(edge.a, at) ? edge.b : edge.a;
        if (vertex.contains(at)) break;
        const std::vector<int>& next = nodes.spokes.at(at);
        if (next.size() != 2) {
          whole = false;
          break;
        }
        e = next[0] == e ? next[1] : next[0];
        if (walked[e]) break;
      }
      if (whole && total > 0) runs.push_back({{sum.x / total, sum.y / total}, sound});
    }
  }
  return runs;
}

}  // namespace

Motif motifOf(const Analysis& a, const Frame& frame, double near) {
  Motif m;
  Gathering tiles(frame, near);
  std::vector<int> classOf(a.faces.size(), -1);
  for (std::size_t k = 0; k < a.faces.size(); ++k) {
    const faces::Face& f = a.faces[k];
    if (f.cls < 0 || a.classes[f.cls].odd) continue;
    const Vec2 c = faces::middleOf(f);
    std::vector<Vec2> around;
    // A curved tile's points along its sides must map as its corners do.
    for (const std::vector<Vec2>* points : {&f.corners, &f.along})
      for (Vec2 p : *points) around.push_back({p.x - c.x, p.y - c.y});
    classOf[k] = tiles.add(c, f.cls, true, std::move(around));
  }
  m.tiles = tiles.tiles();
  std::vector<bool> soundFace(a.faces.size(), false);
  for (std::size_t k = 0; k < a.faces.size(); ++k)
    soundFace[k] = classOf[k] >= 0 && !m.tiles[classOf[k]].sparse;

  const Nodes nodes(a);
  ByPlace<bool> vertex;
  Gathering vertices(frame, near), edges(frame, near);
  std::map<std::string, int> configurations;
  for (const faces::Vertex& v : a.interior) {
    if (valence(v.configuration) < 3) continue;
    vertex[v.at] = true;
    const int kind =
        configurations.try_emplace(v.configuration, int(configurations.size())).first->second;
    vertices.add(v.at, kind, nodes.soundAround(a, v.at, soundFace));
  }
  for (const Run& r : edgeRuns(a, nodes, vertex, soundFace)) edges.add(r.centre, 0, r.sound);
  m.vertices = vertices.besideTiles();
  m.edges = edges.besideTiles();
  return m;
}

}  // namespace symmetry
