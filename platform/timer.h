// A periodic timer of the user-interface thread. It ticks only while it is enabled, has a
// non-zero interval and a handler; changing any of them restarts the period, while setting
// a value it already holds leaves a running period undisturbed.
#pragma once

#include <windows.h>

#include "platform/object.h"
#include "platform/window.h"

namespace platform {

class TTimer : public TObject, private Window {
 public:
  TTimer();

  void SetEnabled(bool enabled);
  void SetInterval(UINT interval);
  void SetOnTimer(TNotifyEvent handler);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Restart();

  bool enabled_ = true;
  UINT interval_ = 1000;
  TNotifyEvent on_timer_;
};

}  // namespace platform
