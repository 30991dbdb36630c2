// Congruence classes filed by the shape of their first member, so that a
// face is fitted only against the few models that may be congruent to it,
// however many classes a drawing has: a tree over the distances between
// each model's corners, which congruent shapes share up to the fit's
// tolerance.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

#include "faces/faces.h"

namespace faces {

class ShapeIndex {
 public:
  // Calls visit(c) for the classes c whose model may be congruent to f,
  // lowest first, until visit returns true.
  template <class Visit>
  void forCandidates(const Face& f, Visit visit) const {
    for (int c : candidates(f))
      if (visit(c)) return;
  }
  // Files class c, whose model is f.
  void add(const Face& f, int c);

 private:
  struct Node {
    std::vector<double> key;
    int cls;
    int low = -1, high = -1;  // the nodes below, by key[depth % key size]
  };
  std::vector<int> candidates(const Face& f) const;

  std::map<std::size_t, std::vector<Node>> trees_;  // by number of corners; the root first
};

}  // namespace faces
