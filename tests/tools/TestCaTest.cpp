#include "tools/testca/TestCa.h"

#include <gtest/gtest.h>
#include <openssl/pem.h>
#include <openssl/x509_vfy.h>

#include <memory>
#include <thread>
#include <vector>

#include "tests/support/TempHome.h"

namespace {

// Verifies the first certificate of a PEM chain file against the authority alone.
bool VerifiesAgainst(const testca::Authority& authority, const std::string& chainPem) {
  auto readCert = [](const std::string& pem) {
    BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    X509* cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    return std::unique_ptr<X509, decltype(&X509_free)>(cert, X509_free);
  };
  auto ca = readCert(authority.certificatePem);
  auto leaf = readCert(chainPem);
  if (!ca || !leaf) return false;
  X509_STORE* store = X509_STORE_new();
  X509_STORE_add_cert(store, ca.get());
  X509_STORE_CTX* context = X509_STORE_CTX_new();
  X509_STORE_CTX_init(context, store, leaf.get(), nullptr);
  const bool ok = X509_verify_cert(context) == 1;
  X509_STORE_CTX_free(context);
  X509_STORE_free(store);
  return ok;
}

TEST(TestCaTest, ConcurrentCallersShareOneAuthority) {
  test::TempHome home(test::TempHome::Environment::Keep);
  std::vector<std::optional<testca::Authority>> results(4);
  std::vector<std::thread> threads;
  for (auto& result : results) threads.emplace_back([&] { result = testca::EnsureAuthority(home.root() / "ca"); });
  for (auto& thread : threads) thread.join();
  for (const auto& result : results) {
    ASSERT_TRUE(result);
    EXPECT_EQ(result->certificatePem, results[0]->certificatePem);
  }
  EXPECT_EQ(testca::EnsureAuthority(home.root() / "ca")->keyPem, results[0]->keyPem);
}

TEST(TestCaTest, IssuedCertificateVerifiesOnlyAgainstItsAuthority) {
  test::TempHome home(test::TempHome::Environment::Keep);
  const auto authority = testca::EnsureAuthority(home.root() / "ca");
  const auto stranger = testca::EnsureAuthority(home.root() / "other");
  ASSERT_TRUE(authority && stranger);
  const auto credentials =
      testca::IssueServerCertificate(*authority, home.root() / "server", {"localhost"}, {"127.0.0.1", "127.0.0.2"});
  ASSERT_TRUE(credentials);
  const std::string chain = test::ReadFile(credentials->certificateFile);
  EXPECT_TRUE(VerifiesAgainst(*authority, chain));
  EXPECT_FALSE(VerifiesAgainst(*stranger, chain));
}

}  // namespace
