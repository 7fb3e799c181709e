#pragma once

#include <string>

// What the whole run shares about this installation: made once by the entry point, lent to the
// main window and to every event report.
struct InstallContext {
  // Twelve lower-case hexadecimal digits of the first real network adapter's address, or empty
  // when no such adapter exists.
  std::string clientId;
};
