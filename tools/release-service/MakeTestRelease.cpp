// Writes the default release the service serves: a package of a fixed pseudo-random byte sequence
// and its latest.yml.
//
//   test-release-maker FOLDER [PACKAGE-NAME [SIZE]]

#include <openssl/evp.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr char kDefaultName[] = "lumogame-setup-1.0.0.bin";
constexpr std::int64_t kDefaultSize = 2'500'000;
constexpr std::uint64_t kSeed = 0x6C756D6F67616D65;  // "lumogame"
constexpr char kVersion[] = "1.0.0";
constexpr char kReleaseDate[] = "2024-01-01T00:00:00.000Z";

// xorshift64*: any fixed sequence does, as long as a misplaced byte shows.
std::vector<unsigned char> PackageBytes(std::int64_t size) {
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  std::uint64_t state = kSeed;
  for (auto& byte : bytes) {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    byte = static_cast<unsigned char>((state * 0x2545F4914F6CDD1DULL) >> 56);
  }
  return bytes;
}

std::string Sha512Base64(const std::vector<unsigned char>& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digestSize = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &digestSize, EVP_sha512(), nullptr);
  std::string text(4 * ((digestSize + 2) / 3) + 1, '\0');
  const int written =
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), digest, static_cast<int>(digestSize));
  text.resize(static_cast<std::size_t>(written));
  return text;
}

std::string Manifest(const std::string& name, std::int64_t size, const std::string& sha512) {
  return std::string("version: ") + kVersion + "\n" +
         "files:\n"
         "  - url: " +
         name + "\n" + "    sha512: " + sha512 + "\n" + "    size: " + std::to_string(size) + "\n" + "path: " + name +
         "\n" + "sha512: " + sha512 + "\n" + "releaseDate: '" + kReleaseDate + "'\n";
}

bool Write(const std::filesystem::path& path, const char* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::cerr << "usage: test-release-maker FOLDER [PACKAGE-NAME [SIZE]]\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::string name = argc > 2 ? argv[2] : kDefaultName;
  const std::int64_t size = argc > 3 ? std::stoll(argv[3]) : kDefaultSize;

  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const auto bytes = PackageBytes(size);
  const std::string manifest = Manifest(name, size, Sha512Base64(bytes));
  if (!Write(folder / name, reinterpret_cast<const char*>(bytes.data()), bytes.size()) ||
      !Write(folder / "latest.yml", manifest.data(), manifest.size())) {
    std::cerr << "test-release-maker: cannot write into " << folder << "\n";
    return 1;
  }
  return 0;
}
