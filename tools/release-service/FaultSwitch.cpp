#include "tools/release-service/FaultSwitch.h"

#include <array>
#include <charconv>
#include <string_view>
#include <vector>

namespace release_service {
namespace {

enum class Value { None, OptionalNumber, Number, Text };
enum class Scope { AnyTarget, VersionOnly, FileOnly };

struct FaultInfo {
  Fault fault;
  const char* name;
  Value value;
  Scope scope;
};

constexpr std::array<FaultInfo, kFaultCount> kFaults = {{
    {Fault::Status, "status", Value::Number, Scope::AnyTarget},
    {Fault::Slow, "slow", Value::Number, Scope::AnyTarget},
    {Fault::Timeout, "timeout", Value::None, Scope::AnyTarget},
    {Fault::Stall, "stall", Value::OptionalNumber, Scope::AnyTarget},
    {Fault::Reset, "reset", Value::OptionalNumber, Scope::AnyTarget},
    {Fault::Cut, "cut", Value::OptionalNumber, Scope::AnyTarget},
    {Fault::Redirect, "redirect", Value::Number, Scope::AnyTarget},
    {Fault::InvalidJson, "invalid-json", Value::None, Scope::VersionOnly},
    {Fault::EmptyBody, "empty-body", Value::None, Scope::VersionOnly},
    {Fault::RootNotObject, "root-not-object", Value::None, Scope::VersionOnly},
    {Fault::DataNotObject, "data-not-object", Value::None, Scope::VersionOnly},
    {Fault::NoRelVer, "no-rel-ver", Value::None, Scope::VersionOnly},
    {Fault::NullRelVer, "null-rel-ver", Value::None, Scope::VersionOnly},
    {Fault::NoUrl, "no-url", Value::None, Scope::VersionOnly},
    {Fault::NullUrl, "null-url", Value::None, Scope::VersionOnly},
    {Fault::UrlArray, "url-array", Value::None, Scope::VersionOnly},
    {Fault::UrlObject, "url-object", Value::None, Scope::VersionOnly},
    {Fault::UrlText, "url", Value::Text, Scope::VersionOnly},
    {Fault::RelVerText, "rel-ver", Value::Text, Scope::VersionOnly},
    {Fault::IgnoreRange, "ignore-range", Value::None, Scope::FileOnly},
    {Fault::ShortRange, "short-range", Value::OptionalNumber, Scope::FileOnly},
    {Fault::HeadNoLength, "head-no-length", Value::None, Scope::FileOnly},
    {Fault::HeadLength, "head-length", Value::Number, Scope::FileOnly},
}};

constexpr bool IndexedByFault() {
  for (std::size_t i = 0; i < kFaults.size(); ++i) {
    if (static_cast<std::size_t>(kFaults[i].fault) != i) return false;
  }
  return true;
}
static_assert(IndexedByFault(), "kFaults must list the faults in the order of the enum");

constexpr int kLowestStatus = 200;
constexpr int kHighestStatus = 599;

const FaultInfo& InfoOf(Fault fault) {
  return kFaults[static_cast<std::size_t>(fault)];
}

const FaultInfo* FindFault(std::string_view name) {
  for (const auto& info : kFaults) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::optional<std::int64_t> ReadNumber(std::string_view text) {
  std::int64_t number = 0;
  const auto* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || rest != end || number < 0) return std::nullopt;
  return number;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

std::optional<Target> ReadTarget(std::string_view name) {
  if (name == "version0" || name == "version1" || name == "version2") {
    return Target{TargetKind::Version, name.back() - '0', {}};
  }
  if (name == "manifest") return Target{TargetKind::Manifest, 0, {}};
  if (name == "package") return Target{TargetKind::Package, 0, {}};
  if (name == "telemetry") return Target{TargetKind::Telemetry, 0, {}};
  constexpr std::string_view kFilePrefix = "file:";
  if (name.starts_with(kFilePrefix) && name.size() > kFilePrefix.size()) {
    return Target{TargetKind::File, 0, std::string(name.substr(kFilePrefix.size()))};
  }
  return std::nullopt;
}

bool IsFileTarget(const Target& target) {
  return target.kind == TargetKind::Manifest || target.kind == TargetKind::Package || target.kind == TargetKind::File;
}

bool FitsTarget(Scope scope, const Target& target) {
  switch (scope) {
    case Scope::AnyTarget:
      return true;
    case Scope::VersionOnly:
      return target.kind == TargetKind::Version;
    case Scope::FileOnly:
      return IsFileTarget(target);
  }
  return false;
}

std::string ReadValue(const FaultInfo& info, std::optional<std::string_view> value, FaultSwitch& out) {
  if (info.value == Value::None) return value ? "takes no value" : "";
  if (!value) return info.value == Value::OptionalNumber ? "" : "needs a value";
  if (info.value == Value::Text) {
    out.text = std::string(*value);
    return "";
  }
  out.number = ReadNumber(*value);
  if (!out.number) return "needs a whole number";
  if (info.fault == Fault::Status && (*out.number < kLowestStatus || *out.number > kHighestStatus)) {
    return "needs a status from 200 to 599";
  }
  return "";
}

std::string ReadQualifier(std::string_view qualifier, FaultSwitch& out) {
  const auto equals = qualifier.find('=');
  if (equals == std::string_view::npos) return "qualifier without a value";
  const auto name = qualifier.substr(0, equals);
  const auto value = qualifier.substr(equals + 1);
  if (name == "method") {
    if (value != "GET" && value != "HEAD" && value != "POST") return "method must be GET, HEAD or POST";
    out.method = std::string(value);
    return "";
  }
  if (name == "first") {
    out.firstByte = ReadNumber(value);
    return out.firstByte ? "" : "first needs a byte offset";
  }
  if (name == "count") {
    out.count = ReadNumber(value);
    return out.count && *out.count > 0 ? "" : "count needs a number above 0";
  }
  return "unknown qualifier";
}

std::string TargetText(const Target& target) {
  switch (target.kind) {
    case TargetKind::Version:
      return "version" + std::to_string(target.versionIndex);
    case TargetKind::Manifest:
      return "manifest";
    case TargetKind::Package:
      return "package";
    case TargetKind::File:
      return "file:" + target.fileName;
    case TargetKind::Telemetry:
      return "telemetry";
  }
  return "";
}

}  // namespace

const char* FaultName(Fault fault) {
  return InfoOf(fault).name;
}

ParsedSwitch ParseFaultSwitch(const std::string& text) {
  auto failure = [&](const std::string& why) {
    return ParsedSwitch{std::nullopt, "bad switch '" + text + "': " + why};
  };
  if (text.find_first_of("\r\n") != std::string::npos) return failure("contains a line break");

  // "file:NAME" holds a colon of its own; a text value (url=) may hold more.
  const auto parts = Split(text, ',');
  const auto head = parts.front();
  auto colon = head.find(':');
  if (colon != std::string_view::npos && head.substr(0, colon) == "file") colon = head.find(':', colon + 1);
  if (colon == std::string_view::npos) return failure("no TARGET:FAULT");
  FaultSwitch result;
  const auto target = ReadTarget(head.substr(0, colon));
  if (!target) return failure("unknown target");
  result.target = *target;

  const auto faultPart = head.substr(colon + 1);
  const auto equals = faultPart.find('=');
  const auto* info = FindFault(faultPart.substr(0, equals));
  if (info == nullptr) return failure("unknown fault");
  if (!FitsTarget(info->scope, result.target)) return failure("fault does not apply to this target");
  result.fault = info->fault;
  const auto value = equals == std::string_view::npos ? std::nullopt : std::optional(faultPart.substr(equals + 1));
  if (auto why = ReadValue(*info, value, result); !why.empty()) return failure(why);

  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (auto why = ReadQualifier(parts[i], result); !why.empty()) return failure(why);
  }
  return ParsedSwitch{result, ""};
}

std::string FormatFaultSwitch(const FaultSwitch& faultSwitch) {
  std::string text = TargetText(faultSwitch.target) + ":" + FaultName(faultSwitch.fault);
  if (faultSwitch.number) text += "=" + std::to_string(*faultSwitch.number);
  if (InfoOf(faultSwitch.fault).value == Value::Text) text += "=" + faultSwitch.text;
  if (!faultSwitch.method.empty()) text += ",method=" + faultSwitch.method;
  if (faultSwitch.firstByte) text += ",first=" + std::to_string(*faultSwitch.firstByte);
  if (faultSwitch.count) text += ",count=" + std::to_string(*faultSwitch.count);
  return text;
}

}  // namespace release_service
