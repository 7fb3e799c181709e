#pragma once

#include <cstdint>
#include <span>

// The skin archive built into the program: "main.xml" at its root and the pictures under
// "picRes/". The bytes live as long as the program.
std::span<const std::uint8_t> EmbeddedSkinArchive();
