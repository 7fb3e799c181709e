#include "ui/manager/PaintManager.h"
#include "ui/manager/PaintManagerShared.h"

namespace Vellum {

void CPaintManagerUI::SetDefaultColor(ArgbColor DefaultColors::*which, ArgbColor color, bool shared) {
  if (shared) {
    ArgbColor& sharedColor = Shared().colors.*which;
    if (colors_.*which == sharedColor) colors_.*which = color;
    sharedColor = color;
    return;
  }
  colors_.*which = color;
}

void CPaintManagerUI::SetDefaultDisabledTextColor(ArgbColor color, bool shared) {
  SetDefaultColor(&DefaultColors::disabledText, color, shared);
}

void CPaintManagerUI::SetDefaultTextColor(ArgbColor color, bool shared) {
  SetDefaultColor(&DefaultColors::text, color, shared);
}

void CPaintManagerUI::SetDefaultLinkColor(ArgbColor color, bool shared) {
  SetDefaultColor(&DefaultColors::link, color, shared);
}

void CPaintManagerUI::SetDefaultLinkHoverColor(ArgbColor color, bool shared) {
  SetDefaultColor(&DefaultColors::linkHover, color, shared);
}

void CPaintManagerUI::SetDefaultSelectedBkColor(ArgbColor color, bool shared) {
  SetDefaultColor(&DefaultColors::selectedBk, color, shared);
}

}  // namespace Vellum
