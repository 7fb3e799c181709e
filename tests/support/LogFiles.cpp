#include "tests/support/LogFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "platform/Clock.h"
#include "platform/Process.h"
#include "tests/support/TempHome.h"

namespace test {

std::filesystem::path LogFolder(const std::filesystem::path& roaming) {
  return roaming / "lumogame" / "setupLogs";
}

std::filesystem::path TodaysLog(const std::filesystem::path& roaming) {
  const platform::LocalTime now = platform::GetLocalTime();
  char name[32];
  std::snprintf(name, sizeof name, "setup_log_%04u%02u%02u.log", unsigned{now.year}, unsigned{now.month},
                unsigned{now.day});
  return LogFolder(roaming) / name;
}

std::vector<std::string> LogMessages(const std::filesystem::path& logFile) {
  static const std::regex kLine(
      R"(^(\d{4})-(\d{2})-(\d{2})_(\d{2}):(\d{2}):(\d{2}):(\d{3}) \[LGC_SETUP:(\d+)\] ([^\r\n]*)$)");
  const std::string content = ReadFile(logFile);
  std::vector<std::string> messages;
  size_t start = 0;
  while (start < content.size()) {
    const size_t end = content.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "line without CR LF: " << content.substr(start);
      break;
    }
    const std::string line = content.substr(start, end - start);
    start = end + 2;
    // A message may itself end in line breaks ("installer Exit \r\n\r\n"): those leave empty lines.
    if (line.empty()) continue;
    std::smatch match;
    if (!std::regex_match(line, match, kLine)) {
      ADD_FAILURE() << "line out of format: " << line;
      continue;
    }
    messages.push_back(match[9]);
  }
  return messages;
}

}  // namespace test
