#include "tests/ui/SkinTestSupport.h"

#include <minizip/zip.h>
#include <stb_image_write.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempHome.h"
#include "ui/manager/PaintManager.h"

namespace test {

std::vector<std::uint8_t> MakeZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  TempHome folder(TempHome::Environment::Keep);
  const auto path = (folder.root() / "archive.zip").string();
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) {
    ADD_FAILURE() << "cannot create " << path;
    return {};
  }
  for (const auto& [name, content] : entries) {
    zip_fileinfo info{};
    zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION,
                          0);
    if (!content.empty()) zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
  const std::string bytes = ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

std::string MakePng(int width, int height, const std::vector<std::uint8_t>& rgba) {
  std::string bytes;
  const auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
  };
  if (stbi_write_png_to_func(append, &bytes, width, height, 4, rgba.data(), width * 4) == 0) {
    ADD_FAILURE() << "cannot encode a PNG";
    return {};
  }
  return bytes;
}

void SkinSourceReset::Reset() {
  Vellum::CPaintManagerUI::CloseSkinArchive();
  Vellum::CPaintManagerUI::SetSkinFolder(L"");
  Vellum::CPaintManagerUI::SetModuleInstance(nullptr);
  Vellum::CPaintManagerUI::SetResourceModule(nullptr);
}

}  // namespace test
