#include "platform/Unit_Function.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/application.h"

namespace {

// The taskbar drops the button when the window hides; the style that keeps it away comes
// after, and touches no other bit.
TEST(HideAppTaskbarButton, HidesTheApplicationWindowThenMakesItAToolWindow) {
  platform::TApplication application;
  const HWND window = application.Handle();
  (void)ShowWindow(window, SW_SHOWNOACTIVATE);
  const LONG before = GetWindowLongA(window, GWL_EXSTYLE);
  ASSERT_EQ(before & WS_EX_TOOLWINDOW, 0);

  std::vector<std::string> seen;
  application.Watch(&seen, [&](UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_SHOWWINDOW && !wparam) seen.push_back("hidden");
    if (message == WM_STYLECHANGED && static_cast<int>(wparam) == GWL_EXSTYLE) seen.push_back("tool window");
  });
  platform::HideAppTaskbarButton();
  application.Unwatch(&seen);

  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), before | WS_EX_TOOLWINDOW);
  EXPECT_EQ(seen, (std::vector<std::string>{"hidden", "tool window"}));
}

}  // namespace
