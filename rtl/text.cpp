// Small text helpers shared by the platform layer.
#include "rtl/text.h"

namespace rtl {
namespace {

template <typename Line>
std::string Join(std::span<const Line> lines) {
  std::string text;
  for (const auto& line : lines) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

}  // namespace

std::string JoinLinesCrLf(std::span<const std::string> lines) { return Join(lines); }
std::string JoinLinesCrLf(std::span<const std::string_view> lines) { return Join(lines); }

}  // namespace rtl
