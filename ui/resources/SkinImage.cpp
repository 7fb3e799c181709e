#include "ui/resources/SkinImage.h"

#include <stb_image.h>

#include <climits>

#include "platform/Text.h"
#include "ui/manager/PaintManager.h"
#include "ui/resources/SkinItem.h"

namespace Vellum {
namespace {

constexpr int kChannels = 4;
// Larger pictures are refused before decoding: a skin has no use for them and a damaged header
// must not make the decoder allocate gigabytes.
constexpr long long kMaxImagePixels = 64ll * 1024 * 1024;

struct StbPixels {
  explicit StbPixels(stbi_uc* p) : pixels(p) {}
  StbPixels(const StbPixels&) = delete;
  StbPixels& operator=(const StbPixels&) = delete;
  ~StbPixels() { stbi_image_free(pixels); }
  stbi_uc* pixels;
};

std::uint32_t Premultiply(const stbi_uc* rgba, bool& hasAlpha) {
  const std::uint32_t r = rgba[0], g = rgba[1], b = rgba[2], a = rgba[3];
  if (a == 255) return 0xFF000000u | (r << 16) | (g << 8) | b;
  hasAlpha = true;
  return (a << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
}

}  // namespace

std::unique_ptr<ImageInfo> DecodeSkinImage(std::span<const std::uint8_t> bytes, std::uint32_t mask) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  const int length = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) return nullptr;
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxImagePixels) return nullptr;

  StbPixels decoded(stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, kChannels));
  if (decoded.pixels == nullptr) return nullptr;

  auto image = std::make_unique<ImageInfo>();
  image->bitmap = platform::Bitmap(width, height);
  image->width = width;
  image->height = height;
  image->mask = mask;
  std::uint32_t* out = image->bitmap.pixels();
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t pixel = Premultiply(decoded.pixels + i * kChannels, image->hasAlpha);
    if (pixel == mask) {
      pixel = 0;
      image->hasAlpha = true;
    }
    out[i] = pixel;
  }
  return image;
}

std::unique_ptr<ImageInfo> LoadSkinImage(std::wstring_view name, std::uint32_t mask) {
  const auto bytes = ReadSkinItem(name);
  if (!bytes) return nullptr;
  return DecodeSkinImage(*bytes, mask);
}

std::unique_ptr<ImageInfo> LoadSkinImage(unsigned resourceId, std::wstring_view resourceType, std::uint32_t mask,
                                         const platform::Module* module) {
  if (module == nullptr) module = CPaintManagerUI::ResourceModule();
  if (module == nullptr) return nullptr;
  const auto bytes = module->FindResource(platform::WideToUtf8(resourceType), resourceId);
  if (!bytes || bytes->empty()) return nullptr;
  auto image = DecodeSkinImage(*bytes, mask);
  if (image) image->resourceType = resourceType;
  return image;
}

}  // namespace Vellum
