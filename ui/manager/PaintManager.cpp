#include "ui/manager/PaintManager.h"

#include <cstdlib>
#include <limits>

#include "ui/controls/Control.h"
#include "ui/manager/PaintManagerShared.h"

namespace Vellum {
namespace {

constexpr CPaintManagerUI::DefaultColors kInitialColors{
    .disabledText = 0xFFA7A6AA,
    .text = 0xFF000000,
    .link = 0xFF0000FF,
    .linkHover = 0xFFD3215F,
    .selectedBk = 0xFFBAE4FF,
};

// Ids of the fonts the markup text makes for itself lie far above any a skin writes.
constexpr int kFirstGeneratedFontId = 1'000'000;

}  // namespace

SharedRegistries& Shared() {
  static SharedRegistries registries;
  return registries;
}

CPaintManagerUI::CPaintManagerUI(platform::FontProvider& fonts)
    : fonts_(fonts), nextGeneratedFontId_(kFirstGeneratedFontId) {
  SharedRegistries& shared = Shared();
  if (!shared.defaultFont || shared.defaultFont->faceName.empty()) {
    shared.colors = kInitialColors;
    const platform::FontSpec gui = fonts_.DefaultGuiFont();
    shared.defaultFont = MakeFont(gui.faceName, gui.pixelSize, gui.bold, gui.underline, gui.italic);
    if (!shared.defaultFont) {
      // Recorded without a font, so that the attempt is not repeated by every manager.
      shared.defaultFont = std::make_unique<FontInfo>();
      shared.defaultFont->faceName = gui.faceName;
      shared.defaultFont->size = gui.pixelSize;
    }
  }
  colors_ = shared.colors;
}

CPaintManagerUI::~CPaintManagerUI() {
  delayedCleanup_.clear();
  asyncNotify_.clear();
  names_.clear();
  root_.reset();
  defaultFont_.reset();
  ClearWindowRegistries();
  imageSpecs_.clear();
  importedFonts_.clear();
}

void CPaintManagerUI::Shutdown() {
  ReleaseSharedRegistries();
  CloseSkinArchive();
}

void CPaintManagerUI::ReleaseSharedRegistries() {
  SharedRegistries& shared = Shared();
  shared.fontsById.clear();
  shared.defaultFont.reset();
  shared.images.clear();
  shared.defaultAttributes.clear();
  shared.styles.clear();
  shared.colors = {};
}

void CPaintManagerUI::BindWindow(platform::NativeWindow* window, std::wstring_view name) {
  names_.clear();
  ClearWindowRegistries();
  name_ = name;
  window_ = window;
}

void CPaintManagerUI::ClearWindowRegistries() {
  fontsById_.clear();
  images_.clear();
  styles_.clear();
  defaultAttributes_.clear();
  optionGroups_.clear();
  for (const ControlTimer& timer : timers_) {
    if (!timer.killed && timer.window && timer.window->IsAlive()) timer.window->KillTimer(timer.windowTimerId);
  }
  timers_.clear();
}

int CPaintManagerUI::Scale(int value) const {
  if (scalePercent_ == 100) return value;
  const long long product = static_cast<long long>(value) * scalePercent_;
  const long long rounded = (product >= 0 ? product + 50 : product - 50) / 100;
  if (rounded > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (rounded < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}

Rect CPaintManagerUI::Scale(const Rect& rect) const {
  Rect scaled;
  scaled.left = Scale(rect.left);
  scaled.top = Scale(rect.top);
  scaled.right = scaled.left + Scale(rect.right - rect.left);
  scaled.bottom = scaled.top + Scale(rect.bottom - rect.top);
  return scaled;
}

}  // namespace Vellum
