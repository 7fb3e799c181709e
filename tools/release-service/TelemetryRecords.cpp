#include "tools/release-service/TelemetryRecords.h"

namespace release_service {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

}  // namespace

bool TelemetryRecords::Open(const std::filesystem::path& file) {
  std::error_code ignored;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
  file_.open(file, std::ios::binary | std::ios::trunc);
  return file_.is_open();
}

void TelemetryRecords::Record(const std::string& body) {
  const std::string line = ToLine(body);
  std::lock_guard lock(mutex_);
  lines_.push_back(line);
  file_ << line << '\n';
  file_.flush();
}

std::vector<std::string> TelemetryRecords::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

std::string TelemetryRecords::ToLine(const std::string& body) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line;
  for (const char c : body) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= kFirstPrintable && byte != kDelete) {
      line += c;
      continue;
    }
    line += '%';
    line += kHex[byte >> 4];
    line += kHex[byte & 0x0F];
  }
  return line;
}

}  // namespace release_service
