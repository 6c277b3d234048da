// What the idle main window costs: status-bar redraws and messages the program wakes up for,
// per minute, counted inside the process.
//   idle_bench [seconds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/application.h"
#include "ui/Unit1.h"

namespace {

int g_bar_paints = 0;
int g_messages = 0;
int g_ticks = 0;
WNDPROC g_bar_proc = nullptr;

LRESULT CALLBACK CountPaints(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) ++g_bar_paints;
  return CallWindowProcA(g_bar_proc, hwnd, message, wparam, lparam);
}

LRESULT CALLBACK CountMessages(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    ++g_messages;
    if (reinterpret_cast<const MSG*>(lparam)->message == WM_TIMER) ++g_ticks;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  platform::TApplication application;
  application.SetTitle("Ternavo");
  ui::TForm1& form = application.CreateForm<ui::TForm1>();
  (void)ShowWindow(form.Handle(), SW_SHOW);

  const HWND bar = form.StatusBar1->Handle();
  g_bar_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints)));
  const HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &CountMessages, nullptr, GetCurrentThreadId());
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  while (GetTickCount64() < end) {
    application.ProcessMessages();
    (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  (void)UnhookWindowsHookEx(hook);
  (void)SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_bar_proc));

  const double per_minute = 60.0 / seconds;
  std::printf("idle for %d s, per minute: %.0f status-bar redraws, %.0f clock ticks, %.0f messages handled\n", seconds,
              g_bar_paints * per_minute, g_ticks * per_minute, g_messages * per_minute);
  return 0;
}
