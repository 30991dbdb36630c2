// tilings-export: any program's scene as SVG, built by the program's own
// construction code, without a window.
//
//   tilings-export NAME [FORMAT] [-o FILE]  one scene, to standard output or FILE
//   tilings-export --all DIR [FORMAT]       NAME.svg (.segments, .png) for every program
//
// FORMAT: none for the plain drawing; --fill for the picture with every face
// filled by its class; --png for that picture rendered to PNG; --segments
// for the segments as text, "x1 y1 x2 y2" a line.
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "faces/faces.h"
#include "tools/analyse/segments_text.h"
#include "tools/export/png.h"
#include "tools/export/svg.h"
#include "tools/export/write_whole.h"
#include "tools/registry.h"

namespace {

int usage() {
  std::cerr << "usage: tilings-export NAME [--fill|--png|--segments] [-o FILE]\n"
               "       tilings-export --all DIR [--fill|--png|--segments]\n";
  return 2;
}

enum class Format { drawing, filled, png, segments };

const char* extensionOf(Format f) {
  return f == Format::png ? ".png" : f == Format::segments ? ".segments" : ".svg";
}

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-export: unknown program '" << name
            << "'; the programs are:\n";
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    std::cerr << "  " << p.name << "\n";
  return 2;
}

// The program's scene in the chosen format. Construction may write progress
// words to standard output; they are kept out of the output. The PNG is the
// filled picture rendered by librsvg; an empty result means it failed, and
// the reason is on standard error.
std::string exported(const tools::TilingProgram& program, Format format) {
  const SceneStore scene = tools::builtScene(program);
  std::ostringstream text;
  if (format == Format::drawing) tools::writeSvg(text, scene);
  if (format == Format::segments) tools::writeSegments(text, scene);
  if (format == Format::filled || format == Format::png)
    tools::writeFilledSvg(text, scene, faces::analyse(faces::sceneSegments(scene)));
  if (format != Format::png) return text.str();
  std::string png, error;
  if (!tools::renderPng(text.str(), 1.25, png, error)) {
    std::cerr << "tilings-export: " << program.name << ": " << error << "\n";
    return {};
  }
  return png;
}

bool written(const std::string& path, const std::string& text) {
  std::string error;
  if (tools::writeWhole(path, text, error)) return true;
  std::cerr << "tilings-export: cannot write " << path << ": " << error << "\n";
  return false;
}

int exportAll(const std::string& dir, Format format) {
  std::error_code failed;
  std::filesystem::create_directories(dir, failed);
  if (failed) {
    std::cerr << "tilings-export: cannot create " << dir << ": " << failed.message() << "\n";
    return 1;
  }
  for (const tools::TilingProgram& p : tools::tilingPrograms()) {
    const std::string out = exported(p, format);
    const std::string path =
        (std::filesystem::path(dir) / (std::string(p.name) + extensionOf(format))).string();
    if (out.empty() || !written(path, out)) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string name, all, output;
  Format format = Format::drawing;
  int formats = 0;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--fill") format = Format::filled, ++formats;
    else if (arg == "--png") format = Format::png, ++formats;
    else if (arg == "--segments") format = Format::segments, ++formats;
    else if (arg == "--all" && k + 1 < argc && all.empty()) all = argv[++k];
    else if (arg == "-o" && k + 1 < argc && output.empty()) output = argv[++k];
    else if (name.empty() && !arg.starts_with("-")) name = arg;
    else return usage();
  }
  if (formats > 1 || name.empty() == all.empty() || (!all.empty() && !output.empty()))
    return usage();
  try {
    if (!all.empty()) return exportAll(all, format);
    const tools::TilingProgram* program = tools::findTilingProgram(name);
    if (program == nullptr) return unknownProgram(name);
    const std::string out = exported(*program, format);
    if (out.empty()) return 1;
    if (!output.empty()) return written(output, out) ? 0 : 1;
    std::cout << out << std::flush;
    return std::cout ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "tilings-export: " << e.what() << "\n";
    return 1;
  }
}
