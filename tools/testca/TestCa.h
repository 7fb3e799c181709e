#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A certificate authority for test and demo builds, so that TLS stays verified on loopback.
namespace testca {

struct Authority {
  std::filesystem::path certificateFile;  // PEM; what the installer's test build trusts
  std::string certificatePem;
  std::string keyPem;
};

// Loads the authority kept in folder ("ca.pem", "ca.key") or, when there is none, makes one there.
// Several processes may call this at once: exactly one authority ends up in the folder and all of
// them load it. Empty optional on failure.
std::optional<Authority> EnsureAuthority(const std::filesystem::path& folder);

struct ServerCredentials {
  std::filesystem::path certificateFile;  // PEM: the server certificate followed by the authority's
  std::filesystem::path keyFile;          // PEM private key
};

// Issues a server certificate for the given host names and IP addresses (subject alternative
// names), valid from yesterday for ten years, and writes it and its key into folder.
std::optional<ServerCredentials> IssueServerCertificate(const Authority& authority, const std::filesystem::path& folder,
                                                        const std::vector<std::string>& dnsNames,
                                                        const std::vector<std::string>& ipAddresses);

}  // namespace testca
