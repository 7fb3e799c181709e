#include "platform/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <mutex>

namespace platform {
namespace {

// fontconfig registers application fonts by file name only. Each imported font therefore lives in
// an anonymous memory file that this process keeps open; its /proc/self/fd name works as a path for
// fontconfig and for every font loader after it, and nothing is left on disk, even after a crash.
class ImportRegistry {
 public:
  static ImportRegistry& Instance() {
    static ImportRegistry registry;
    return registry;
  }

  // The id of the new registration and its families; id 0 when nothing was registered.
  std::pair<int, std::vector<std::string>> Add(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    const int fd = WriteMemoryFile(bytes);
    if (fd < 0) return {};
    const int before = ApplicationFontCount();
    const auto path = PathOf(fd);
    if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()))) {
      ::close(fd);
      return {};
    }
    auto families = FamiliesFrom(before);
    if (ApplicationFontCount() == before) {
      ::close(fd);
      return {};
    }
    const int id = ++lastId_;
    files_.emplace(id, fd);
    return {id, std::move(families)};
  }

  // fontconfig cannot forget a single application font, so the remaining ones are registered anew.
  void Remove(int id) {
    std::lock_guard lock(mutex_);
    const auto found = files_.find(id);
    if (found == files_.end()) return;
    ::close(found->second);
    files_.erase(found);
    FcConfigAppFontClear(nullptr);
    for (const auto& [otherId, fd] : files_) {
      FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(PathOf(fd).c_str()));
    }
  }

  std::vector<std::string> Families() {
    std::lock_guard lock(mutex_);
    return FamiliesFrom(0);
  }

 private:
  static int WriteMemoryFile(std::span<const std::uint8_t> bytes) {
    const int fd = ::memfd_create("lumo-font", MFD_CLOEXEC);
    if (fd < 0) return -1;
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
      if (n <= 0) {
        ::close(fd);
        return -1;
      }
      written += static_cast<std::size_t>(n);
    }
    return fd;
  }

  static std::string PathOf(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

  static int ApplicationFontCount() {
    const FcFontSet* set = FcConfigGetFonts(nullptr, FcSetApplication);
    return set != nullptr ? set->nfont : 0;
  }

  static std::vector<std::string> FamiliesFrom(int first) {
    std::vector<std::string> families;
    const FcFontSet* set = FcConfigGetFonts(nullptr, FcSetApplication);
    if (set == nullptr) return families;
    for (int i = first; i < set->nfont; ++i) {
      FcChar8* family = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
        families.emplace_back(reinterpret_cast<const char*>(family));
      }
    }
    return families;
  }

  std::mutex mutex_;
  std::map<int, int> files_;  // registration id -> memory file
  int lastId_ = 0;
};

}  // namespace

ImportedFont::~ImportedFont() {
  ImportRegistry::Instance().Remove(id_);
}

std::unique_ptr<ImportedFont> ImportFontFromMemory(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return nullptr;
  auto [id, families] = ImportRegistry::Instance().Add(bytes);
  if (id == 0) return nullptr;
  return std::unique_ptr<ImportedFont>(new ImportedFont(id, std::move(families)));
}

std::vector<std::string> ImportedFontFamilies() {
  return ImportRegistry::Instance().Families();
}

}  // namespace platform
