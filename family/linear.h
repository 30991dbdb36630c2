// The little linear algebra the family needs: an orthonormal basis of the
// vectors that a few linear conditions leave free, in at most four numbers.
#pragma once

#include <array>
#include <cmath>
#include <vector>

namespace family {

template <std::size_t N>
using Vector = std::array<double, N>;

template <std::size_t N>
double dotOf(const Vector<N>& a, const Vector<N>& b) {
  double s = 0;
  for (std::size_t k = 0; k < N; ++k) s += a[k] * b[k];
  return s;
}

// Gram-Schmidt: `v` less its parts along the orthonormal `basis`, added to
// it when anything of length over `tolerance` is left.
template <std::size_t N>
bool extend(std::vector<Vector<N>>& basis, Vector<N> v, double tolerance) {
  for (int pass = 0; pass < 2; ++pass)
    for (const Vector<N>& b : basis) {
      const double d = dotOf(v, b);
      for (std::size_t k = 0; k < N; ++k) v[k] -= d * b[k];
    }
  const double n = std::sqrt(dotOf(v, v));
  if (!(n > tolerance)) return false;
  for (double& x : v) x /= n;
  basis.push_back(v);
  return true;
}

// The vectors x with row . x = 0 for every row: an orthonormal basis. The
// rows' entries are of the order of one, so what is left of a row below
// `tolerance` is float noise, not a condition.
template <std::size_t N>
std::vector<Vector<N>> nullSpace(const std::vector<Vector<N>>& rows, double tolerance = 1e-6) {
  std::vector<Vector<N>> rowSpace;
  for (const Vector<N>& r : rows) extend(rowSpace, r, tolerance);
  std::vector<Vector<N>> all = rowSpace;
  const std::size_t rank = rowSpace.size();
  for (std::size_t k = 0; k < N; ++k) {
    Vector<N> e{};
    e[k] = 1;
    extend(all, e, 1e-3);
  }
  return std::vector<Vector<N>>(all.begin() + std::ptrdiff_t(rank), all.end());
}

}  // namespace family
