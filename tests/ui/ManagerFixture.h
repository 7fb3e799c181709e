#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/fake/FixedWidthFonts.h"
#include "ui/controls/Control.h"
#include "ui/manager/PaintManager.h"

namespace test {

// A paint manager over fixed-width fonts (8 pixels a character, cells as high as the pixel size;
// the control font is "Fixed" at 16). Every test starts the process's shared registries afresh.
class ManagerTest : public ::testing::Test {
 protected:
  ManagerTest();
  ~ManagerTest() override;

  platform::fake::FixedWidthFonts fonts_{8, 0};
  std::unique_ptr<Vellum::CPaintManagerUI> manager_;
};

// A control with a name that records the events it receives.
class NamedControl : public Vellum::CControlUI {
 public:
  explicit NamedControl(std::wstring_view name = L"") { SetName(name); }
  void HandleEvent(Vellum::UiEvent& event) override {
    events.push_back(event);
    CControlUI::HandleEvent(event);
  }
  std::vector<Vellum::UiEvent> events;
};

}  // namespace test
