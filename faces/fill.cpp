#include <array>

#include "faces/faces.h"

namespace faces {

namespace {

// A qualitative scheme of pale colours made to be told apart with every
// common kind of colour blindness, light enough for black edges on top. Red
// is kept for problems.
constexpr std::array<Rgb8, 9> classColours{{
    {0x77, 0xaa, 0xdd},  // light blue
    {0xee, 0xdd, 0x88},  // light yellow
    {0x44, 0xbb, 0x99},  // mint
    {0xff, 0xaa, 0xbb},  // pink
    {0x99, 0xdd, 0xff},  // light cyan
    {0xbb, 0xcc, 0x33},  // pear
    {0xee, 0x88, 0x66},  // orange
    {0xaa, 0xaa, 0x00},  // olive
    {0xdd, 0xdd, 0xdd},  // pale grey
}};
constexpr Rgb8 problemRed{0xd0, 0x10, 0x10};

unsigned char mix(unsigned char from, unsigned char to, double share) {
  return static_cast<unsigned char>(from + (to - from) * share + 0.5);
}

Rgb8 mix(Rgb8 c, unsigned char to, double share) {
  return {mix(c.r, to, share), mix(c.g, to, share), mix(c.b, to, share)};
}

// Shades for the orientations of one class: each further orientation a
// step lighter or darker (negative: towards black), alternating so that
// neighbours in the list differ most.
constexpr std::array<double, 8> directShades{0, 0.35, -0.3, 0.6, -0.5, 0.8, -0.65, 0.9};
// Mirror images start from a darker, greyer tone of the class colour and
// only ever get lighter.
constexpr std::array<double, 8> mirroredShades{0, 0.3, 0.5, 0.65, 0.15, 0.4, 0.58, 0.75};

Rgb8 shade(Rgb8 c, double step) {
  return step >= 0 ? mix(c, 0xff, step) : mix(c, 0x00, -step);
}

}  // namespace

Rgb8 fillOf(const Analysis& analysis, const Face& face) {
  if (face.problem || face.cls < 0) return problemRed;
  Rgb8 c = classColours[std::size_t(face.cls) % classColours.size()];
  if (face.mirrored) c = mix(c, 0x40, 0.45);
  int step = 0;
  const FaceClass& cls = analysis.classes[face.cls];
  for (int k = 0; k < face.orientation; ++k)
    if (cls.orientations[k].mirrored == face.mirrored) ++step;
  const auto& shades = face.mirrored ? mirroredShades : directShades;
  return shade(c, shades[std::size_t(step) % shades.size()]);
}

}  // namespace faces
