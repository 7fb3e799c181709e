#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/PangoTextFont.h"

namespace platform {
namespace {

namespace tf = text_format;

// Fonts from another provider (a test's) are drawn with a system font of the same face, size and style.
class DrawingFont {
 public:
  explicit DrawingFont(const Font& font) : font_(dynamic_cast<const PangoTextFont*>(&font)) {
    if (!font_) {
      owned_ = std::make_unique<PangoTextFont>(font.spec());
      font_ = owned_.get();
    }
  }
  const PangoTextFont& operator*() const { return *font_; }
  const PangoTextFont* operator->() const { return font_; }

 private:
  const PangoTextFont* font_ = nullptr;
  std::unique_ptr<PangoTextFont> owned_;
};

struct LayoutDeleter {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

// The text as it shows: without prefix processing "&&" is one "&" and "&x" an underlined x;
// a single line has no line breaks; elsewhere CR LF, CR and LF each end a line.
struct PreparedText {
  std::string utf8;
  std::vector<std::pair<int, int>> underlined;  // byte ranges
};

PreparedText Prepare(std::wstring_view text, unsigned format) {
  std::wstring shown;
  std::vector<std::size_t> marks;
  const bool prefixes = (format & tf::kNoPrefix) == 0;
  const bool singleLine = (format & tf::kSingleLine) != 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (prefixes && c == L'&') {
      if (i + 1 >= text.size()) break;
      c = text[++i];
      if (c != L'&') marks.push_back(shown.size());
    }
    if (c == L'\r' || c == L'\n') {
      if (singleLine) continue;
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      c = L'\n';
    }
    shown += c;
  }
  PreparedText prepared;
  std::size_t done = 0;
  for (std::size_t mark : marks) {
    prepared.utf8 += WideToUtf8(std::wstring_view(shown).substr(done, mark - done));
    const int start = static_cast<int>(prepared.utf8.size());
    prepared.utf8 += WideToUtf8(std::wstring_view(shown).substr(mark, 1));
    prepared.underlined.emplace_back(start, static_cast<int>(prepared.utf8.size()));
    done = mark + 1;
  }
  prepared.utf8 += WideToUtf8(std::wstring_view(shown).substr(done));
  return prepared;
}

LayoutPtr MakeLayout(const PangoTextFont& font, const PreparedText& text, const Rect& rect, unsigned format) {
  LayoutPtr layout(font.CreateLayout(text.utf8));
  const bool singleLine = (format & tf::kSingleLine) != 0;
  pango_layout_set_single_paragraph_mode(layout.get(), singleLine ? TRUE : FALSE);
  const int width = std::max(rect.width(), 1) * PANGO_SCALE;
  const bool wraps = !singleLine && (format & tf::kWordBreak) != 0;
  if (wraps) {
    pango_layout_set_width(layout.get(), width);
    pango_layout_set_wrap(layout.get(), (format & tf::kEditControl) ? PANGO_WRAP_WORD_CHAR : PANGO_WRAP_WORD);
  }
  if (format & tf::kEndEllipsis) {
    pango_layout_set_width(layout.get(), width);
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    // Wrapped text loses what does not fit below the rectangle; other lines are cut one by one.
    pango_layout_set_height(layout.get(), wraps ? std::max(rect.height(), 1) * PANGO_SCALE : -1);
  }
  if (!text.underlined.empty()) {
    PangoAttrList* attributes = pango_layout_get_attributes(layout.get());
    attributes = attributes ? pango_attr_list_copy(attributes) : pango_attr_list_new();
    for (const auto& [start, end] : text.underlined) {
      PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
      underline->start_index = static_cast<guint>(start);
      underline->end_index = static_cast<guint>(end);
      pango_attr_list_insert(attributes, underline);
    }
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
  }
  return layout;
}

// Underlines in whole pixels under [x, x + width) of a line whose baseline is at y.
void DrawUnderline(cairo_t* cr, const PangoTextFont& font, int x, int baseline, int width) {
  if (!font.spec().underline || width <= 0) return;
  const PangoTextFont::Band& band = font.UnderlineBand();
  cairo_rectangle(cr, x, baseline + band.offset, width, band.thickness);
  cairo_fill(cr);
}

int LineWidth(PangoLayoutLine* line) {
  PangoRectangle logical{};
  pango_layout_line_get_extents(line, nullptr, &logical);
  return PANGO_PIXELS_CEIL(logical.width);
}

}  // namespace

void CairoCanvas::TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color) {
  if (!cr_ || text.empty()) return;
  const DrawingFont drawing(font);
  LayoutPtr layout(drawing->CreateLayout(WideToUtf8(text)));
  const double baseline = static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE;
  PangoRectangle logical{};
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  const int baselineY = topLeft.y + drawing->metrics().ascent;
  cairo_save(cr_);
  SetSourceColor(cr_, color);
  cairo_move_to(cr_, topLeft.x, baselineY - baseline);
  pango_cairo_show_layout(cr_, layout.get());
  DrawUnderline(cr_, *drawing, topLeft.x, baselineY, PANGO_PIXELS_CEIL(logical.width));
  cairo_restore(cr_);
}

void CairoCanvas::TextOut(const Font& font, Point topLeft, std::wstring_view text, Color color, Color background) {
  if (!cr_ || text.empty()) return;
  const Size extent = font.MeasureText(text);
  FillRect({topLeft.x, topLeft.y, topLeft.x + extent.cx, topLeft.y + extent.cy}, background);
  TextOut(font, topLeft, text, color);
}

void CairoCanvas::DrawText(const Font& font, Rect& rect, std::wstring_view text, Color color, unsigned format) {
  const DrawingFont drawing(font);
  const PreparedText prepared = Prepare(text, format);
  const int pitch = drawing->metrics().height;
  if (prepared.utf8.empty()) {
    if (format & tf::kCalcRect) rect = {rect.left, rect.top, rect.left, rect.top};
    return;
  }
  const LayoutPtr layout = MakeLayout(*drawing, prepared, rect, format);
  GSList* lines = pango_layout_get_lines_readonly(layout.get());
  const int lineCount = static_cast<int>(g_slist_length(lines));

  if (format & tf::kCalcRect) {
    int widest = 0;
    for (GSList* l = lines; l; l = l->next)
      widest = std::max(widest, LineWidth(static_cast<PangoLayoutLine*>(l->data)));
    rect.right = rect.left + widest;
    rect.bottom = rect.top + lineCount * pitch;
    return;
  }
  if (!cr_) return;

  int top = rect.top;
  if (format & tf::kSingleLine) {
    if (format & tf::kVCenter)
      top = rect.top + (rect.height() - pitch) / 2;
    else if (format & tf::kBottom)
      top = rect.bottom - pitch;
  }
  cairo_save(cr_);
  if ((format & tf::kNoClip) == 0) {
    cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
    cairo_clip(cr_);
  }
  SetSourceColor(cr_, color);
  int index = 0;
  for (GSList* l = lines; l; l = l->next, ++index) {
    auto* line = static_cast<PangoLayoutLine*>(l->data);
    const int lineTop = top + index * pitch;
    // As in an edit control, a last line that would show only in part is left out.
    if ((format & tf::kEditControl) && index > 0 && lineTop + pitch > rect.bottom) break;
    const int width = LineWidth(line);
    int x = rect.left;
    if (format & tf::kCenter)
      x = rect.left + (rect.width() - width) / 2;
    else if (format & tf::kRight)
      x = rect.right - width;
    cairo_move_to(cr_, x, lineTop + drawing->metrics().ascent);
    pango_cairo_show_layout_line(cr_, line);
    DrawUnderline(cr_, *drawing, x, lineTop + drawing->metrics().ascent, width);
  }
  cairo_restore(cr_);
}

}  // namespace platform
