#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace test {

// What the start probe (StartProbe.cpp) reported about how it was started.
struct ProbeReport {
  std::vector<std::string> arguments;  // argv[0] first
  std::vector<int> descriptors;        // open beyond the standard three
  std::string sigpipe;
  std::string sigxfsz;
  int blockedSignals = -1;
  long session = 0;
  long parent = 0;
  std::string gate;
};

// Reads the report at path, waiting up to limit for it to appear (a detached probe writes it in its
// own time).
std::optional<ProbeReport> WaitForProbeReport(const std::filesystem::path& path,
                                              std::chrono::milliseconds limit = std::chrono::seconds(30));

}  // namespace test
