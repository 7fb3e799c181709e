#include "platform/posix/DesktopEntryExec.h"

namespace platform::posix {
namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

bool NeedsQuotes(std::string_view text) {
  return text.empty() || text.find_first_of(kReserved) != std::string_view::npos;
}

}  // namespace

std::string ExecOfProgram(std::string_view programPath) {
  std::string word;
  for (const char c : programPath) {
    word += c;
    if (c == '%') word += '%';
  }
  if (!NeedsQuotes(word)) return word;
  std::string quoted = "\"";
  for (const char c : word) {
    if (kEscapedInQuotes.find(c) != std::string_view::npos) quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::optional<std::string> ProgramOfExec(std::string_view exec) {
  const bool quoted = exec.size() >= 2 && exec.front() == '"' && exec.back() == '"';
  if (quoted) {
    exec.remove_prefix(1);
    exec.remove_suffix(1);
  } else if (NeedsQuotes(exec)) {
    return std::nullopt;
  }
  std::string path;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted && c == '"') return std::nullopt;
    if (quoted && c == '\\') {
      if (i + 1 == exec.size() || kEscapedInQuotes.find(exec[i + 1]) == std::string_view::npos) return std::nullopt;
      path += exec[++i];
      continue;
    }
    if (c == '%') {
      if (i + 1 == exec.size() || exec[i + 1] != '%') return std::nullopt;
      ++i;
    }
    path += c;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace platform::posix
