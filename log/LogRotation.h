#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t kKeptLogFiles = 7;

// Deletes the oldest ".log" files of folder (which ends in a separator) until at most
// kKeptLogFiles remain. Folders are neither counted nor deleted; files of equal age go in the
// order the folder lists them. Every failure is ignored.
void RotateLogFolder(const std::wstring& folder);
