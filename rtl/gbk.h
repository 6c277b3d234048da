// Byte-level handling of GBK (code page 936) text, where a Chinese character takes two bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace rtl {

constexpr bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The longest prefix of `text` of at most `max_bytes` bytes that ends on a whole character,
// so that cutting a field to its byte limit never leaves half a character behind.
std::string_view CutToWholeChars(std::string_view text, std::size_t max_bytes);

}  // namespace rtl
