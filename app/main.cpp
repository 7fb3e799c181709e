#include "app/EntryPoint.h"
#include "app/ProgramResources.h"
#include "platform/ComRuntime.h"
#include "platform/Process.h"
#include "platform/Text.h"

int main() {
  platform::InitProcessLocale();
  platform::IgnoreBrokenPipes();
  return RunInstaller(ProgramModule(), platform::SystemComRuntime());
}
