#include "platform/Clock.h"

#include <ctime>

namespace platform {

LocalTime GetLocalTime() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts{};
  ::localtime_r(&now.tv_sec, &parts);
  LocalTime time;
  time.year = static_cast<std::uint16_t>(parts.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(parts.tm_mon + 1);
  time.day = static_cast<std::uint16_t>(parts.tm_mday);
  time.hour = static_cast<std::uint16_t>(parts.tm_hour);
  time.minute = static_cast<std::uint16_t>(parts.tm_min);
  time.second = static_cast<std::uint16_t>(parts.tm_sec);
  time.millisecond = static_cast<std::uint16_t>(now.tv_nsec / 1'000'000);
  return time;
}

std::uint32_t TickCount() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
  return static_cast<std::uint32_t>(ms);
}

}  // namespace platform
