#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test {

// A throw-away folder for one test. With PointHomeHere, HOME, the XDG folders and the runtime
// folder point inside it until the object goes, so the code under test writes nothing outside.
class TempHome {
 public:
  enum class Environment { Keep, PointHomeHere };

  explicit TempHome(Environment environment = Environment::PointHomeHere);
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;
  ~TempHome();

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path config() const { return root_ / ".config"; }
  std::filesystem::path cache() const { return root_ / ".cache"; }
  std::filesystem::path data() const { return root_ / ".local/share"; }
  std::filesystem::path runtime() const { return root_ / "run"; }

 private:
  std::filesystem::path root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);

}  // namespace test
