#pragma once

#include <cstdint>

namespace platform {

struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;  // 1..12
  std::uint16_t day = 0;    // 1..31
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t millisecond = 0;
};

LocalTime GetLocalTime();

// Milliseconds since an arbitrary start, on a clock that never goes back; wraps after 49.7 days.
std::uint32_t TickCount();

}  // namespace platform
