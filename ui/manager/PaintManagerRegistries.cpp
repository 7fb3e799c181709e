#include <algorithm>

#include "ui/controls/Control.h"
#include "ui/manager/PaintManager.h"
#include "ui/manager/PaintManagerShared.h"
#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

template <typename T>
bool AddOnce(std::vector<T*>& list, T* item) {
  if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item) {
  const auto found = std::find(list.begin(), list.end(), item);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

template <typename Map>
const std::wstring* FindText(const Map& map, std::wstring_view key) {
  const auto found = map.find(key);
  return found == map.end() ? nullptr : &found->second;
}

}  // namespace

bool CPaintManagerUI::AddListener(INotifyUI* listener) {
  return AddOnce(listeners_, listener);
}

bool CPaintManagerUI::RemoveListener(INotifyUI* listener) {
  return RemoveItem(listeners_, listener);
}

bool CPaintManagerUI::AddPreFilter(IMessageFilterUI* filter) {
  return AddOnce(preFilters_, filter);
}

bool CPaintManagerUI::RemovePreFilter(IMessageFilterUI* filter) {
  return RemoveItem(preFilters_, filter);
}

bool CPaintManagerUI::AddPostPaintControl(CControlUI* control) {
  return AddOnce(postPaint_, control);
}

bool CPaintManagerUI::RemovePostPaintControl(CControlUI* control) {
  return RemoveItem(postPaint_, control);
}

CControlUI* CPaintManagerUI::FindControlByName(std::wstring_view name) const {
  const auto found = names_.find(name);
  return found == names_.end() ? nullptr : found->second;
}

void CPaintManagerUI::AddNamedControl(CControlUI& control) {
  if (control.GetName().empty()) return;
  names_.insert_or_assign(control.GetName(), &control);
}

const std::wstring* CPaintManagerUI::DefaultAttributesFor(std::wstring_view className) const {
  if (const std::wstring* own = FindText(defaultAttributes_, className)) return own;
  return FindText(Shared().defaultAttributes, className);
}

void CPaintManagerUI::SetDefaultAttributes(std::wstring_view className, std::wstring_view text, bool shared) {
  auto& map = shared ? Shared().defaultAttributes : defaultAttributes_;
  map.insert_or_assign(std::wstring(className), std::wstring(text));
}

const std::wstring* CPaintManagerUI::StyleText(std::wstring_view name) const {
  if (const std::wstring* own = FindText(styles_, name)) return own;
  return FindText(Shared().styles, name);
}

void CPaintManagerUI::AddStyleText(std::wstring_view name, std::wstring_view text, bool shared) {
  auto& map = shared ? Shared().styles : styles_;
  map.try_emplace(std::wstring(name), std::wstring(text));
}

bool CPaintManagerUI::JoinOptionGroup(std::wstring_view group, CControlUI* control) {
  if (!control) return false;
  auto found = optionGroups_.find(group);
  if (found == optionGroups_.end())
    found = optionGroups_.emplace(std::wstring(group), std::vector<CControlUI*>{}).first;
  return AddOnce(found->second, control);
}

const std::vector<CControlUI*>* CPaintManagerUI::OptionGroupMembers(std::wstring_view group) const {
  const auto found = optionGroups_.find(group);
  return found == optionGroups_.end() ? nullptr : &found->second;
}

void CPaintManagerUI::LeaveOptionGroup(std::wstring_view group, CControlUI* control) {
  const auto found = optionGroups_.find(group);
  if (found == optionGroups_.end()) return;
  RemoveItem(found->second, control);
  if (found->second.empty()) optionGroups_.erase(found);
}

const SkinImageSpec* CPaintManagerUI::ImageSpecFor(std::wstring_view imageText, std::wstring_view modifyText) {
  if (imageText.empty() && modifyText.empty()) return nullptr;
  std::pair<std::wstring, std::wstring> key{imageText, modifyText};
  auto found = imageSpecs_.find(key);
  if (found == imageSpecs_.end()) {
    auto spec = std::make_unique<SkinImageSpec>(CSkinRenderer::ParseImageSpec(imageText, modifyText, this));
    found = imageSpecs_.emplace(std::move(key), std::move(spec)).first;
  }
  return found->second.get();
}

}  // namespace Vellum
