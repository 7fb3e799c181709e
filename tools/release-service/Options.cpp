#include "tools/release-service/Options.h"

#include <charconv>

#include "lumo/BuildSettings.h"

namespace release_service {
namespace {

constexpr int kHighestPort = 65535;

std::optional<int> ReadPort(const std::string& text) {
  int port = 0;
  const auto* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, port);
  if (text.empty() || error != std::errc() || rest != end || port < 0 || port > kHighestPort) return std::nullopt;
  return port;
}

bool TakesValue(const std::string& name) {
  for (const char* known :
       {"--release", "--state-dir", "--records", "--fault", "--https-port", "--http-port", "--control-port"}) {
    if (name == known) return true;
  }
  return false;
}

ServiceOptions Defaults() {
  ServiceOptions options;
  options.releaseFolder = LUMO_DEFAULT_RELEASE_DIR;
  options.stateFolder = lumo::build::kTestCaDir;
  options.httpsPort = lumo::build::kReleaseServiceHttpsPort;
  options.httpPort = lumo::build::kReleaseServiceHttpPort;
  options.controlPort = lumo::build::kReleaseServiceControlPort;
  return options;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  ServiceOptions options = Defaults();
  auto failure = [](const std::string& why) { return ParsedOptions{std::nullopt, why, false}; };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "-h") return ParsedOptions{std::nullopt, "", true};
    if (name == "--ephemeral") {
      options.httpsPort = options.httpPort = options.controlPort = 0;
      continue;
    }
    if (!TakesValue(name)) return failure("unknown option " + name);
    if (i + 1 == arguments.size()) return failure(name + " needs a value");
    const std::string& value = arguments[++i];
    if (name == "--release") {
      options.releaseFolder = value;
    } else if (name == "--state-dir") {
      options.stateFolder = value;
    } else if (name == "--records") {
      options.recordsFile = std::filesystem::path(value);
    } else if (name == "--fault") {
      options.faults.push_back(value);
    } else if (name == "--https-port" || name == "--http-port" || name == "--control-port") {
      const auto port = ReadPort(value);
      if (!port) return failure(name + " needs a port from 0 to 65535");
      int& target = name == "--https-port"  ? options.httpsPort
                    : name == "--http-port" ? options.httpPort
                                            : options.controlPort;
      target = *port;
    }
  }
  return ParsedOptions{options, "", false};
}

const char* UsageText() {
  return "usage: release-service [--release DIR] [--state-dir DIR] [--records FILE]\n"
         "                       [--https-port N] [--http-port N] [--control-port N] [--ephemeral]\n"
         "                       [--fault SWITCH]...\n"
         "Plays the publisher's release service on loopback; see tools/release-service/README.md.\n";
}

}  // namespace release_service
