#pragma once

#include <string>
#include <variant>
#include <vector>

#include "platform/Canvas.h"

namespace platform::fake {

// A canvas that draws nothing and records every call, for checking what a painter asked for.
class RecordingCanvas final : public Canvas {
 public:
  struct FillCall {
    Rect rect;
    Color color;
  };
  struct GradientCall {
    Rect rect;
    Color from;
    Color to;
    GradientDirection direction;
    std::uint8_t alpha;
  };
  struct LineCall {
    Point from;
    Point to;
    int width;
    Color color;
    PenStyle style;
  };
  struct FrameCall {
    Rect rect;
    int width;
    Color color;
  };
  struct RoundFrameCall {
    Rect rect;
    int width;
    int radius;
    Color color;
  };
  struct BlitCall {
    const Bitmap* picture;
    Rect source;
    Rect dest;
    BlitMode mode;
    std::uint8_t alpha;
  };
  struct ClipCall {
    ClipRegion region;
  };
  struct TextCall {
    FontSpec font;
    Point topLeft;
    std::wstring text;
    Color color;
    bool opaque;
    Color background;
  };
  struct DrawTextCall {
    FontSpec font;
    Rect rect;
    std::wstring text;
    Color color;
    unsigned format;
  };
  using Call = std::variant<FillCall, GradientCall, LineCall, FrameCall, RoundFrameCall, BlitCall, ClipCall, TextCall,
                            DrawTextCall>;

  explicit RecordingCanvas(Size size = {1000, 1000}) : size_(size), clip_(Rect{0, 0, size.cx, size.cy}) {}

  const std::vector<Call>& calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  template <typename T>
  std::vector<T> CallsOf() const {
    std::vector<T> found;
    for (const Call& call : calls_) {
      if (const T* item = std::get_if<T>(&call)) found.push_back(*item);
    }
    return found;
  }

  Size size() const override { return size_; }
  void FillRect(const Rect& rect, Color color) override { calls_.push_back(FillCall{rect, color}); }
  void FillGradient(const Rect& rect, Color from, Color to, GradientDirection direction, std::uint8_t alpha) override {
    calls_.push_back(GradientCall{rect, from, to, direction, alpha});
  }
  void DrawLine(Point from, Point to, int width, Color color, PenStyle style) override {
    calls_.push_back(LineCall{from, to, width, color, style});
  }
  void DrawFrame(const Rect& rect, int width, Color color) override { calls_.push_back(FrameCall{rect, width, color}); }
  void DrawRoundFrame(const Rect& rect, int width, int radius, Color color) override {
    calls_.push_back(RoundFrameCall{rect, width, radius, color});
  }
  void Blit(const Bitmap& picture, const Rect& source, const Rect& dest, BlitMode mode, std::uint8_t alpha) override {
    calls_.push_back(BlitCall{&picture, source, dest, mode, alpha});
  }
  ClipRegion Clip() const override { return clip_; }
  void SetClip(const ClipRegion& region) override {
    clip_ = region;
    calls_.push_back(ClipCall{region});
  }
  void TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color) override {
    calls_.push_back(TextCall{font.spec(), topLeft, std::wstring(text), color, false, 0});
  }
  void TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color, Color background) override {
    calls_.push_back(TextCall{font.spec(), topLeft, std::wstring(text), color, true, background});
  }
  // Measures as one line per line feed, each as wide as the font says.
  void DrawText(const Font& font, Rect& rect, std::wstring_view text, Color color, unsigned format) override;

 private:
  Size size_;
  ClipRegion clip_;
  std::vector<Call> calls_;
};

}  // namespace platform::fake
