// The test installer package, and the programs it installs: one program file that acts by its name.
// Installed as "lumogame.exe", "lumogc_launcher.exe" or "lgc_auto_updater.exe" it is that program;
// under any other name it is the package. See README.md.

#include <string>

#include "tools/test-package/InstalledProgram.h"
#include "tools/test-package/PackageInstall.h"
#include "tools/test-package/SelfImage.h"

int main(int argc, char** argv) {
  const std::string self = test_package::SelfPath();
  const auto slash = self.rfind('/');
  const std::string name = slash == std::string::npos ? self : self.substr(slash + 1);
  if (const char* installedPath = test_package::InstalledProgramNamed(name)) {
    return test_package::RunInstalledProgram(self, installedPath, argc, argv);
  }
  return test_package::RunPackage(argc, argv);
}
