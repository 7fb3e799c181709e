#include "ui/controls/Control.h"

#include "ui/manager/PaintManager.h"

namespace Vellum {

CControlUI::~CControlUI() {
  if (!OnDestroy.empty()) OnDestroy.Run(*this);
  if (manager_) manager_->ForgetControl(this);
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  manager_ = manager;
  parent_ = parent;
  if (init && parent) Init();
}

void CControlUI::Init() {
  OnInitialize();
  if (!OnInit.empty()) OnInit.Run(*this);
}

void CControlUI::DispatchEvent(UiEvent& event) {
  if (OnEvent.Run(event)) HandleEvent(event);
}

void CControlUI::HandleEvent(UiEvent& event) {
  if (event.Type == EVENT_TIMER) {
    if (manager_) manager_->SendNotification(this, kNotifyTimer, event.wParam, event.lParam);
    return;
  }
  if (parent_) parent_->HandleEvent(event);
}

void CControlUI::SetVirtualWindow(std::wstring_view name) {
  virtualWindow_ = name;
  if (manager_) manager_->UsedVirtualWindow(true);
}

std::wstring CControlUI::GetVirtualWindow() const {
  if (!virtualWindow_.empty()) return virtualWindow_;
  return parent_ ? parent_->GetVirtualWindow() : std::wstring();
}

}  // namespace Vellum
