#pragma once

#include <string>

namespace platform {

// Lets the file's owner run it as a program (adds the owner's execute permission, keeps the other
// permissions). A downloaded file is written without that permission, as every downloaded file is,
// and gets it only when it is about to be run on purpose. False when the file cannot be changed.
bool AllowOwnerToExecute(const std::wstring& path);

}  // namespace platform
