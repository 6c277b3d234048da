// Byte-level handling of GBK (code page 936) text.
#include "rtl/gbk.h"

namespace rtl {

std::string_view CutToWholeChars(std::string_view text, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width =
        IsGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > max_bytes) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace rtl
