#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ui/xml/SkinXml.h"

namespace Vellum {

// The bytes of a skin file as NUL-terminated wide text. UTF-8 may begin with a byte-order mark;
// invalid sequences become U+FFFD. UTF-16 must begin with a byte-order mark, else there is no
// text; an odd last byte is dropped and an unpaired surrogate becomes U+FFFD.
std::optional<std::vector<wchar_t>> SkinBytesToText(std::span<const std::uint8_t> bytes, SkinTextEncoding encoding);

}  // namespace Vellum
