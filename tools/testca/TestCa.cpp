#include "tools/testca/TestCa.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

namespace testca {
namespace {

constexpr long kValidSeconds = 10L * 365 * 24 * 3600;
constexpr long kBackdateSeconds = 24 * 3600;

struct Free {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(X509* p) const { X509_free(p); }
  void operator()(BIO* p) const { BIO_free(p); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Free>;
using CertPtr = std::unique_ptr<X509, Free>;
using BioPtr = std::unique_ptr<BIO, Free>;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

template <typename Writer>
std::string ToPem(Writer write) {
  BioPtr bio(BIO_new(BIO_s_mem()));
  if (!bio || write(bio.get()) != 1) return {};
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<size_t>(size));
}

std::string KeyPem(EVP_PKEY* key) {
  return ToPem([&](BIO* bio) { return PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr); });
}

std::string CertPem(X509* cert) {
  return ToPem([&](BIO* bio) { return PEM_write_bio_X509(bio, cert); });
}

KeyPtr KeyFromPem(const std::string& pem) {
  BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  return KeyPtr(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
}

CertPtr CertFromPem(const std::string& pem) {
  BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  return CertPtr(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr);
}

KeyPtr MakeKey() {
  return KeyPtr(EVP_EC_gen("P-256"));
}

bool AddExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
  if (extension == nullptr) return false;
  const bool added = X509_add_ext(cert, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

CertPtr MakeCertificate(EVP_PKEY* subjectKey, const std::string& commonName) {
  CertPtr cert(X509_new());
  if (!cert) return nullptr;
  X509_set_version(cert.get(), 2);
  unsigned char serial[16];
  RAND_bytes(serial, sizeof serial);
  serial[0] &= 0x7F;
  BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
  BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert.get()));
  BN_free(number);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -kBackdateSeconds);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), kValidSeconds);
  X509_set_pubkey(cert.get(), subjectKey);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(commonName.c_str()), -1,
                             -1, 0);
  return cert;
}

std::optional<Authority> LoadAuthority(const std::filesystem::path& folder) {
  Authority authority{folder / "ca.pem", ReadText(folder / "ca.pem"), ReadText(folder / "ca.key")};
  if (!CertFromPem(authority.certificatePem) || !KeyFromPem(authority.keyPem)) return std::nullopt;
  return authority;
}

bool MakeAuthorityFiles(const std::filesystem::path& folder) {
  KeyPtr key = MakeKey();
  if (!key) return false;
  CertPtr cert = MakeCertificate(key.get(), "lumogc_setup test authority");
  if (!cert) return false;
  X509_set_issuer_name(cert.get(), X509_get_subject_name(cert.get()));
  if (!AddExtension(cert.get(), cert.get(), NID_basic_constraints, "critical,CA:TRUE") ||
      !AddExtension(cert.get(), cert.get(), NID_key_usage, "critical,keyCertSign,cRLSign") ||
      !AddExtension(cert.get(), cert.get(), NID_subject_key_identifier, "hash") ||
      X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) {
    return false;
  }
  return WriteText(folder / "ca.pem", CertPem(cert.get())) && WriteText(folder / "ca.key", KeyPem(key.get()));
}

}  // namespace

std::optional<Authority> EnsureAuthority(const std::filesystem::path& folder) {
  if (auto existing = LoadAuthority(folder)) return existing;

  // Made in a private folder and renamed into place, so a concurrent caller sees either no
  // authority or a complete one; the loser of the rename race loads the winner's.
  std::error_code error;
  std::filesystem::create_directories(folder.parent_path(), error);
  unsigned char tag[8];
  RAND_bytes(tag, sizeof tag);
  std::string suffix;
  for (unsigned char byte : tag) suffix += "0123456789abcdef"[byte & 0x0F];
  const auto staging = folder.parent_path() / (folder.filename().string() + ".new." + suffix);
  std::filesystem::remove_all(staging, error);
  std::filesystem::create_directories(staging, error);
  if (!error && MakeAuthorityFiles(staging)) std::filesystem::rename(staging, folder, error);
  std::filesystem::remove_all(staging, error);
  return LoadAuthority(folder);
}

std::optional<ServerCredentials> IssueServerCertificate(const Authority& authority, const std::filesystem::path& folder,
                                                        const std::vector<std::string>& dnsNames,
                                                        const std::vector<std::string>& ipAddresses) {
  CertPtr caCert = CertFromPem(authority.certificatePem);
  KeyPtr caKey = KeyFromPem(authority.keyPem);
  KeyPtr key = MakeKey();
  if (!caCert || !caKey || !key) return std::nullopt;

  const std::string commonName = !dnsNames.empty()     ? dnsNames.front()
                                 : ipAddresses.empty() ? "localhost"
                                                       : ipAddresses.front();
  CertPtr cert = MakeCertificate(key.get(), commonName);
  if (!cert) return std::nullopt;
  X509_set_issuer_name(cert.get(), X509_get_subject_name(caCert.get()));

  std::string alternativeNames;
  for (const auto& name : dnsNames) alternativeNames += (alternativeNames.empty() ? "DNS:" : ",DNS:") + name;
  for (const auto& address : ipAddresses) alternativeNames += (alternativeNames.empty() ? "IP:" : ",IP:") + address;
  if (alternativeNames.empty() || !AddExtension(cert.get(), caCert.get(), NID_subject_alt_name, alternativeNames) ||
      !AddExtension(cert.get(), caCert.get(), NID_basic_constraints, "critical,CA:FALSE") ||
      !AddExtension(cert.get(), caCert.get(), NID_ext_key_usage, "serverAuth") ||
      !AddExtension(cert.get(), caCert.get(), NID_authority_key_identifier, "keyid:always") ||
      X509_sign(cert.get(), caKey.get(), EVP_sha256()) == 0) {
    return std::nullopt;
  }

  std::error_code error;
  std::filesystem::create_directories(folder, error);
  ServerCredentials credentials{folder / "server.pem", folder / "server.key"};
  if (!WriteText(credentials.certificateFile, CertPem(cert.get()) + authority.certificatePem) ||
      !WriteText(credentials.keyFile, KeyPem(key.get()))) {
    return std::nullopt;
  }
  return credentials;
}

}  // namespace testca
