// Small text helpers shared by the platform layer.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace rtl {

// Every line followed by CR LF, the last one included: the form text files are saved in.
std::string JoinLinesCrLf(std::span<const std::string> lines);
std::string JoinLinesCrLf(std::span<const std::string_view> lines);

}  // namespace rtl
