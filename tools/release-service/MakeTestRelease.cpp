// Writes the default release the service serves: the test installer package (the test-package
// program padded to a fixed size) and its latest.yml, whose size and sha512 are those of the file.
//
//   test-release-maker [--program FILE] [--unrunnable] FOLDER [PACKAGE-NAME [SIZE]]
//
// --program names the package program (default: the one this build makes); --unrunnable writes a
// package of the same size that holds no program, so that starting it fails.

#include <openssl/evp.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tools/test-package/PackageLayout.h"

namespace {

constexpr char kDefaultName[] = "lumogame-setup-1.0.0.bin";
constexpr std::int64_t kDefaultSize = 2'500'000;
constexpr char kVersion[] = "1.0.0";
constexpr char kReleaseDate[] = "2024-01-01T00:00:00.000Z";

std::string Sha512Base64(const std::string& bytes) {
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

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

struct Options {
  std::filesystem::path program = LUMO_TEST_PACKAGE_PROGRAM;
  bool unrunnable = false;
  std::vector<std::string> positional;
};

std::optional<Options> ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--program" && i + 1 < argc) {
      options.program = argv[++i];
    } else if (argument == "--unrunnable") {
      options.unrunnable = true;
    } else if (argument.starts_with("--")) {
      return std::nullopt;
    } else {
      options.positional.push_back(argument);
    }
  }
  if (options.positional.empty() || options.positional.size() > 3) return std::nullopt;
  return options;
}

std::optional<std::string> Package(const Options& options, std::int64_t size) {
  if (options.unrunnable) return test_package::MakeUnrunnablePackage(static_cast<std::uint64_t>(size));
  const auto program = ReadFile(options.program);
  if (!program) {
    std::cerr << "test-release-maker: cannot read the package program " << options.program << "\n";
    return std::nullopt;
  }
  auto package = test_package::MakePackage(*program, static_cast<std::uint64_t>(size));
  if (!package) {
    std::cerr << "test-release-maker: the package program (" << program->size() << " bytes) does not fit " << size
              << " bytes\n";
  }
  return package;
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = ReadOptions(argc, argv);
  if (!options) {
    std::cerr << "usage: test-release-maker [--program FILE] [--unrunnable] FOLDER [PACKAGE-NAME [SIZE]]\n";
    return 2;
  }
  const std::filesystem::path folder = options->positional[0];
  const std::string name = options->positional.size() > 1 ? options->positional[1] : kDefaultName;
  const std::int64_t size = options->positional.size() > 2 ? std::stoll(options->positional[2]) : kDefaultSize;
  if (size <= 0) {
    std::cerr << "test-release-maker: SIZE must be positive\n";
    return 2;
  }

  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const auto bytes = Package(*options, size);
  if (!bytes) return 1;
  const std::string manifest = Manifest(name, size, Sha512Base64(*bytes));
  if (!Write(folder / name, bytes->data(), bytes->size()) ||
      !Write(folder / "latest.yml", manifest.data(), manifest.size())) {
    std::cerr << "test-release-maker: cannot write into " << folder << "\n";
    return 1;
  }
  return 0;
}
