#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinItem.h"
#include "ui/xml/SkinXml.h"

namespace Vellum {
namespace {

constexpr std::uint64_t kMaxSkinFileSize = 4ull * 1024 * 1024;

const wchar_t* MessageFor(SkinReadStatus status) {
  switch (status) {
    case SkinReadStatus::Ok:
      return L"";
    case SkinReadStatus::OpenFailed:
      return L"Error opening file";
    case SkinReadStatus::Empty:
      return L"File is empty";
    case SkinReadStatus::TooLarge:
      return L"File too large";
    case SkinReadStatus::ShortRead:
      return L"Could not read file";
    case SkinReadStatus::NoArchive:
      return L"Error opening zip file";
    case SkinReadStatus::NotFound:
      return L"Could not find ziped file";
    case SkinReadStatus::ExtractFailed:
      return L"Could not unzip file";
  }
  return L"Could not read file";
}

}  // namespace

bool CSkinXml::ParseSkinFile(std::wstring_view name, SkinTextEncoding encoding) {
  Clear();
  const SkinRead read = CPaintManagerUI::SkinArchiveName().empty()
                            ? ReadSkinFile(CPaintManagerUI::SkinFolder() + WithSlashes(name), kMaxSkinFileSize)
                            : ReadSkinArchiveEntry(name, kMaxSkinFileSize);
  if (read.status != SkinReadStatus::Ok) return Fail(MessageFor(read.status), nullptr);
  return ParseBytes(read.bytes, encoding);
}

}  // namespace Vellum
