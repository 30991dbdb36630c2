// SVG text rendered to PNG bytes by librsvg on a Cairo image surface.
#pragma once

#include <string>

namespace tools {

// The picture at `scale` times the SVG's own size; false with `error` set
// when librsvg cannot read the SVG or Cairo cannot encode the picture.
bool renderPng(const std::string& svg, double scale, std::string& png, std::string& error);

}  // namespace tools
