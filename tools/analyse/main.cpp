// tilings-analyse: what each tiling is made of, found from the segments it
// draws: its periods, faces by kind, congruence classes, vertex
// configurations (in the patch and per period), problems and a verdict.
//
//   tilings-analyse NAME|all [--json]
//   tilings-analyse --segments FILE|- [--json] [--curved]   --curved: sides
//                                              drawn as polylines are curves
//   tilings-analyse --link LINK [--json]       the block the explorer
//                                              analyses for a shared shape
//   tilings-analyse NAME|all --identity   one line each on what it is
//                                         (docs/identity.tsv)
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shape/link.h"
#include "tools/analyse/identity_table.h"
#include "tools/analyse/report.h"
#include "shape/segments_text.h"
#include "tools/registry.h"

namespace {

int usage() {
  std::cerr << "usage: tilings-analyse NAME|all [--json|--identity]"
               " | tilings-analyse --segments FILE|- [--json] [--curved] | tilings-analyse --link LINK [--json]\n";
  return 2;
}

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-analyse: unknown tiling '" << name << "'; the tilings are:\n";
  for (const tools::TilingProgram& p : tools::everyTiling()) std::cerr << "  " << p.name << "\n";
  return 2;
}

// Analyses and writes one drawing; 1 when it has no closed face. A shape of
// a family is reported with that family as it stands.
int report(const std::string& name, const std::vector<faces::Segment2>& segments, bool json,
           const shape::Opened* shape = nullptr, const faces::AnalysisOptions& options = {}) {
  const faces::Analysis analysis = faces::analyse(segments, options);
  tools::Periodicity periods = tools::periodicityOf(analysis);
  if (shape && shape::inSymmetryMode(*shape)) {
    periods.family.family = shape::familyInExportFrame(*shape);
    periods.family.shape = shape->family.shape;
    periods.keeping = shape->family.tiles;
  }
  if (json)
    tools::writeJson(std::cout, name, segments.size(), analysis, periods);
  else
    tools::writeReport(std::cout, name, segments.size(), analysis, periods);
  if (analysis.faces.empty()) {
    std::cerr << "tilings-analyse: " << name << ": the segments close no face\n";
    return 1;
  }
  return 0;
}

int analyseFile(const std::string& path, bool json, const faces::AnalysisOptions& options) {
  std::ifstream file;
  if (path != "-") {
    file.open(path);
    if (!file) {
      std::cerr << "tilings-analyse: cannot open " << path << "\n";
      return 1;
    }
  }
  std::istream& in = path == "-" ? std::cin : file;
  const std::string name = path == "-" ? "standard input" : path;
  std::vector<faces::Segment2> segments;
  std::string error;
  if (!shape::readSegments(in, segments, error)) {
    std::cerr << "tilings-analyse: " << name << ": " << error << "\n";
    return 1;
  }
  return report(name, segments, json, nullptr, options);
}

// A program's own drawing; its family is the one the explorer and the links
// name, with its representatives about the given points, in the stored
// drawing's frame.
int reportProgram(const tools::TilingProgram& program, bool json) {
  shape::Opened opened;
  shape::open(opened, program);
  // The own shape keeps its tiles: what keeping them leaves is reported.
  shape::keepTiles(opened, true);
  return report(std::string(program.name), faces::sceneSegments(tools::builtScene(program)), json, &opened);
}

int analysePrograms(const std::string& name, bool json) {
  if (name == "all") {
    int status = 0;
    if (json) std::cout << "[\n";
    bool first = true;
    for (const tools::TilingProgram& p : tools::everyTiling()) {
      if (json && !first) std::cout << ",\n";
      first = false;
      status |= reportProgram(p, json);
    }
    if (json) std::cout << "]\n";
    return status;
  }
  const tools::TilingProgram* program = tools::findTilingProgram(name);
  if (program == nullptr) return unknownProgram(name);
  return reportProgram(*program, json);
}

int analyseLink(const std::string& link, bool json) {
  shape::Opened opened;
  if (const int status = shape::openLink(opened, link, "tilings-analyse", std::cerr)) return status;
  return report(std::string(opened.program->name), faces::sceneSegments(shape::shownBlock(opened)), json,
                &opened, shape::shownOptions(opened));
}

int identities(const std::string& name) {
  if (name != "all" && tools::findTilingProgram(name) == nullptr) return unknownProgram(name);
  std::cout << tools::identityHeader();
  for (const tools::TilingProgram& p : tools::everyTiling())
    if (name == "all" || p.name == name)
      std::cout << tools::identityRow(p.name, faces::sceneSegments(tools::builtScene(p)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool json = false, identity = false;
  faces::AnalysisOptions options;
  std::string segmentsFile, name, link;
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "--json") {
      json = true;
    } else if (args[k] == "--curved") {
      options.curvedSides = true;
    } else if (args[k] == "--identity") {
      identity = true;
    } else if (args[k] == "--segments" && k + 1 < args.size() && segmentsFile.empty()) {
      segmentsFile = args[++k];
    } else if (args[k] == "--link" && k + 1 < args.size() && link.empty()) {
      link = args[++k];
    } else if (name.empty() && !args[k].starts_with("--")) {
      name = args[k];
    } else {
      return usage();
    }
  }
  if (int(!name.empty()) + int(!segmentsFile.empty()) + int(!link.empty()) != 1 ||
      (identity && (json || name.empty())) || (options.curvedSides && segmentsFile.empty()))
    return usage();
  try {
    if (!link.empty()) return analyseLink(link, json);
    if (identity) return identities(name);
    return segmentsFile.empty() ? analysePrograms(name, json) : analyseFile(segmentsFile, json, options);
  } catch (const std::exception& e) {
    std::cerr << "tilings-analyse: " << e.what() << "\n";
    return 1;
  }
}
