// The status bar's clock inside a running main window: its panels, its redraws and how it
// follows a change of the user's regional settings.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/application.h"
#include "platform/format_settings.h"
#include "tests/win/support.h"
#include "ui/Unit1.h"

namespace {

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application_.SetTitle("Ternavo");
    form_ = &application_.CreateForm<ui::TForm1>();
    ShowWindow(form_->Handle(), SW_SHOW);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !Clock().empty(); }, 10000)) << "no tick came";
  }

  // Tests put the user's values back; the next test starts from them.
  void TearDown() override { platform::RereadFormatSettings(); }

  std::string Clock() const { return form_->StatusBar1->PanelText(1); }
  HWND Bar() const { return form_->StatusBar1->Handle(); }

  platform::TApplication application_;
  ui::TForm1* form_ = nullptr;
};

// Sets regional values for this test and puts the old ones back afterwards.
class RegionalValue {
 public:
  RegionalValue(LCTYPE item, const char* value) : item_(item) {
    char old[80] = {};
    (void)GetLocaleInfoA(LOCALE_USER_DEFAULT, item, old, sizeof old);
    old_ = old;
    EXPECT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, item, value));
  }
  ~RegionalValue() { (void)SetLocaleInfoA(LOCALE_USER_DEFAULT, item_, old_.c_str()); }

 private:
  LCTYPE item_;
  std::string old_;
};

TEST_F(ClockTest, PanelsEndAt200AndAtTheRightEdgeWithoutGrip) {
  int edges[4] = {};
  ASSERT_EQ(SendMessageA(Bar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], 200);
  EXPECT_EQ(edges[1], -1);  // the last panel reaches the edge whatever its declared width

  RECT clock{}, client{};
  ASSERT_TRUE(SendMessageA(Bar(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&clock)));
  GetClientRect(Bar(), &client);
  EXPECT_GE(clock.right, client.right - 2);
  EXPECT_FALSE(GetWindowLongA(Bar(), GWL_STYLE) & SBARS_SIZEGRIP);
  // The bar keeps the system's status-bar font, not the window's.
  EXPECT_NE(SendMessageA(Bar(), WM_GETFONT, 0, 0), SendMessageA(form_->Button1->Handle(), WM_GETFONT, 0, 0));
}

// Counts the status bar's paints.
int g_paints = 0;
WNDPROC g_bar_proc = nullptr;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) ++g_paints;
  return CallWindowProcA(g_bar_proc, hwnd, message, wparam, lparam);
}

TEST_F(ClockTest, AnUnchangedTextCausesNoRedraw) {
  g_bar_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(Bar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  form_->Timer->SetEnabled(false);  // only this test writes the bar now
  wintest::PumpFor(300);

  const std::string state = form_->StatusBar1->PanelText(0);
  g_paints = 0;
  form_->StatusBar1->SetPanelText(0, state);
  wintest::PumpFor(300);
  EXPECT_EQ(g_paints, 0);

  form_->StatusBar1->SetPanelText(0, state + "!");
  wintest::PumpFor(300);
  EXPECT_GE(g_paints, 1);
  SetWindowLongPtrA(Bar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_bar_proc));
}

TEST_F(ClockTest, NextTickAfterTheSettingsBroadcastUsesTheNewFormats) {
  // The time picture sets the separator, the 12-hour clock, the hour's leading zero and
  // the designator's place at once, as the regional settings dialog does.
  RegionalValue picture(LOCALE_STIMEFORMAT, "h#mm#ss tt");
  RegionalValue am(LOCALE_S1159, "AMX");
  RegionalValue pm(LOCALE_S2359, "PMX");

  // Formats are held until Windows says they changed.
  wintest::PumpFor(1200);
  EXPECT_EQ(Clock().find('#'), std::string::npos) << Clock();

  SendMessageA(application_.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  ASSERT_TRUE(wintest::PumpUntil([&] { return Clock().find('#') != std::string::npos; }, 5000)) << Clock();
  const std::string text = Clock();
  const bool designator_last = text.ends_with(" AMX") || text.ends_with(" PMX");
  EXPECT_TRUE(designator_last) << text;
  EXPECT_EQ(text.find(" 0"), std::string::npos) << "no leading zero asked for: " << text;

  {
    RegionalValue before(LOCALE_STIMEFORMAT, "tt hh#mm#ss");
    SendMessageA(application_.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return Clock().find(" AMX ") != std::string::npos || Clock().find(" PMX ") != std::string::npos; },
        5000))
        << Clock();
  }
}

}  // namespace
