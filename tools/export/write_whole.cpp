#include "tools/export/write_whole.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tools {

bool writeWhole(const std::string& path, const std::string& text, std::string& error) {
  const std::filesystem::path target(path);
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string hidden(".");
  hidden.append(target.filename().string()).append(".XXXXXX");
  std::string temporary = (folder / hidden).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  // mkstemp makes the file private; give it the mode a new file would get.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  const char* data = text.data();
  std::size_t left = text.size();
  int failure = 0;
  while (left > 0) {
    const ssize_t n = write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      break;
    }
    data += n;
    left -= std::size_t(n);
  }
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
  if (failure != 0) {
    unlink(temporary.c_str());
    error = std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace tools
