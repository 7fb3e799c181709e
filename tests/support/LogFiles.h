#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test {

// The setup-log folder and today's log file under the given roaming application-data folder.
std::filesystem::path LogFolder(const std::filesystem::path& roaming);
std::filesystem::path TodaysLog(const std::filesystem::path& roaming);

// The messages of a log file's lines, each checked against the line format; a line that does not
// match adds a test failure naming it.
std::vector<std::string> LogMessages(const std::filesystem::path& logFile);

}  // namespace test
