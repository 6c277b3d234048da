// The texts of the errors the program can raise, and how the error display finishes them.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

inline constexpr std::string_view StreamWriteErrorText = "Stream write error";
inline constexpr std::string_view NotEnoughTimersText = "Not enough timers available";

// "Cannot create file "<path>". <reason>"
std::string CannotCreateFileText(std::string_view path, std::string_view reason);

// "'<text>' is not a valid integer value"
std::string InvalidIntegerText(std::string_view text);

// The system's text for an error code loses its trailing blanks, control characters and full
// stops (ASCII or ideographic), so that it reads as a clause inside another message.
std::string TrimSystemMessage(std::string_view message);

// The error display adds a full stop when the message is not empty and its last character
// sorts after the full stop; "...denied" gains one, "...)" or "....!" do not.
std::string WithClosingFullStop(std::string_view message);

}  // namespace rtl
