#include <algorithm>

#include "platform/Clock.h"
#include "ui/controls/Control.h"
#include "ui/manager/PaintManager.h"

namespace Vellum {

void CPaintManagerUI::SendNotification(CControlUI* sender, std::wstring_view type, std::uintptr_t wParam,
                                       std::intptr_t lParam, bool queued) {
  UiNotify notify;
  notify.Type = type;
  notify.Sender = sender;
  notify.wParam = wParam;
  notify.lParam = lParam;
  SendNotification(notify, queued);
}

void CPaintManagerUI::SendNotification(UiNotify& notify, bool queued) {
  notify.MousePoint = lastMousePosition_;
  notify.Timestamp = platform::TickCount();
  if (useVirtualWindow_ && notify.Sender) notify.VirtualWindow = notify.Sender->GetVirtualWindow();
  if (!queued) {
    Deliver(notify);
    return;
  }
  UiNotify copy;
  copy.Type = notify.Type;
  copy.Sender = notify.Sender;
  copy.wParam = notify.wParam;
  copy.lParam = notify.lParam;
  copy.MousePoint = notify.MousePoint;
  copy.Timestamp = notify.Timestamp;
  asyncNotify_.push_back(std::move(copy));
  PostAsyncWork();
}

void CPaintManagerUI::Deliver(UiNotify& notify) {
  if (notify.Sender && !notify.Sender->OnNotify.empty()) notify.Sender->OnNotify.Run(notify);
  // A listener may remove listeners (itself included) while it handles the notification; one that
  // was removed is not called any more.
  const std::vector<INotifyUI*> listeners = listeners_;
  for (INotifyUI* listener : listeners) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) continue;
    listener->HandleNotification(notify);
  }
}

void CPaintManagerUI::PostAsyncWork() {
  if (asyncNotifyPosted_ || !window_) return;
  asyncNotifyPosted_ = window_->PostMessage({kAsyncNotifyMessage, 0, 0});
}

void CPaintManagerUI::DeleteLater(std::unique_ptr<CControlUI> control) {
  if (!control) return;
  control->SetManager(this, nullptr, false);
  delayedCleanup_.push_back(std::move(control));
  PostAsyncWork();
}

void CPaintManagerUI::HandleAsyncWork() {
  // Destroyed outside the list: their destructors call back into ForgetControl.
  std::vector<std::unique_ptr<CControlUI>> doomed = std::move(delayedCleanup_);
  delayedCleanup_.clear();
  doomed.clear();
  asyncNotifyPosted_ = false;
  while (!asyncNotify_.empty()) {
    UiNotify notify = std::move(asyncNotify_.front());
    asyncNotify_.pop_front();
    Deliver(notify);
  }
}

void CPaintManagerUI::ForgetControl(CControlUI* control) {
  if (!control) return;
  for (CControlUI** reference : {&focus_, &hover_, &click_, &key_}) {
    if (*reference == control) *reference = nullptr;
  }
  KillControlTimers(control);
  const auto named = names_.find(control->GetName());
  if (named != names_.end() && named->second == control) names_.erase(named);
  for (UiNotify& notify : asyncNotify_) {
    if (notify.Sender == control) notify.Sender = nullptr;
  }
  // Lists that would otherwise hand out the destroyed control.
  std::erase(postPaint_, control);
  for (auto group = optionGroups_.begin(); group != optionGroups_.end();) {
    std::erase(group->second, control);
    group = group->second.empty() ? optionGroups_.erase(group) : std::next(group);
  }
}

}  // namespace Vellum
