#pragma once

#include <optional>
#include <string>
#include <utility>

namespace platform {

// The programs started when the user logs on, one per name: XDG autostart entries, a file
// "NAME.desktop" in the autostart folder. An entry counts only in the plain form that Write makes
// (a desktop entry of type Application, not hidden, whose Exec line is the program path alone,
// quoted by the desktop-entry rules where needed); any other entry cannot be read, is overwritten
// by Write and is left in place by everything else.
class StartupEntries {
 public:
  // The user's entries; the folder is made when missing. Empty when it cannot be had.
  static std::optional<StartupEntries> Open();
  // Entries in the given folder, which must exist.
  explicit StartupEntries(std::wstring folder) : folder_(std::move(folder)) {}

  // The program path of the entry; empty when there is none or it is not in the plain form.
  std::optional<std::wstring> Read(const std::wstring& name) const;
  // Writes the entry in the plain form, replacing whatever was there in one step.
  bool Write(const std::wstring& name, const std::wstring& programPath) const;
  bool Remove(const std::wstring& name) const;

  // Where the entry of name lives; empty when name cannot be a file name.
  std::optional<std::wstring> EntryPath(const std::wstring& name) const;

 private:
  std::wstring folder_;
};

}  // namespace platform
