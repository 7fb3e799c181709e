#pragma once

#include <functional>
#include <string_view>

namespace Vellum {

// Reads the items of an image attribute text: keyword = 'value', separated by blanks. Scanning
// ends at the first item that is not well formed (items already read stay read) and after an item
// that is not followed by a blank and more text. onItem gets every well-formed item in order,
// empty values included.
void ScanImageItems(std::wstring_view text,
                    const std::function<void(std::wstring_view keyword, std::wstring_view value)>& onItem);

}  // namespace Vellum
