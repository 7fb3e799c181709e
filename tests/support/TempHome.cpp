#include "tests/support/TempHome.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace test {
namespace {

constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"};

std::filesystem::path MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumo-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

}  // namespace

TempHome::TempHome(Environment environment) : root_(MakeTempFolder()) {
  if (environment != Environment::PointHomeHere) return;
  for (const char* name : kVariables) {
    const char* value = std::getenv(name);
    savedEnvironment_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  std::filesystem::create_directories(runtime());
  ::setenv("HOME", root_.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config().c_str(), 1);
  ::setenv("XDG_CACHE_HOME", cache().c_str(), 1);
  ::setenv("XDG_DATA_HOME", data().c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtime().c_str(), 1);
}

TempHome::~TempHome() {
  for (const auto& [name, value] : savedEnvironment_) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  std::error_code ignored;
  std::filesystem::permissions(root_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(root_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

}  // namespace test
