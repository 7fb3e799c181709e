#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace release_service {

// Which requests a switch is about.
enum class TargetKind { Version, Manifest, Package, File, Telemetry };

struct Target {
  TargetKind kind = TargetKind::Version;
  int versionIndex = 0;  // Version: 0, 1 or 2
  std::string fileName;  // File: the release file's name
};

// Every answer the service can be told to give instead of the usual one.
enum class Fault {
  // Any target.
  Status,
  Slow,
  Timeout,
  Stall,
  Reset,
  Cut,
  Redirect,
  // Version endpoints.
  InvalidJson,
  EmptyBody,
  RootNotObject,
  DataNotObject,
  NoRelVer,
  NullRelVer,
  NoUrl,
  NullUrl,
  UrlArray,
  UrlObject,
  UrlText,
  RelVerText,
  // Release files.
  IgnoreRange,
  ShortRange,
  HeadNoLength,
  HeadLength,
};

inline constexpr int kFaultCount = static_cast<int>(Fault::HeadLength) + 1;

// "TARGET:FAULT[=VALUE][,QUALIFIER=VALUE]...", as the service's README describes it.
struct FaultSwitch {
  Target target;
  Fault fault = Fault::Status;
  std::optional<std::int64_t> number;  // numeric value, when the fault takes one
  std::string text;                    // text value (url=, rel-ver=)
  std::string method;                  // empty: every method
  std::optional<std::int64_t> firstByte;
  std::optional<std::int64_t> count;  // requests left; empty: unlimited
};

struct ParsedSwitch {
  std::optional<FaultSwitch> fault;
  std::string error;  // why the text is not a switch
};

ParsedSwitch ParseFaultSwitch(const std::string& text);

// The switch in the same form ParseFaultSwitch reads, with the count that is left.
std::string FormatFaultSwitch(const FaultSwitch& faultSwitch);

// The fault's name as written in a switch ("status", "ignore-range", ...).
const char* FaultName(Fault fault);

}  // namespace release_service
