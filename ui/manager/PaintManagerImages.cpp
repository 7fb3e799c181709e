#include "ui/core/AttributeValues.h"
#include "ui/manager/PaintManager.h"
#include "ui/manager/PaintManagerShared.h"
#include "ui/resources/SkinImage.h"

namespace Vellum {
namespace {

using ImageMap = std::map<std::wstring, std::unique_ptr<ImageInfo>, std::less<>>;

const ImageInfo* Find(const ImageMap& map, std::wstring_view name) {
  const auto found = map.find(name);
  return found == map.end() ? nullptr : found->second.get();
}

// With a resource type the name is the resource's decimal id.
std::unique_ptr<ImageInfo> Load(std::wstring_view name, std::wstring_view resourceType, ArgbColor mask,
                                const platform::Module* module) {
  if (resourceType.empty()) return LoadSkinImage(name, mask);
  if (name[0] < L'0' || name[0] > L'9') return nullptr;
  std::size_t end = 0;
  const int id = ReadDecimal(name, 0, end);
  return LoadSkinImage(static_cast<unsigned>(id), resourceType, mask, module);
}

}  // namespace

const ImageInfo* CPaintManagerUI::FindImage(std::wstring_view name) const {
  if (const ImageInfo* own = Find(images_, name)) return own;
  return Find(Shared().images, name);
}

const ImageInfo* CPaintManagerUI::RegisterImage(std::wstring_view name, std::wstring_view resourceType, ArgbColor mask,
                                                bool useHsl, bool shared, const platform::Module* module) {
  if (name.empty()) return nullptr;
  std::unique_ptr<ImageInfo> image = Load(name, resourceType, mask, module);
  if (!image) return nullptr;
  image->useHsl = useHsl;
  if (!resourceType.empty()) image->resourceType = resourceType;
  image->mask = mask;
  const ImageInfo* stored = image.get();
  (shared ? Shared().images : images_).insert_or_assign(std::wstring(name), std::move(image));
  return stored;
}

const ImageInfo* CPaintManagerUI::FindOrLoadImage(std::wstring_view name, std::wstring_view resourceType,
                                                  ArgbColor mask, bool useHsl, const platform::Module* module) {
  if (const ImageInfo* found = FindImage(name)) return found;
  return RegisterImage(name, resourceType, mask, useHsl, false, module);
}

void CPaintManagerUI::ClearImages(bool shared) {
  (shared ? Shared().images : images_).clear();
}

}  // namespace Vellum
