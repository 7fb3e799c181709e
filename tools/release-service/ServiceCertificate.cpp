#include "tools/release-service/ServiceCertificate.h"

#include <stdlib.h>

#include "tools/release-service/Listeners.h"
#include "tools/testca/TestCa.h"

namespace release_service {

std::optional<ServiceCertificate> ServiceCertificate::Make(const std::filesystem::path& stateFolder,
                                                           std::string& error) {
  const auto authority = testca::EnsureAuthority(stateFolder);
  if (!authority) {
    error = "cannot make or load the certificate authority in " + stateFolder.string();
    return std::nullopt;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "release-service-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    error = "cannot make a private folder for the server certificate";
    return std::nullopt;
  }
  ServiceCertificate certificate;
  certificate.folder_ = pattern;
  certificate.authorityFile_ = std::filesystem::absolute(authority->certificateFile);
  const std::vector<std::string> addresses(Listeners::kSecureHosts.begin(), Listeners::kSecureHosts.end());
  const auto credentials = testca::IssueServerCertificate(*authority, certificate.folder_, {"localhost"}, addresses);
  if (!credentials) {
    error = "cannot issue the server certificate";
    return std::nullopt;
  }
  certificate.certificateFile_ = credentials->certificateFile;
  certificate.keyFile_ = credentials->keyFile;
  return certificate;
}

ServiceCertificate::ServiceCertificate(ServiceCertificate&& other) noexcept
    : folder_(std::move(other.folder_)),
      authorityFile_(std::move(other.authorityFile_)),
      certificateFile_(std::move(other.certificateFile_)),
      keyFile_(std::move(other.keyFile_)) {
  other.folder_.clear();
}

ServiceCertificate::~ServiceCertificate() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

}  // namespace release_service
