#pragma once

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace release_service {

// Every form the telemetry receiver got, in arrival order: one line each in the record file (emptied
// when the service starts, flushed after every line) and in memory for the control endpoint.
class TelemetryRecords {
 public:
  // False when the record file cannot be made.
  bool Open(const std::filesystem::path& file);
  void Record(const std::string& body);
  std::vector<std::string> Lines() const;

  // The body as one line: bytes below 0x20 and 0x7F become "%XX".
  static std::string ToLine(const std::string& body);

 private:
  mutable std::mutex mutex_;
  std::ofstream file_;
  std::vector<std::string> lines_;
};

}  // namespace release_service
