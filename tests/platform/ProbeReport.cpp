#include "tests/platform/ProbeReport.h"

#include <fstream>
#include <thread>

namespace test {
namespace {

std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      out += text[i + 1] == 'n' ? '\n' : text[i + 1];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::optional<ProbeReport> WaitForProbeReport(const std::filesystem::path& path, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ProbeReport report;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = Unescaped(line.substr(equals + 1));
    if (key == "arg") report.arguments.push_back(value);
    if (key == "fd") report.descriptors.push_back(std::stoi(value));
    if (key == "sigpipe") report.sigpipe = value;
    if (key == "sigxfsz") report.sigxfsz = value;
    if (key == "blocked") report.blockedSignals = std::stoi(value);
    if (key == "session") report.session = std::stol(value);
    if (key == "parent") report.parent = std::stol(value);
    if (key == "gate") report.gate = value;
  }
  return report;
}

}  // namespace test
