#include "tools/release-service/ReleaseFolder.h"

#include <fstream>

namespace release_service {
namespace {

constexpr char kManifestName[] = "latest.yml";
constexpr char kDefaultVersion[] = "1.0.0";

std::string Trim(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t\r'\"");
  if (begin == std::string::npos) return "";
  const auto end = text.find_last_not_of(" \t\r'\"");
  return text.substr(begin, end - begin + 1);
}

// The top-level "version:" line; the manifest is not parsed any further.
std::string ManifestVersion(const std::filesystem::path& manifest) {
  std::ifstream in(manifest);
  constexpr std::string_view kKey = "version:";
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(kKey)) {
      const std::string version = Trim(line.substr(kKey.size()));
      if (!version.empty()) return version;
    }
  }
  return kDefaultVersion;
}

}  // namespace

std::optional<ReleaseFolder> ReleaseFolder::Open(const std::filesystem::path& folder, std::string& error) {
  ReleaseFolder release;
  std::error_code failure;
  release.folder_ = std::filesystem::absolute(folder, failure);
  for (const auto& entry : std::filesystem::directory_iterator(release.folder_, failure)) {
    std::error_code ignored;
    if (!entry.is_regular_file(ignored)) continue;
    const auto size = entry.file_size(ignored);
    if (ignored) continue;
    release.files_[entry.path().filename().string()] = {entry.path(), static_cast<std::int64_t>(size)};
  }
  if (failure) {
    error = "cannot read the release folder " + folder.string() + ": " + failure.message();
    return std::nullopt;
  }
  const File* manifest = release.Find(kManifestName);
  if (manifest == nullptr) {
    error = "the release folder " + folder.string() + " holds no latest.yml";
    return std::nullopt;
  }
  release.version_ = ManifestVersion(manifest->path);
  return release;
}

const ReleaseFolder::File* ReleaseFolder::Find(const std::string& name) const {
  const auto found = files_.find(name);
  return found == files_.end() ? nullptr : &found->second;
}

}  // namespace release_service
