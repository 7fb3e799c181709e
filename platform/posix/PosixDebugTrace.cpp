#include "platform/DebugTrace.h"

#include <cstdio>
#include <string>

#include "platform/Text.h"

namespace platform {

void DebugTrace(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

void DebugTrace(std::wstring_view text) {
  DebugTrace(std::string_view(WideToMultiByte(text)));
}

}  // namespace platform
