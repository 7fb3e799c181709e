#pragma once

#include <glib.h>

#include <memory>

namespace platform::posix {

// Owners for what GLib hands out, freed the way GLib asks.
struct KeyFileFree {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

struct GLibFree {
  void operator()(void* memory) const { g_free(memory); }
};
using GLibText = std::unique_ptr<char, GLibFree>;

}  // namespace platform::posix
