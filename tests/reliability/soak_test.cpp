// Each program, left running for a while under random real mouse input and
// window resizes, stays alive, keeps drawing, holds its memory, and shows its
// start-up view again after a final resize (a resize discards navigation).
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

using Clock = std::chrono::steady_clock;

// Resident memory in KiB, from /proc.
long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// User plus system CPU time in clock ticks, from /proc.
long cpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return utime + stime;
}

// One burst of random input as a single xdotool command chain: presses and
// drags of every button (the wheel included), several at once, releases in
// any order, and now and then a resize.
std::string randomBurst(std::mt19937& random, unsigned long window) {
  const std::string id = std::to_string(window);
  std::uniform_int_distribution<int> x(0, 1023), y(0, 699), button(1, 5),
      action(0, 9), width(1, 1024), height(1, 700);
  std::ostringstream chain;
  for (int step = 0; step < 12; ++step) {
    switch (action(random)) {
      case 0: case 1: case 2:
        chain << " mousedown " << button(random);
        break;
      case 3: case 4:
        chain << " mouseup " << button(random);
        break;
      case 5:
        chain << " windowsize " << id << " " << width(random) << " "
              << (random() % 4 == 0 ? 1 : height(random));
        break;
      default:
        chain << " mousemove --window " << id << " " << x(random) << " " << y(random);
    }
  }
  return chain.str();
}

class Soak : public ::testing::TestWithParam<tools::TilingProgram> {};

TEST_P(Soak, SurvivesRandomInputAndResizesWithoutGrowing) {
  const std::string name(GetParam().name);
  testbed::RunningProgram program(name);
  const unsigned long window = program.window();
  const std::string id = std::to_string(window);
  const testbed::Image startup = testbed::screenshot(window);

  std::mt19937 random(std::hash<std::string>{}(name));
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const long earlyKiB = residentKiB(program.pid());
  while (Clock::now() - start < std::chrono::seconds(11)) {
    testbed::runCommand("xdotool" + randomBurst(random, window) + " >/dev/null 2>&1");
    ASSERT_TRUE(program.alive()) << name << " died; stderr: " << program.standardError();
  }
  // Let go of everything, then leave the start-up size and come back to it:
  // the same size again would not be a resize at all.
  testbed::xdotool("mouseup 1 mouseup 2 mouseup 3 mouseup 4 mouseup 5");
  testbed::xdotool("windowsize " + id + " 640 480");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  testbed::xdotool("windowsize " + id + " 1024 700");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  const long ticks = cpuTicks(program.pid());
  const testbed::Image last = testbed::screenshot(window);
  EXPECT_GT(cpuTicks(program.pid()), ticks) << "no longer redrawing";
  const long lateKiB = residentKiB(program.pid());
  RecordProperty("resident_growth_kib", std::to_string(lateKiB - earlyKiB));
  EXPECT_LT(lateKiB - earlyKiB, 1024) << "resident " << earlyKiB << " KiB at 2 s, "
                                      << lateKiB << " KiB at the end";
  ASSERT_TRUE(program.alive());
  ASSERT_EQ(last.width, startup.width);
  ASSERT_EQ(last.height, startup.height);
  if (last.pixels != startup.pixels) {
    testbed::savePng(startup, "/tmp/soak-" + name + "-startup.png");
    testbed::savePng(last, "/tmp/soak-" + name + "-end.png");
    ADD_FAILURE() << "the view after resizing differs from the start-up view; see /tmp/soak-"
                  << name << "-*.png";
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, Soak,
                         ::testing::ValuesIn(tools::tilingPrograms().begin(),
                                             tools::tilingPrograms().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
