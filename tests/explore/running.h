// tilings-explore run on the private display for the window tests: started
// once an earlier explorer's window is gone, found by its title, its
// printed lines awaited, and quit with q.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/testbed/program.h"

namespace exploretest {

using testbed::RunningProgram;

inline bool anyExplorerWindow() {
  return !testbed::runCommand("xdotool search --name '^tilings-explore: ' 2>/dev/null").output.empty();
}

// tilings-explore ARGS..., started once the window of an earlier one is
// gone: the server destroys a window a moment after its program ends, and
// a search by title must not find the old one.
inline std::unique_ptr<RunningProgram> explorerWith(const std::vector<std::string>& args, bool traced = false) {
  testbed::privateDisplay();
  for (int i = 0; i < 100 && anyExplorerWindow(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return std::make_unique<RunningProgram>("tilings-explore", traced, args);
}

// The explorer's window, found by its title.
inline unsigned long windowOf(RunningProgram& program) {
  for (int i = 0; i < 200 && program.alive(); ++i) {
    const testbed::CommandResult found =
        testbed::runCommand("xdotool search --onlyvisible --name '^tilings-explore: ' 2>/dev/null");
    if (found.status == 0 && !found.output.empty()) return std::stoul(found.output);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ADD_FAILURE() << "no window; stderr: " << program.standardError();
  return 0;
}

inline std::vector<std::string> outputLines(const RunningProgram& program) {
  std::vector<std::string> lines;
  std::istringstream in(program.standardOutput());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Waits until standard output has a line starting with `prefix`; the last.
inline std::string awaitLine(const RunningProgram& program, const std::string& prefix) {
  for (int i = 0; i < 100; ++i) {
    const std::vector<std::string> lines = outputLines(program);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->rfind(prefix, 0) == 0) return *it;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ADD_FAILURE() << "no line starting '" << prefix << "' in:\n" << program.standardOutput();
  return "";
}

inline void quit(RunningProgram& program, unsigned long window) {
  testbed::runCommand("xdotool key --window " + std::to_string(window) + " q >/dev/null 2>&1");
  // A traced explorer may still be drawing the frames of many steps.
  for (int i = 0; i < 400 && program.alive(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(program.stop(), 0);
}

}  // namespace exploretest
