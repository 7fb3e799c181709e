#pragma once

#include <string>

// The two choices of the "end" page. Nothing here is logged or shown: a setting that cannot be
// stored is left as it was.

// Whether the launcher starts when the user logs on: the log-on entry "lumogame" runs launcherPath.
void SetRunAtStartup(bool on, const std::wstring& launcherPath);

// Whether the updater runs silently: the log-on entry "lgc_updater" runs updaterPath, and
// "updaterAutoStart" in section "CONFIG" of "lumogame/setup_config.ini" in the user's settings
// folder is "1" or "0". The file is written even when the log-on entries cannot be.
void SetQuietUpdate(bool on, const std::wstring& updaterPath);
