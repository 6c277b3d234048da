// The texts of the errors the program can raise, and how the error display finishes them.
#include "rtl/error_text.h"

#include "rtl/gbk.h"

namespace rtl {
namespace {

// GBK's ideographic full stop.
constexpr std::string_view IdeographicFullStop = "\xA1\xA3";

// Where the last character of GBK text begins; text.size() when it is empty.
std::size_t LastCharStart(std::string_view text) {
  std::size_t start = text.size();
  for (std::size_t i = 0; i < text.size();) {
    start = i;
    i += IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return start;
}

}  // namespace

std::string CannotCreateFileText(std::string_view path, std::string_view reason) {
  std::string text = "Cannot create file \"";
  text.append(path);
  text.append("\". ");
  text.append(reason);
  return text;
}

std::string InvalidIntegerText(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message.append("' is not a valid integer value");
  return message;
}

std::string TrimSystemMessage(std::string_view message) {
  while (!message.empty()) {
    const std::size_t last = LastCharStart(message);
    const std::string_view tail = message.substr(last);
    const bool trimmable = tail == IdeographicFullStop ||
                           (tail.size() == 1 && (static_cast<unsigned char>(tail[0]) <= ' ' ||
                                                 tail[0] == '.'));
    if (!trimmable) break;
    message = message.substr(0, last);
  }
  return std::string(message);
}

std::string WithClosingFullStop(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text.push_back('.');
  return text;
}

}  // namespace rtl
