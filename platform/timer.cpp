// A periodic timer of the user-interface thread.
#include "platform/timer.h"

#include "platform/errors.h"
#include "rtl/error_text.h"

namespace platform {
namespace {

constexpr char kClassName[] = "TernavoTimer";
constexpr UINT_PTR kTimerId = 1;  // each timer has a window of its own, so one id does

}  // namespace

TTimer::TTimer() {
  RegisterClassOnce(kClassName);
  WindowArgs args;
  args.class_name = kClassName;
  args.x = args.y = args.width = args.height = 0;
  args.parent = HWND_MESSAGE;
  CreateHandle(args);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void TTimer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Restart();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  on_timer_ = std::move(handler);
  Restart();
}

void TTimer::Restart() {
  (void)KillTimer(Handle(), kTimerId);
  if (!enabled_ || interval_ == 0 || !on_timer_) return;
  if (!SetTimer(Handle(), kTimerId, interval_, nullptr)) {
    throw EOutOfResources(std::string(rtl::NotEnoughTimersText));
  }
}

LRESULT TTimer::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && wparam == kTimerId) {
    if (on_timer_) on_timer_(this);
    return 0;
  }
  return DefaultProc(message, wparam, lparam);
}

}  // namespace platform
