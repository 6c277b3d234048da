// Unit_Function: the plain routine that takes the program's button off the taskbar.
#include "platform/Unit_Function.h"

#include <windows.h>

#include "platform/application.h"

namespace platform {

void HideAppTaskbarButton() {
  const HWND window = Application->Handle();
  (void)ShowWindow(window, SW_HIDE);
  // The hide takes the button away; the tool-window style, set after it, keeps it away
  // whenever the window is shown again.
  (void)SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
}

}  // namespace platform
