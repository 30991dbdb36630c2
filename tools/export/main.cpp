// tilings-export: any program's scene as SVG, built by the program's own
// construction code, without a window.
//
//   tilings-export NAME [-o FILE]   one scene, to standard output or FILE
//   tilings-export --all DIR        NAME.svg for every program
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/export/svg.h"
#include "tools/registry.h"

namespace {

int usage() {
  std::cerr << "usage: tilings-export NAME [-o FILE] | tilings-export --all DIR\n";
  return 2;
}

int unknownProgram(const std::string& name) {
  std::cerr << "tilings-export: unknown program '" << name
            << "'; the programs are:\n";
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    std::cerr << "  " << p.name << "\n";
  return 2;
}

// The program's scene as SVG text. Construction may write progress words to
// standard output; they are kept out of the drawing.
std::string drawing(const tools::TilingProgram& program) {
  clearScene();
  {
    const tools::QuietConsole quiet;
    program.buildScene();
  }
  std::ostringstream svg;
  tools::writeSvg(svg, Scene);
  clearScene();
  return svg.str();
}

// Writes text to path through a temporary file in the same folder and a
// rename, so that a failure leaves no partial file behind.
bool writeWhole(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string hidden(".");
  hidden.append(target.filename().string()).append(".XXXXXX");
  std::string temporary = (folder / hidden).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    std::cerr << "tilings-export: cannot write " << path << ": " << std::strerror(errno) << "\n";
    return false;
  }
  // mkstemp makes the file private; give it the mode a new file would get.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  const char* data = text.data();
  std::size_t left = text.size();
  int error = 0;
  while (left > 0) {
    const ssize_t n = write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    data += n;
    left -= std::size_t(n);
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    std::cerr << "tilings-export: cannot write " << path << ": " << std::strerror(error) << "\n";
    return false;
  }
  return true;
}

int exportAll(const std::string& dir) {
  std::error_code failed;
  std::filesystem::create_directories(dir, failed);
  if (failed) {
    std::cerr << "tilings-export: cannot create " << dir << ": " << failed.message() << "\n";
    return 1;
  }
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    if (!writeWhole((std::filesystem::path(dir) / (std::string(p.name) + ".svg")).string(),
                    drawing(p)))
      return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--all") return exportAll(argv[2]);
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "-o")) return usage();
  const tools::TilingProgram* program = tools::findTilingProgram(argv[1]);
  if (program == nullptr) return unknownProgram(argv[1]);
  const std::string svg = drawing(*program);
  if (argc == 4) return writeWhole(argv[3], svg) ? 0 : 1;
  std::cout << svg << std::flush;
  return std::cout ? 0 : 1;
}
