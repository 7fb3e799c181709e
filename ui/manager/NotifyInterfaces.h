#pragma once

#include <cstdint>

#include "platform/NativeWindow.h"
#include "ui/manager/UiNotify.h"

namespace Vellum {

// A listener for the notifications of one manager's controls.
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void HandleNotification(UiNotify& notify) = 0;
};

// Sees the window's messages before the controls do; setting handled consumes the message.
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual std::intptr_t FilterMessage(platform::MessageId message, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) = 0;
};

}  // namespace Vellum
