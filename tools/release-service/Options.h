#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace release_service {

struct ServiceOptions {
  std::filesystem::path releaseFolder;
  std::filesystem::path stateFolder;
  std::optional<std::filesystem::path> recordsFile;  // empty: STATE/telemetry-PORT.log
  int httpsPort = 0;
  int httpPort = 0;
  int controlPort = 0;
  std::vector<std::string> faults;
};

struct ParsedOptions {
  std::optional<ServiceOptions> options;  // empty: see error, or help was asked for
  std::string error;
  bool help = false;
};

// Reads the command line; defaults come from the build settings.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

const char* UsageText();

}  // namespace release_service
