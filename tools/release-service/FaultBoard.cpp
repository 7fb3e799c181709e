#include "tools/release-service/FaultBoard.h"

#include <algorithm>

namespace release_service {
namespace {

constexpr char kManifestName[] = "latest.yml";

bool TargetMatches(const Target& target, const RequestFacts& facts) {
  switch (target.kind) {
    case TargetKind::Version:
      return facts.kind == TargetKind::Version && facts.versionIndex == target.versionIndex;
    case TargetKind::Manifest:
      return facts.kind == TargetKind::File && facts.fileName == kManifestName;
    case TargetKind::Package:
      return facts.kind == TargetKind::File && facts.fileName != kManifestName;
    case TargetKind::File:
      return facts.kind == TargetKind::File && facts.fileName == target.fileName;
    case TargetKind::Telemetry:
      return facts.kind == TargetKind::Telemetry;
  }
  return false;
}

// Whether the fault can change this request's answer at all; a switch that cannot is not used up.
bool FaultCanApply(Fault fault, const RequestFacts& facts) {
  switch (fault) {
    case Fault::Stall:
    case Fault::Reset:
    case Fault::Cut:
      return facts.method != "HEAD";
    case Fault::IgnoreRange:
    case Fault::ShortRange:
      return facts.hasRange;
    case Fault::HeadNoLength:
    case Fault::HeadLength:
      return facts.method == "HEAD";
    case Fault::Redirect:
      return !facts.redirectHop;
    default:
      return true;
  }
}

bool SwitchMatches(const FaultSwitch& faultSwitch, const RequestFacts& facts) {
  if (!TargetMatches(faultSwitch.target, facts)) return false;
  if (!faultSwitch.method.empty() && faultSwitch.method != facts.method) return false;
  if (faultSwitch.firstByte && faultSwitch.firstByte != facts.rangeFirst) return false;
  return FaultCanApply(faultSwitch.fault, facts);
}

}  // namespace

std::int64_t AppliedFaults::Number(Fault fault, std::int64_t fallback) const {
  const auto& slot = slots_[Index(fault)];
  return slot && slot->number ? *slot->number : fallback;
}

const std::string& AppliedFaults::Text(Fault fault) const {
  static const std::string kNone;
  const auto& slot = slots_[Index(fault)];
  return slot ? slot->text : kNone;
}

std::string AppliedFaults::Names() const {
  std::string names;
  for (const auto& slot : slots_) {
    if (!slot) continue;
    if (!names.empty()) names += ",";
    names += FaultName(slot->fault);
  }
  return names.empty() ? "-" : names;
}

void FaultBoard::Add(const std::vector<FaultSwitch>& switches) {
  std::lock_guard lock(mutex_);
  switches_.insert(switches_.end(), switches.begin(), switches.end());
}

void FaultBoard::Clear() {
  std::lock_guard lock(mutex_);
  switches_.clear();
}

std::vector<FaultSwitch> FaultBoard::List() const {
  std::lock_guard lock(mutex_);
  return switches_;
}

AppliedFaults FaultBoard::Take(const RequestFacts& facts) {
  std::lock_guard lock(mutex_);
  AppliedFaults applied;
  for (auto& faultSwitch : switches_) {
    if (applied.Has(faultSwitch.fault) || !SwitchMatches(faultSwitch, facts)) continue;
    applied.Set(faultSwitch);
    if (faultSwitch.count) --*faultSwitch.count;
  }
  std::erase_if(switches_, [](const FaultSwitch& s) { return s.count && *s.count == 0; });
  return applied;
}

}  // namespace release_service
