#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Module.h"

namespace Vellum {

class SkinZipArchive;

// The paint manager of a skinned window. This part holds the process-wide skin source settings:
// where skin files and pictures come from. They are set once on the UI thread during start-up,
// before the first window exists. The per-window side of the class joins it later.
class CPaintManagerUI {
 public:
  static void SetModuleInstance(const platform::Module* instance);
  static const platform::Module* ModuleInstance();
  static void SetResourceModule(const platform::Module* module);
  // The module for resource lookups: the resource module when one is set, else the module instance.
  static const platform::Module* ResourceModule();
  // The folder of the module instance's program file with its trailing separator; empty without
  // a module instance.
  static std::wstring ModuleFolder();

  // A path that is not empty always ends in a separator.
  static void SetSkinFolder(std::wstring_view path);
  static const std::wstring& SkinFolder();

  // Opens the skin archive in place from a memory block that stays valid for the whole process,
  // and keeps it open until CloseSkinArchive. Only the first archive opened from memory counts;
  // later calls change nothing. A block that is no archive leaves no archive open.
  static void OpenSkinArchiveInMemory(std::span<const std::uint8_t> data, std::wstring_view password);
  // Skins then come from the archive file of that name in the skin folder, opened for each read.
  static void SetSkinArchiveFile(std::wstring_view name, std::wstring_view password);
  // Closes a cached archive and forgets every archive setting; skins then come from the folder.
  static void CloseSkinArchive();

  // "membuffer" for an archive opened from memory; empty when skins come from the folder.
  static const std::wstring& SkinArchiveName();
  static bool IsSkinArchiveCached();
  // The cached archive; null when none is open.
  static SkinZipArchive* SkinArchive();
  static const std::wstring& SkinArchivePassword();

 private:
  static const platform::Module* moduleInstance_;
  static const platform::Module* resourceModule_;
  static std::wstring skinFolder_;
  static std::wstring skinArchiveName_;
  static bool skinArchiveCached_;
  static std::unique_ptr<SkinZipArchive> skinArchive_;
  static std::wstring skinArchivePassword_;
};

}  // namespace Vellum
