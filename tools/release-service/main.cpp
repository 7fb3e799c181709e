#include <signal.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/release-service/Options.h"
#include "tools/release-service/Service.h"

int main(int argc, char** argv) {
  // Blocked before any thread exists, so every thread inherits the mask and only the main
  // thread's sigwait takes them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  // A client that hangs up mid-answer must not end the service.
  signal(SIGPIPE, SIG_IGN);

  const release_service::ParsedOptions parsed =
      release_service::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.help) {
    std::cout << release_service::UsageText();
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "release-service: " << parsed.error << "\n" << release_service::UsageText();
    return release_service::kExitBadCommandLine;
  }
  return release_service::RunService(*parsed.options);
}
