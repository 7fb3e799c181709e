#include "ui/render/ImageItems.h"

#include "ui/core/AttributeValues.h"

namespace Vellum {

void ScanImageItems(std::wstring_view text,
                    const std::function<void(std::wstring_view keyword, std::wstring_view value)>& onItem) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < n && IsBlank(text[i])) ++i;
  };
  for (;;) {
    skipBlanks();
    if (i >= n) return;
    const std::size_t keywordStart = i;
    while (i < n && text[i] != L'=' && !IsBlank(text[i])) ++i;
    const std::wstring_view keyword = text.substr(keywordStart, i - keywordStart);
    skipBlanks();
    if (i >= n || text[i] != L'=') return;
    ++i;
    skipBlanks();
    if (i >= n || text[i] != L'\'') return;
    const std::size_t valueStart = ++i;
    while (i < n && text[i] != L'\'') ++i;
    if (i >= n) return;
    onItem(keyword, text.substr(valueStart, i - valueStart));
    ++i;
    if (i >= n || !IsBlank(text[i]) || i + 1 >= n) return;
  }
}

}  // namespace Vellum
