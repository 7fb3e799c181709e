#pragma once

#include <string>

namespace test_package {

// The programs the package installs, as paths inside the install folder.
inline constexpr const char* kInstalledPrograms[] = {"lumogame.exe", "lumogc_launcher.exe",
                                                     "agent/lgc_auto_updater.exe"};

// The installed program with this file name (the last part of one of the paths above), or empty.
const char* InstalledProgramNamed(const std::string& fileName);

// Runs as the installed program at programPath: appends "NAME ARGUMENTS" (the program's file name
// and its arguments, each after one space) as one line to ran.log in the install folder; exit 0, or
// 1 when the line cannot be written.
int RunInstalledProgram(const std::string& programPath, const char* installedPath, int argc, char** argv);

}  // namespace test_package
