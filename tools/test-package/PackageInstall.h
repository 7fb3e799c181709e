#pragma once

namespace test_package {

// Exit codes of the package.
inline constexpr int kInstalled = 0;
inline constexpr int kInstallFailed = 1;
inline constexpr int kUsage = 2;

// Switches a test sets in the environment the package is started with.
inline constexpr char kExitCodeVariable[] = "LUMO_TEST_PACKAGE_EXIT_CODE";
inline constexpr char kDurationVariable[] = "LUMO_TEST_PACKAGE_DURATION_MS";
inline constexpr char kUnrunnableVariable[] = "LUMO_TEST_PACKAGE_UNRUNNABLE";

// Runs as the installer package: "PACKAGE /S /D=FOLDER" installs the programs into FOLDER.
int RunPackage(int argc, char** argv);

}  // namespace test_package
