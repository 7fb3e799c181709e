#include <algorithm>
#include <cmath>

#include "ui/render/SkinRenderer.h"

namespace Vellum {
namespace {

struct Hsl {
  double hue = 0;  // degrees
  double saturation = 0;
  double lightness = 0;
};

Hsl ToHsl(double r, double g, double b) {
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  Hsl hsl;
  hsl.lightness = (high + low) / 2;
  const double range = high - low;
  if (range <= 0) return hsl;
  hsl.saturation = hsl.lightness <= 0.5 ? range / (high + low) : range / (2 - high - low);
  if (high == r)
    hsl.hue = 60 * std::fmod((g - b) / range, 6.0);
  else if (high == g)
    hsl.hue = 60 * ((b - r) / range + 2);
  else
    hsl.hue = 60 * ((r - g) / range + 4);
  if (hsl.hue < 0) hsl.hue += 360;
  return hsl;
}

double HueChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

unsigned ToByte(double v) {
  return static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

}  // namespace

ArgbColor CSkinRenderer::AdjustColor(ArgbColor color, int hue, int saturation, int lightness) {
  if (hue == 180 && saturation == 100 && lightness == 100) return color;
  const double r = ((color >> 16) & 0xFF) / 255.0;
  const double g = ((color >> 8) & 0xFF) / 255.0;
  const double b = (color & 0xFF) / 255.0;
  Hsl hsl = ToHsl(r, g, b);
  hsl.hue += hue - 180;
  if (hsl.hue <= 0) hsl.hue += 360;
  hsl.hue = std::fmod(hsl.hue, 360.0);
  hsl.saturation = std::clamp(hsl.saturation * saturation / 100.0, 0.0, 1.0);
  hsl.lightness = std::clamp(hsl.lightness * lightness / 100.0, 0.0, 1.0);
  double outR = hsl.lightness;
  double outG = hsl.lightness;
  double outB = hsl.lightness;
  if (hsl.saturation > 0) {
    const double q = hsl.lightness < 0.5 ? hsl.lightness * (1 + hsl.saturation)
                                         : hsl.lightness + hsl.saturation - hsl.lightness * hsl.saturation;
    const double p = 2 * hsl.lightness - q;
    const double h = hsl.hue / 360;
    outR = HueChannel(p, q, h + 1.0 / 3);
    outG = HueChannel(p, q, h);
    outB = HueChannel(p, q, h - 1.0 / 3);
  }
  return (color & 0xFF000000) | (ToByte(outR) << 16) | (ToByte(outG) << 8) | ToByte(outB);
}

}  // namespace Vellum
