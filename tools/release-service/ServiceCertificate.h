#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace release_service {

// The service's TLS identity for one run: the authority kept in the state folder (made there on
// first start) and a server certificate it issues for 127.0.0.1 to 127.0.0.3 and "localhost".
// The certificate and key files live in a private folder that goes with the object.
class ServiceCertificate {
 public:
  static std::optional<ServiceCertificate> Make(const std::filesystem::path& stateFolder, std::string& error);

  ServiceCertificate(ServiceCertificate&& other) noexcept;
  ServiceCertificate& operator=(ServiceCertificate&&) = delete;
  ~ServiceCertificate();

  const std::filesystem::path& authorityFile() const { return authorityFile_; }
  const std::filesystem::path& certificateFile() const { return certificateFile_; }
  const std::filesystem::path& keyFile() const { return keyFile_; }

 private:
  ServiceCertificate() = default;

  std::filesystem::path folder_;
  std::filesystem::path authorityFile_;
  std::filesystem::path certificateFile_;
  std::filesystem::path keyFile_;
};

}  // namespace release_service
