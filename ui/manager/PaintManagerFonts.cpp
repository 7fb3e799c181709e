#include "ui/manager/PaintManager.h"
#include "ui/manager/PaintManagerShared.h"
#include "ui/resources/SkinFonts.h"

namespace Vellum {
namespace {

// Face names are kept to the length a logical font record holds.
constexpr std::size_t kMaxFaceNameChars = 32;

const FontInfo& NoFont() {
  static const FontInfo none;
  return none;
}

using FontMap = std::map<int, std::unique_ptr<FontInfo>>;

const FontInfo* FindById(const FontMap& map, int id) {
  const auto found = map.find(id);
  return found == map.end() ? nullptr : found->second.get();
}

bool Matches(const FontInfo& info, std::wstring_view faceName, int size, bool bold, bool underline, bool italic) {
  return info.font && info.faceName == faceName && info.size == size && info.bold == bold &&
         info.underline == underline && info.italic == italic;
}

}  // namespace

std::unique_ptr<FontInfo> CPaintManagerUI::MakeFont(std::wstring_view faceName, int size, bool bold, bool underline,
                                                    bool italic) const {
  platform::FontSpec spec = fonts_.DefaultGuiFont();
  if (!faceName.empty()) spec.faceName = faceName.substr(0, kMaxFaceNameChars);
  spec.pixelSize = Scale(size);
  spec.bold = spec.bold || bold;
  spec.underline = spec.underline || underline;
  spec.italic = spec.italic || italic;
  std::unique_ptr<platform::Font> font = fonts_.CreateFont(spec);
  if (!font) return nullptr;
  auto info = std::make_unique<FontInfo>();
  info->font = std::move(font);
  info->faceName = spec.faceName;
  info->size = size;
  info->bold = spec.bold;
  info->underline = spec.underline;
  info->italic = spec.italic;
  return info;
}

FontHandle CPaintManagerUI::AddFontById(int id, std::wstring_view faceName, int size, bool bold, bool underline,
                                        bool italic, bool shared) {
  std::unique_ptr<FontInfo> info = MakeFont(faceName, size, bold, underline, italic);
  if (!info) return nullptr;
  const FontHandle handle = info->handle();
  auto& map = shared ? Shared().fontsById : fontsById_;
  map.insert_or_assign(id, std::move(info));
  return handle;
}

FontHandle CPaintManagerUI::FontById(int id) const {
  return FontInfoById(id).handle();
}

const FontInfo& CPaintManagerUI::FontInfoById(int id) const {
  if (id >= 0) {
    if (const FontInfo* own = FindById(fontsById_, id)) return *own;
    if (const FontInfo* shared = FindById(Shared().fontsById, id)) return *shared;
  }
  return DefaultFontInfo();
}

const FontInfo& CPaintManagerUI::FontInfoByHandle(FontHandle font) const {
  if (font) {
    for (const FontMap* map :
         {static_cast<const FontMap*>(&fontsById_), static_cast<const FontMap*>(&Shared().fontsById)}) {
      for (const auto& [id, info] : *map) {
        if (info->handle() == font) return *info;
      }
    }
    if (defaultFont_ && defaultFont_->handle() == font) return *defaultFont_;
  }
  return DefaultFontInfo();
}

const FontInfo& CPaintManagerUI::DefaultFontInfo() const {
  if (defaultFont_ && !defaultFont_->faceName.empty()) return *defaultFont_;
  const SharedRegistries& shared = Shared();
  return shared.defaultFont ? *shared.defaultFont : NoFont();
}

void CPaintManagerUI::SetDefaultFontSpec(std::wstring_view faceName, int size, bool bold, bool underline, bool italic,
                                         bool shared) {
  std::unique_ptr<FontInfo> info = MakeFont(faceName, size, bold, underline, italic);
  if (!info) return;
  (shared ? Shared().defaultFont : defaultFont_) = std::move(info);
}

const FontInfo& CPaintManagerUI::FindOrAddFont(std::wstring_view faceName, int size, bool bold, bool underline,
                                               bool italic) {
  for (const FontMap* map :
       {static_cast<const FontMap*>(&fontsById_), static_cast<const FontMap*>(&Shared().fontsById)}) {
    for (const auto& [id, info] : *map) {
      if (Matches(*info, faceName, size, bold, underline, italic)) return *info;
    }
  }
  if (const FontInfo& fallback = DefaultFontInfo(); Matches(fallback, faceName, size, bold, underline, italic)) {
    return fallback;
  }
  while (FindById(fontsById_, nextGeneratedFontId_) || FindById(Shared().fontsById, nextGeneratedFontId_)) {
    ++nextGeneratedFontId_;
  }
  const int id = nextGeneratedFontId_++;
  if (!AddFontById(id, faceName, size, bold, underline, italic, false)) return DefaultFontInfo();
  return *fontsById_.at(id);
}

bool CPaintManagerUI::ImportFontFile(std::wstring_view name) {
  std::unique_ptr<platform::ImportedFont> font = Vellum::ImportFontFile(name);
  if (!font) return false;
  importedFonts_.push_back(std::move(font));
  platform::RefreshSystemFonts();
  return true;
}

}  // namespace Vellum
