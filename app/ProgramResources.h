#pragma once

#include "platform/Module.h"

// Ids of the program's string resources.
inline constexpr unsigned kStringTitle = 103;
inline constexpr unsigned kStringNoDiskSpace = 106;
inline constexpr unsigned kStringNoVersionInfo = 112;
inline constexpr unsigned kStringInstallFailed = 113;

// The skin archive: "main.xml" and the pictures under "picRes/".
inline constexpr char kSkinArchiveType[] = "ZIPRES";
inline constexpr unsigned kSkinArchiveId = 130;

// The running program and the resources built into it.
const platform::Module& ProgramModule();
