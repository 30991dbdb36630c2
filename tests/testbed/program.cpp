#include "tests/testbed/program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "viewer/viewer.h"

namespace testbed {

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string shellQuoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

void pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

std::string programPath(const std::string& name) {
  return std::string(TILINGS_BIN_DIR) + "/" + name;
}

CommandResult runCommand(const std::string& command) {
  privateDisplay();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, ""};
  std::string output;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
          output};
}

RunningProgram::RunningProgram(const std::string& name, bool traced,
                               const std::vector<std::string>& args) {
  privateDisplay();
  char pattern[] = "/tmp/tilings-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  if (traced) trace_ = dir_ + "/frames.trace";

  std::vector<std::string> command;
  if (traced) command = {"apitrace", "trace", "--output", trace_};
  command.push_back(programPath(name));
  command.insert(command.end(), args.begin(), args.end());

  const std::string out = dir_ + "/stdout", err = dir_ + "/stderr";
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    // Its own process group, so that stop() reaches a traced program
    // through apitrace; it dies with the test.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    freopen(out.c_str(), "w", stdout);
    freopen(err.c_str(), "w", stderr);
    std::vector<char*> argv;
    for (std::string& s : command) argv.push_back(s.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  setpgid(pid_, pid_);
}

RunningProgram::~RunningProgram() {
  stop();
  runCommand("rm -rf " + shellQuoted(dir_));
}

bool RunningProgram::alive() {
  if (pid_ <= 0) return false;
  int status;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return false;
  }
  return true;
}

int RunningProgram::stop() {
  if (pid_ > 0) {
    kill(-pid_, SIGTERM);
    int status;
    for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; ++i) pause(50);
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    // A traced program's tracer may outlive the first signal briefly.
    kill(-pid_, SIGKILL);
    pid_ = -1;
  }
  return status_;
}

unsigned long RunningProgram::window() {
  if (window_ != 0) return window_;
  const std::string search = "xdotool search --onlyvisible --name " +
                             shellQuoted(std::string("^") + windowTitle + "$") +
                             " 2>/dev/null";
  for (int i = 0; i < 400 && alive(); ++i) {
    const CommandResult found = runCommand(search);
    if (found.status == 0 && !found.output.empty()) {
      window_ = std::stoul(found.output);
      return window_;
    }
    pause(50);
  }
  throw std::runtime_error("no window appeared; stderr: " + standardError());
}

std::string RunningProgram::standardOutput() const {
  return readFile(dir_ + "/stdout");
}

std::string RunningProgram::standardError() const {
  return readFile(dir_ + "/stderr");
}

WindowGeometry windowGeometry(unsigned long window) {
  // "  Position: 100,50 (screen: 0)" and "  Geometry: 1024x700".
  const std::string text =
      runCommand("xdotool getwindowgeometry " + std::to_string(window)).output;
  WindowGeometry g{};
  const std::size_t position = text.find("Position:");
  if (position != std::string::npos)
    std::sscanf(text.c_str() + position, "Position: %d,%d", &g.x, &g.y);
  const std::size_t geometry = text.find("Geometry:");
  if (geometry != std::string::npos)
    std::sscanf(text.c_str() + geometry, "Geometry: %dx%d", &g.width, &g.height);
  return g;
}

std::string windowName(unsigned long window) {
  std::string name =
      runCommand("xdotool getwindowname " + std::to_string(window)).output;
  while (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

// Binary PPM with 8-bit channels: "P6", width, height, 255, one white
// space, then RGB. Anything else gives an empty image.
static Image decodePpm(const std::string& text) {
  std::istringstream in(text);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  in >> magic >> width >> height >> maxval;
  in.get();
  if (magic != "P6" || maxval != 255 || width <= 0 || height <= 0) return Image{};
  Image image{width, height, std::vector<Pixel>(std::size_t(width) * height)};
  in.read(reinterpret_cast<char*>(image.pixels.data()),
          std::streamsize(image.pixels.size() * 3));
  return image;
}

Image readPicture(const std::string& path) {
  return decodePpm(runCommand("convert " + shellQuoted(path) + " -depth 8 ppm:-").output);
}

static Image takeScreenshot(unsigned long window) {
  Image image = decodePpm(
      runCommand("import -window " + std::to_string(window) + " -depth 8 ppm:-").output);
  if (image.width == 0)
    throw std::runtime_error("import gave no picture of window " +
                             std::to_string(window));
  return image;
}

// A mapped window is black until its first frame reaches it, and a frame
// can be caught half drawn: take pictures until two in a row agree and show
// more than black.
Image screenshot(unsigned long window) {
  Image last = takeScreenshot(window);
  for (int i = 0; i < 50; ++i) {
    pause(100);
    Image next = takeScreenshot(window);
    const bool black = std::all_of(next.pixels.begin(), next.pixels.end(),
                                   [](Pixel p) { return p == Pixel{0, 0, 0}; });
    if (!black && next.pixels == last.pixels) return next;
    last = std::move(next);
  }
  return last;
}

void xdotool(const std::string& args) {
  const CommandResult r = runCommand("xdotool " + args + " 2>&1");
  ASSERT_EQ(r.status, 0) << "xdotool " << args << ": " << r.output;
}

std::string GlCall::arg(const std::string& key) const {
  // Arguments are "name = value" separated by commas outside braces.
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= args.size(); ++i) {
    const char c = i < args.size() ? args[i] : ',';
    if (c == '{' || c == '(' || c == '[') ++depth;
    if (c == '}' || c == ')' || c == ']') --depth;
    if (c == ',' && depth == 0) {
      std::string part = args.substr(start, i - start);
      start = i + 1;
      const std::size_t eq = part.find(" = ");
      if (eq == std::string::npos) continue;
      std::string name = part.substr(0, eq);
      name.erase(0, name.find_first_not_of(' '));
      if (name == key) return part.substr(eq + 3);
    }
  }
  return "";
}

double GlCall::number_arg(const std::string& key) const {
  return std::stod(arg(key));
}

std::vector<GlCall> dumpTrace(const std::string& tracePath) {
  const CommandResult r =
      runCommand("apitrace dump --color=never " + shellQuoted(tracePath));
  std::vector<GlCall> calls;
  std::istringstream lines(r.output);
  std::string line;
  while (std::getline(lines, line)) {
    // "123 glVertex3f(x = 4, y = -1, z = 0)" with an optional " = result".
    const std::size_t space = line.find(' ');
    const std::size_t open = line.find('(');
    if (space == std::string::npos || open == std::string::npos || open < space)
      continue;
    const std::string number = line.substr(0, space);
    if (number.empty() ||
        number.find_first_not_of("0123456789") != std::string::npos)
      continue;
    std::size_t close = line.rfind(')');
    if (close == std::string::npos || close < open) close = line.size();
    calls.push_back(GlCall{std::stol(number),
                           line.substr(space + 1, open - space - 1),
                           line.substr(open + 1, close - open - 1)});
  }
  return calls;
}

std::vector<GlCall> frameCalls(const std::vector<GlCall>& calls, int k) {
  std::vector<GlCall> frame;
  int swaps = 0;
  for (const GlCall& call : calls) {
    if (swaps == k) frame.push_back(call);
    if (call.name == "glXSwapBuffers" && ++swaps > k) break;
  }
  return frame;
}

std::vector<GlCall> traceProgram(const std::string& name) {
  RunningProgram program(name, true);
  program.window();
  pause(1500);
  program.stop();
  return dumpTrace(program.tracePath());
}

FirstFrame readFirstFrame(const std::vector<GlCall>& frame) {
  FirstFrame f;
  double red = 0, green = 0, blue = 0;
  for (std::size_t k = 0; k < frame.size(); ++k) {
    const GlCall& c = frame[k];
    if (!f.drawn) {
      if (c.name == "glClear") f.drawn = true;
      if (c.name == "glTranslatef" && !f.eyePlaced) {
        f.eyePlaced = true;
        f.eyeX = c.number_arg("x");
        f.eyeY = c.number_arg("y");
        f.eyeZ = c.number_arg("z");
      }
      if (!f.drawn) continue;
    }
    if (c.name == "glColor3f") {
      red = c.number_arg("red");
      green = c.number_arg("green");
      blue = c.number_arg("blue");
    }
    if (c.name != "glBegin") continue;
    if (c.arg("mode") == "GL_POINTS") ++f.dotPairs;
    if (c.arg("mode") != "GL_LINES" || k + 2 >= frame.size()) continue;
    const GlCall& a = frame[k + 1];
    const GlCall& b = frame[k + 2];
    if (a.name != "glVertex3f" || b.name != "glVertex3f") continue;
    f.lines.push_back({a.number_arg("x"), a.number_arg("y"), b.number_arg("x"),
                       b.number_arg("y"), red, green, blue});
  }
  return f;
}

void savePng(const Image& image, const std::string& path) {
  const std::string ppm = path + ".ppm";
  {
    std::ofstream out(ppm, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()),
              std::streamsize(image.pixels.size() * 3));
  }
  runCommand("convert " + shellQuoted(ppm) + " " + shellQuoted(path) + " && rm -f " +
             shellQuoted(ppm));
}

}  // namespace testbed
