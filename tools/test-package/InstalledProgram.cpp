#include "tools/test-package/InstalledProgram.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace test_package {
namespace {

std::string FileNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The install folder: the program's folder, less one level for each folder in its installed path.
std::string InstallFolderOf(const std::string& programPath, const char* installedPath) {
  std::string folder = programPath;
  const int levels = 1 + static_cast<int>(std::count(installedPath, installedPath + std::strlen(installedPath), '/'));
  for (int i = 0; i < levels; ++i) {
    const auto slash = folder.rfind('/');
    if (slash == std::string::npos) return ".";
    folder.erase(slash == 0 ? 1 : slash);
  }
  return folder;
}

}  // namespace

const char* InstalledProgramNamed(const std::string& fileName) {
  for (const char* path : kInstalledPrograms) {
    if (FileNameOf(path) == fileName) return path;
  }
  return nullptr;
}

int RunInstalledProgram(const std::string& programPath, const char* installedPath, int argc, char** argv) {
  std::string line = FileNameOf(installedPath);
  for (int i = 1; i < argc; ++i) line += std::string(" ") + argv[i];
  line += '\n';
  const std::string log = InstallFolderOf(programPath, installedPath) + "/ran.log";
  const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::fprintf(stderr, "%s: cannot open %s: %s\n", argv[0], log.c_str(), std::strerror(errno));
    return 1;
  }
  // One write, so lines of programs that run at the same time never mix.
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::close(fd);
  return written ? 0 : 1;
}

}  // namespace test_package
