// tilings-explore under random real input for a while: presses and drags of
// every button (handles taken and thrown about among them), the keys that
// step, reset and fill, and resizes down to one pixel. It stays alive, keeps
// answering, never prints a non-finite number, and holds its memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/explore/handles.h"
#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

using Clock = std::chrono::steady_clock;

long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Each step presses (on an edge in symmetry mode: a bend), releases, moves,
// resizes, types a key (modes, kept groups and curves among them) or takes
// one of the handles where the start-up view showed them and throws it
// anywhere.
std::string randomBurst(std::mt19937& random, const std::string& id,
                        const std::vector<exploretest::Pixel2>& handles) {
  std::uniform_int_distribution<int> x(-50, 1073), y(-50, 749), button(1, 5), action(0, 12),
      width(1, 1024), height(1, 700);
  const char* keys[] = {"n", "p", "Next", "Prior", "f", "r", "h", "m", "g", "c", "x"};
  std::ostringstream chain;
  for (int step = 0; step < 12; ++step) {
    switch (action(random)) {
      case 0: case 1: case 2: chain << " mousedown " << button(random); break;
      case 3: case 4: chain << " mouseup " << button(random); break;
      case 5: chain << " windowsize " << id << " " << width(random) << " " << height(random); break;
      case 6: chain << " key --window " << id << " " << keys[random() % std::size(keys)]; break;
      case 7: case 8: {
        const exploretest::Pixel2 h = handles[random() % handles.size()];
        chain << " mousemove --window " << id << " " << int(h.x) << " " << int(h.y)
              << " mousedown 1 mousemove --window " << id << " " << x(random) * 3 - 1000 << " "
              << y(random) * 3 - 700 << " mousemove --window " << id << " " << x(random) << " "
              << y(random) << " mouseup 1";
        break;
      }
      default: chain << " mousemove --window " << id << " " << x(random) << " " << y(random);
    }
  }
  return chain.str();
}

// Back to the start-up size, with a few frames drawn there, so that the
// The least of a few readings a moment apart: the heap swings by half a
// MiB from one analysis to the next.
long leastResidentKiB(pid_t pid) {
  long least = residentKiB(pid);
  for (int reading = 0; reading < 4; ++reading) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    least = std::min(least, residentKiB(pid));
  }
  return least;
}

// GL's window-sized buffers are in use when memory is measured.
void settle(const std::string& id) {
  testbed::xdotool("windowsize " + id + " 1024 700");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  testbed::xdotool("key --window " + id + " f key --window " + id + " f");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

TEST(ExploreSoak, SurvivesRandomDragsKeysAndResizesWithoutGrowing) {
  testbed::RunningProgram program("tilings-explore", false, {"pentatile1"});
  unsigned long window = 0;
  for (int i = 0; i < 200 && window == 0 && program.alive(); ++i) {
    const std::string found = testbed::runCommand(
        "xdotool search --onlyvisible --name '^tilings-explore: ' 2>/dev/null").output;
    if (!found.empty()) window = std::stoul(found);
    else std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_NE(window, 0u) << program.standardError();
  const std::string id = std::to_string(window);
  const std::vector<exploretest::Pixel2> handles = exploretest::handles(testbed::screenshot(window));
  // Symmetry mode: the vertices of a period and the periods.
  ASSERT_GE(handles.size(), 3u);

  // The first eight seconds visit every tiling, the atlas's too, and warm
  // the heap up; resident memory is read after them and again every six
  // seconds of random input.
  std::mt19937 random(2024);
  const auto start = Clock::now();
  std::string next;
  for (std::size_t k = 0; k < tools::everyTiling().size(); ++k) next += " key --window " + id + " n";
  testbed::xdotool(next);
  std::vector<long> readKiB;
  while (Clock::now() - start < std::chrono::seconds(20)) {
    if (Clock::now() - start > std::chrono::seconds(8 + 6 * readKiB.size())) {
      settle(id);
      readKiB.push_back(leastResidentKiB(program.pid()));
    }
    testbed::runCommand("xdotool" + randomBurst(random, id, handles) + " >/dev/null 2>&1");
    ASSERT_TRUE(program.alive()) << "died; stderr: " << program.standardError();
  }
  testbed::xdotool("mouseup 1 mouseup 2 mouseup 3 mouseup 4 mouseup 5");
  settle(id);

  // Still answering: the program's own points again print a status line.
  const std::size_t printed = program.standardOutput().size();
  testbed::xdotool("key --window " + id + " n key --window " + id + " r");
  std::string output;
  for (int i = 0; i < 100 && (output = program.standardOutput()).size() == printed; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GT(output.size(), printed);
  EXPECT_EQ(output.find("nan"), std::string::npos);
  EXPECT_EQ(output.find("inf"), std::string::npos);
  // Handles were taken and let go, in either mode.
  EXPECT_TRUE(output.find("\npoints: ") != std::string::npos || output.find("\nshape: ") != std::string::npos);

  // Resident memory rises in steps that do not come back: the heap keeps
  // the room of the largest analysis so far (a throw far out makes a tangle
  // larger than any before it, a tiling not yet bent bends). A scene or
  // analysis left behind at each step would instead grow it by MiB in
  // every stretch of these seconds: one stretch of the two at least stays
  // within 3 MiB, and the whole within 8 (a busy machine has seen 2 MiB of
  // steps in a stretch).
  settle(id);
  readKiB.push_back(leastResidentKiB(program.pid()));
  ASSERT_GE(readKiB.size(), 3u);
  const long first = readKiB[1] - readKiB[0], second = readKiB.back() - readKiB[1];
  RecordProperty("resident_growth_kib", std::to_string(readKiB.back() - readKiB[0]));
  EXPECT_LT(std::min(first, second), 3072) << "resident " << readKiB[0] << ", " << readKiB[1] << ", "
                                           << readKiB.back() << " KiB at 8 s, 14 s and the end";
  EXPECT_LT(readKiB.back() - readKiB[0], 8192);
  ASSERT_TRUE(program.alive());
}

}  // namespace
