// Started where there is no display, every program stops at once with a
// message on standard error and a failure status, instead of hanging or
// crashing.
#include <gtest/gtest.h>

#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

class WithoutDisplay : public ::testing::TestWithParam<tools::TilingProgram> {};

TEST_P(WithoutDisplay, FailsAtOnceWithAClearMessage) {
  const std::string program = testbed::programPath(std::string(GetParam().name));
  // timeout tells a hang (124) from a failure; a crash shows as 128 + signal.
  const testbed::CommandResult r = testbed::runCommand(
      "env -u DISPLAY timeout 20 " + program + " 2>&1 >/dev/null; echo \"status $?\"");
  EXPECT_NE(r.output.find("failed to open display"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("status 1\n"), std::string::npos) << r.output;
}

TEST_P(WithoutDisplay, UnreachableDisplayNamedOnTheCommandLineFailsToo) {
  const std::string program = testbed::programPath(std::string(GetParam().name));
  const testbed::CommandResult r = testbed::runCommand(
      "timeout 20 " + program + " -display :987 2>&1 >/dev/null; echo \"status $?\"");
  EXPECT_NE(r.output.find("failed to open display ':987'"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("status 1\n"), std::string::npos) << r.output;
}

INSTANTIATE_TEST_SUITE_P(Programs, WithoutDisplay,
                         ::testing::ValuesIn(tools::tilingPrograms().begin(),
                                             tools::tilingPrograms().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
