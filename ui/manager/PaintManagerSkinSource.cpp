#include "ui/manager/PaintManager.h"

#include "platform/Files.h"
#include "platform/Text.h"
#include "ui/resources/SkinZipArchive.h"

namespace Vellum {
namespace {

constexpr wchar_t kMemoryArchiveName[] = L"membuffer";

bool IsSeparator(wchar_t c) {
  return c == L'/' || c == L'\\';
}

}  // namespace

const platform::Module* CPaintManagerUI::moduleInstance_ = nullptr;
const platform::Module* CPaintManagerUI::resourceModule_ = nullptr;
std::wstring CPaintManagerUI::skinFolder_;
std::wstring CPaintManagerUI::skinArchiveName_;
bool CPaintManagerUI::skinArchiveCached_ = false;
std::unique_ptr<SkinZipArchive> CPaintManagerUI::skinArchive_;
std::wstring CPaintManagerUI::skinArchivePassword_;

void CPaintManagerUI::SetModuleInstance(const platform::Module* instance) {
  moduleInstance_ = instance;
}

const platform::Module* CPaintManagerUI::ModuleInstance() {
  return moduleInstance_;
}

void CPaintManagerUI::SetResourceModule(const platform::Module* module) {
  resourceModule_ = module;
}

const platform::Module* CPaintManagerUI::ResourceModule() {
  return resourceModule_ != nullptr ? resourceModule_ : moduleInstance_;
}

std::wstring CPaintManagerUI::ModuleFolder() {
  if (moduleInstance_ == nullptr) return {};
  const std::wstring& file = moduleInstance_->fileName();
  const auto separator = file.find_last_of(L"/\\");
  if (separator == std::wstring::npos) return {};
  return file.substr(0, separator + 1);
}

void CPaintManagerUI::SetSkinFolder(std::wstring_view path) {
  skinFolder_ = path;
  if (!skinFolder_.empty() && !IsSeparator(skinFolder_.back())) skinFolder_ += platform::kPathSeparator;
}

const std::wstring& CPaintManagerUI::SkinFolder() {
  return skinFolder_;
}

void CPaintManagerUI::OpenSkinArchiveInMemory(std::span<const std::uint8_t> data, std::wstring_view password) {
  if (skinArchiveName_ == kMemoryArchiveName) return;
  skinArchive_.reset();
  skinArchiveName_ = kMemoryArchiveName;
  skinArchiveCached_ = true;
  skinArchivePassword_ = password;
  skinArchive_ = SkinZipArchive::OpenMemory(data, platform::WideToMultiByte(skinArchivePassword_));
}

void CPaintManagerUI::SetSkinArchiveFile(std::wstring_view name, std::wstring_view password) {
  CloseSkinArchive();
  skinArchiveName_ = name;
  skinArchivePassword_ = password;
}

void CPaintManagerUI::CloseSkinArchive() {
  skinArchive_.reset();
  skinArchiveName_.clear();
  skinArchiveCached_ = false;
  skinArchivePassword_.clear();
}

const std::wstring& CPaintManagerUI::SkinArchiveName() {
  return skinArchiveName_;
}

bool CPaintManagerUI::IsSkinArchiveCached() {
  return skinArchiveCached_;
}

SkinZipArchive* CPaintManagerUI::SkinArchive() {
  return skinArchive_.get();
}

const std::wstring& CPaintManagerUI::SkinArchivePassword() {
  return skinArchivePassword_;
}

}  // namespace Vellum
