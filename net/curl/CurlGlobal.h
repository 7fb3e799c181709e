#pragma once

namespace nbt {

// Initialises libcurl for the whole process, once, before any easy handle is made. Safe to call
// from any thread any number of times; later calls wait for the first to finish.
void EnsureCurlGlobalInit();

}  // namespace nbt
