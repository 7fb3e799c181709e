#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace release_service {

// The release being served: the regular files of one folder, read when the service starts.
class ReleaseFolder {
 public:
  struct File {
    std::filesystem::path path;
    std::int64_t size = 0;
  };

  // Empty optional when the folder cannot be read or holds no "latest.yml".
  static std::optional<ReleaseFolder> Open(const std::filesystem::path& folder, std::string& error);

  const std::filesystem::path& folder() const { return folder_; }
  const std::map<std::string, File>& files() const { return files_; }
  const File* Find(const std::string& name) const;

  // The "version:" of the manifest, or "1.0.0" when it names none.
  const std::string& version() const { return version_; }

 private:
  std::filesystem::path folder_;
  std::map<std::string, File> files_;
  std::string version_;
};

}  // namespace release_service
