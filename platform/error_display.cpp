// Where every error that reaches a way in from Windows ends up: the default error display.
#include "platform/error_display.h"

#include <utility>

#include "rtl/error_text.h"

namespace platform {
namespace {

ErrorSink& Sink() {
  static ErrorSink sink = [](const std::string& message) { ShowErrorBox(nullptr, "", message); };
  return sink;
}

}  // namespace

ErrorSink SetErrorSink(ErrorSink sink) { return std::exchange(Sink(), std::move(sink)); }

void ReportCurrentException() noexcept {
  try {
    std::string message;
    try {
      throw;
    } catch (const std::exception& e) {
      message = e.what();
    } catch (...) {
      message = "Unknown error";
    }
    if (Sink()) Sink()(message);
  } catch (...) {
    // The display itself failed (out of memory); nothing sensible is left to tell the user.
  }
}

void ShowErrorBox(HWND owner, const std::string& title, std::string_view message) {
  const std::string text = rtl::WithClosingFullStop(message);
  (void)MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace platform
