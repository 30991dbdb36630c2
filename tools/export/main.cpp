// tilings-export: any program's scene as SVG, built by the program's own
// construction code, without a window.
//
//   tilings-export NAME [FORMAT] [-o FILE]  one scene, to standard output or FILE
//   tilings-export --all DIR [FORMAT]       NAME.svg (.segments, .png) for every program and atlas entry
//   tilings-export NAME --cut --size WxHmm [--periods N] [--tile] [--fill] -o FILE.svg|FILE.pdf
//                                           a file to make things from
//   tilings-export --link LINK [FORMAT|--cut ...] [-o FILE]
//                                           a shape the explorer shares, as the
//                                           block it analyses (or its cut file)
//
// FORMAT: none for the plain drawing; --fill for the picture with every face
// filled by its class; --png for that picture rendered to PNG; --segments
// for the segments as text, "x1 y1 x2 y2" a line.
#include <cctype>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "shape/link.h"
#include "faces/faces.h"
#include "shape/segments_text.h"
#include "tools/export/cut.h"
#include "tools/export/png.h"
#include "tools/export/svg.h"
#include "tools/export/write_whole.h"
#include "tools/registry.h"

namespace {

int usage() {
  std::cerr
      << "usage: tilings-export NAME [--fill|--png|--segments] [-o FILE]\n"
         "       tilings-export --all DIR [--fill|--png|--segments]\n"
         "       tilings-export NAME --cut --size WxHmm [--periods N] [--tile] [--fill]\n"
         "                      -o FILE.svg|FILE.pdf\n"
         "       tilings-export --link LINK [any of the above but --all]\n"
         "\n"
         "--link takes a shape the explorer shares (explore.html?tiling=...), in\n"
         "symmetry or construction mode, instead of NAME.\n"
         "--cut writes the tiling's outlines filling a page of W x H millimetres\n"
         "(e.g. --size 200x150mm or 210x297mm), each edge once, in thin black lines\n"
         "joined into strokes in a short order, for a laser cutter, a plotter or a\n"
         "printer: SVG or PDF by the file's extension; standard error gives the\n"
         "strokes and the pen-up travel. --periods N puts N of the shortest periods\n"
         "across the page's shorter side (default 4). --tile writes one tile's\n"
         "outline alone, filling the page. --fill with --cut fills the faces by class\n"
         "under the edges.\n";
  return 2;
}

enum class Format { drawing, filled, png, segments };

const char* extensionOf(Format f) {
  return f == Format::png ? ".png" : f == Format::segments ? ".segments" : ".svg";
}

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-export: unknown tiling '" << name
            << "'; the tilings are:\n";
  for (const tools::TilingProgram& p : tools::everyTiling())
    std::cerr << "  " << p.name << "\n";
  return 2;
}

// The program's scene in the chosen format. Construction may write progress
// words to standard output; they are kept out of the output. The PNG is the
// filled picture rendered by librsvg; an empty result means it failed, and
// the reason is on standard error.
std::string exported(const std::string& name, const SceneStore& scene, Format format,
                     const faces::AnalysisOptions& options = {}) {
  std::ostringstream text;
  if (format == Format::drawing) tools::writeSvg(text, scene);
  if (format == Format::segments) shape::writeSegments(text, scene);
  if (format == Format::filled || format == Format::png)
    tools::writeFilledSvg(text, scene, faces::analyse(faces::sceneSegments(scene), options));
  if (format != Format::png) return text.str();
  std::string png, error;
  if (!tools::renderPng(text.str(), 1.25, png, error)) {
    std::cerr << "tilings-export: " << name << ": " << error << "\n";
    return {};
  }
  return png;
}

std::string exported(const tools::TilingProgram& program, Format format) {
  return exported(std::string(program.name), tools::builtScene(program), format);
}

bool written(const std::string& path, const std::string& text) {
  std::string error;
  if (tools::writeWhole(path, text, error)) return true;
  std::cerr << "tilings-export: cannot write " << path << ": " << error << "\n";
  return false;
}

// What --cut, --size, --periods and --tile ask for, as given.
struct CutOptions {
  bool cut = false, tile = false;
  std::string size, periods;
  bool asked() const { return cut || tile || !size.empty() || !periods.empty(); }
};

int refuse(const std::string& why) {
  std::cerr << "tilings-export: " << why << "\n";
  return 2;
}

bool endsWith(std::string text, const std::string& end) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text.size() > end.size() && text.ends_with(end);
}

// The request the options make: 0, or 2 with the reason said.
int readCutOptions(const CutOptions& options, bool filled, const std::string& output,
                   tools::CutRequest& request) {
  request.tile = options.tile;
  request.filled = filled;
  std::string error;
  if (options.size.empty()) return refuse("--cut needs --size WIDTHxHEIGHTmm, e.g. --size 200x150mm");
  if (!tools::parsePageSize(options.size, request.page, error))
    return refuse("--size " + options.size + ": " + error);
  if (!options.periods.empty() && options.tile)
    return refuse("--periods sets the scale of the whole drawing; --tile fills the page with one tile");
  if (!options.periods.empty() && !tools::parsePeriods(options.periods, request.periods, error))
    return refuse("--periods " + options.periods + ": " + error);
  if (!endsWith(output, ".pdf") && !endsWith(output, ".svg"))
    return refuse("--cut needs -o FILE.svg or -o FILE.pdf");
  return 0;
}

// The page file for one periodic drawing, `name` in messages: 2 when the
// page would need too many copies of it.
int exportCut(const std::string& name, const tools::Periodic& periodic,
              const tools::CutRequest& request, const std::string& output) {
  tools::Drawing drawing;
  try {
    drawing = tools::cutDrawing(periodic, request);
  } catch (const std::logic_error& e) {
    // Too many copies, or too tangled a drawing, for this page and scale.
    std::ostringstream page;
    page << name << " on --size " << request.page.width << "x" << request.page.height
         << "mm with --periods " << request.periods << ": " << e.what();
    return refuse(page.str());
  }
  std::cerr << "tilings-export: " << name << ": " << tools::strokeSummary(drawing) << "\n";
  std::string out, error;
  if (endsWith(output, ".pdf") && !tools::writeCutPdf(drawing, out, error)) {
    std::cerr << "tilings-export: " << name << ": " << error << "\n";
    return 1;
  }
  if (endsWith(output, ".svg")) {
    std::ostringstream text;
    tools::writeCutSvg(text, drawing);
    out = text.str();
  }
  return written(output, out) ? 0 : 1;
}

int exportAll(const std::string& dir, Format format) {
  std::error_code failed;
  std::filesystem::create_directories(dir, failed);
  if (failed) {
    std::cerr << "tilings-export: cannot create " << dir << ": " << failed.message() << "\n";
    return 1;
  }
  for (const tools::TilingProgram& p : tools::everyTiling()) {
    const std::string out = exported(p, format);
    const std::string path =
        (std::filesystem::path(dir) / (std::string(p.name) + extensionOf(format))).string();
    if (out.empty() || !written(path, out)) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string name, all, output, link;
  Format format = Format::drawing;
  int formats = 0;
  CutOptions cut;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--cut") cut.cut = true;
    else if (arg == "--tile") cut.tile = true;
    else if (arg == "--size" && k + 1 < argc && cut.size.empty()) cut.size = argv[++k];
    else if (arg == "--periods" && k + 1 < argc && cut.periods.empty()) cut.periods = argv[++k];
    else if (arg == "--fill") format = Format::filled, ++formats;
    else if (arg == "--png") format = Format::png, ++formats;
    else if (arg == "--segments") format = Format::segments, ++formats;
    else if (arg == "--all" && k + 1 < argc && all.empty()) all = argv[++k];
    else if (arg == "-o" && k + 1 < argc && output.empty()) output = argv[++k];
    else if (arg == "--link" && k + 1 < argc && link.empty()) link = argv[++k];
    else if (name.empty() && !arg.starts_with("-")) name = arg;
    else return usage();
  }
  if (formats > 1 || int(!name.empty()) + int(!all.empty()) + int(!link.empty()) != 1 ||
      (!all.empty() && !output.empty()))
    return usage();
  if (cut.asked() && (!all.empty() || (format != Format::drawing && format != Format::filled)))
    return usage();
  try {
    if (!link.empty()) {
      tools::CutRequest request;
      if (cut.asked())
        if (const int refused = readCutOptions(cut, format == Format::filled, output, request)) return refused;
      shape::Opened opened;
      if (const int status = shape::openLink(opened, link, "tilings-export", std::cerr)) return status;
      const std::string shown(opened.program->name);
      request.curved = shape::bent(opened);
      if (cut.asked()) return exportCut(shown, shape::cutUnit(opened), request, output);
      const std::string out =
          exported(shown, shape::shownBlock(opened), format, shape::shownOptions(opened));
      if (out.empty()) return 1;
      if (!output.empty()) return written(output, out) ? 0 : 1;
      std::cout << out << std::flush;
      return std::cout ? 0 : 1;
    }
    if (cut.asked()) {
      tools::CutRequest request;
      if (const int refused = readCutOptions(cut, format == Format::filled, output, request))
        return refused;
      const tools::TilingProgram* program = tools::findTilingProgram(name);
      if (program == nullptr) return unknownProgram(name);
      return exportCut(name, tools::periodicOf(*program), request, output);
    }
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
