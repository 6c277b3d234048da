// Where every error that reaches a way in from Windows ends up: the default error display.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Receives the message of an error that escaped a handler. The application installs one
// that shows the error box; tests install recorders.
using ErrorSink = std::function<void(const std::string& message)>;
ErrorSink SetErrorSink(ErrorSink sink);

// Hands the exception in flight to the sink. Call only inside a catch block; never throws.
void ReportCurrentException() noexcept;

// The error box: caption `title`, error icon, OK button, the message with its closing full stop.
void ShowErrorBox(HWND owner, const std::string& title, std::string_view message);

// Runs `fn`, stopping any exception at this frame; for every entry from Windows into our code.
template <typename Fn>
bool Guarded(Fn&& fn) noexcept {
  try {
    fn();
    return true;
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

}  // namespace platform
