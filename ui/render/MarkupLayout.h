#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "ui/core/FontInfo.h"
#include "ui/core/UiTypes.h"

namespace Vellum {

class CPaintManagerUI;

// One call of DrawMarkupText: lays the text out line by line and, unless measuring, draws it.
//
// When drawing, every line is scanned twice: a measuring pass finds the line's end and height and
// records the links, then the state is rewound to the line's start and a drawing pass paints the
// same characters on the line's baseline. With DT_CALCRECT each line is scanned once, without
// drawing. Scanning always ends: every step consumes text or ends the line, and a line that would
// take nothing consumes one character.
class MarkupLayout {
 public:
  struct Links {
    Rect* rects = nullptr;
    std::wstring* texts = nullptr;
    int capacity = 0;
  };

  MarkupLayout(platform::Canvas& canvas, CPaintManagerUI& manager, Rect& rect, std::wstring_view text, ArgbColor color,
               Links links, int fontIndex, unsigned style);

  // Returns the number of links recorded.
  int Run();

 private:
  // What the drawing pass rewinds to.
  struct LineStart {
    std::vector<const FontInfo*> fonts;
    std::vector<ArgbColor> colors;
    std::vector<int> paragraphs;
    std::size_t position = 0;
    bool raw = false;
    bool linkOpen = false;
    bool selected = false;
    int linkIndex = 0;
  };

  // MarkupLayout.cpp: the scan.
  void Scan();
  bool AtLineEnd() const;
  // False when scanning stops.
  bool EndLine();
  void EndText();
  void SaveLineStart();
  void RewindToLineStart();
  void CloseOpenLink(bool continueOnNextLine);
  void TextRun();
  void PrintRun(std::wstring_view run, bool ellipsis);
  void PrintCharacter(wchar_t c);
  bool StartsRawEnd(std::size_t at) const;

  // MarkupTags.cpp: tags.
  bool IsOpeningTag(std::size_t at) const;
  bool IsClosingTag(std::size_t at) const;
  bool IsEscape(std::size_t at) const;
  void OpeningTag();
  void ClosingTag();
  void LinkTag();
  void FontTag();
  void ImageTag(std::size_t tagStart);
  void SkipTagEnd();
  int ReadNumberAfterBlanks();
  std::wstring_view ReadWord();
  void SkipBlanks();

  // Fonts, colours and line height.
  const FontInfo& CurrentFont() const;
  ArgbColor CurrentColor() const;
  int TopParagraph() const;
  void PushFont(const FontInfo& font);
  void PopFont();
  const FontInfo& Variant(bool bold, bool underline, bool italic);
  void GrowLineHeight(int height);
  // Outside a drawing pass; both keep the values within the layout's range.
  void SetLineHeight(long long height);
  void MovePen(long long dx);
  int FontLineHeight(const FontInfo& font) const;
  int Measure(std::wstring_view text) const;
  bool Drawing() const { return draw_ && drawPass_; }

  platform::Canvas& canvas_;
  CPaintManagerUI& manager_;
  Rect& rect_;
  std::wstring_view text_;
  ArgbColor color_;
  Links links_;
  unsigned style_;
  bool draw_;
  bool singleLine_;

  const FontInfo* baseFont_ = nullptr;
  std::vector<const FontInfo*> fonts_;
  std::vector<ArgbColor> colors_;
  std::vector<int> paragraphs_;

  std::size_t pos_ = 0;
  Point pt_;
  int lineHeight_ = 0;
  int widest_ = 0;
  int imageBottom_ = 0;
  bool lineEndRequested_ = false;
  bool raw_ = false;
  bool selected_ = false;
  bool drawPass_ = false;
  bool lineTookText_ = false;

  int linkIndex_ = 0;
  Point linkStart_;
  bool linkOpen_ = false;
  std::wstring hoverLink_;
  bool hasHoverLink_ = false;
  LineStart lineStart_;
};

}  // namespace Vellum
