#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tools/release-service/FaultSwitch.h"

namespace release_service {

// What a request is, as far as the switches care.
struct RequestFacts {
  TargetKind kind = TargetKind::Version;  // Version, File or Telemetry
  int versionIndex = 0;
  std::string fileName;
  std::string method;
  bool hasRange = false;
  std::optional<std::int64_t> rangeFirst;  // first byte of a single "first-last" or "first-" range
  bool redirectHop = false;                // a later request of a redirect chain
};

// The switches that apply to one request, at most one per fault.
class AppliedFaults {
 public:
  bool Has(Fault fault) const { return slots_[Index(fault)].has_value(); }
  std::int64_t Number(Fault fault, std::int64_t fallback) const;
  const std::string& Text(Fault fault) const;
  void Set(const FaultSwitch& faultSwitch) { slots_[Index(faultSwitch.fault)] = faultSwitch; }
  void Remove(Fault fault) { slots_[Index(fault)].reset(); }

  // Names of the applied faults joined by ",", or "-" when there are none.
  std::string Names() const;

 private:
  static std::size_t Index(Fault fault) { return static_cast<std::size_t>(fault); }
  std::array<std::optional<FaultSwitch>, kFaultCount> slots_;
};

// The active switches, shared by every listener thread and the control endpoint.
class FaultBoard {
 public:
  void Add(const std::vector<FaultSwitch>& switches);
  void Clear();
  std::vector<FaultSwitch> List() const;

  // Picks the switches that match the request (the earliest per fault) and uses them up by one.
  AppliedFaults Take(const RequestFacts& facts);

 private:
  mutable std::mutex mutex_;
  std::vector<FaultSwitch> switches_;
};

}  // namespace release_service
