#include "app/EntryPoint.h"
#include "app/ProgramResources.h"
#include "platform/ComRuntime.h"
#include "platform/Text.h"

int main() {
  platform::InitProcessLocale();
  return RunInstaller(ProgramModule(), platform::SystemComRuntime());
}
