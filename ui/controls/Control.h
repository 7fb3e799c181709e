#pragma once

#include <string>
#include <string_view>

#include "ui/manager/ListenerList.h"
#include "ui/manager/UiEvent.h"
#include "ui/manager/UiNotify.h"

namespace Vellum {

class CPaintManagerUI;

// The root of every skin control, as far as the paint manager's registries and notifications
// need it: a name, the manager and parent it belongs to, the virtual window that routes its
// notifications, its listener lists and the event entry. Geometry, attributes, painting and the
// rest of the event handling belong to the control classes built on it.
class CControlUI {
 public:
  CControlUI() = default;
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
  // Runs OnDestroy, then lets the manager drop every reference it holds to this control.
  virtual ~CControlUI();

  virtual const std::wstring& GetName() const { return name_; }
  virtual void SetName(std::wstring_view name) { name_ = name; }

  virtual CPaintManagerUI* GetManager() const { return manager_; }
  // Stores both; with init and a parent, runs Init.
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init);
  virtual CControlUI* GetParent() const { return parent_; }

  // OnInitialize, then the OnInit listeners.
  virtual void Init();
  virtual void OnInitialize() {}

  // Runs the OnEvent listeners; when they all agree, HandleEvent.
  virtual void DispatchEvent(UiEvent& event);
  // The base handling: a timer tick becomes the notification "timer"; anything else goes to the
  // parent, or is dropped without one.
  virtual void HandleEvent(UiEvent& event);

  // Stores the name and makes the manager route notifications by virtual window.
  void SetVirtualWindow(std::wstring_view name);
  // The own name when set, else the parent's; empty without a parent.
  std::wstring GetVirtualWindow() const;

  ListenerList<CControlUI&> OnInit;
  ListenerList<CControlUI&> OnDestroy;
  ListenerList<CControlUI&> OnSize;
  ListenerList<UiEvent&> OnEvent;
  ListenerList<UiNotify&> OnNotify;

 private:
  CPaintManagerUI* manager_ = nullptr;  // not owned
  CControlUI* parent_ = nullptr;        // not owned
  std::wstring virtualWindow_;
  std::wstring name_;
};

}  // namespace Vellum
