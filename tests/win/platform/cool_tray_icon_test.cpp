#include "platform/cool_tray_icon.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/application.h"
#include "platform/blocking_wait.h"
#include "repair/repair.h"
#include "support.h"

namespace {

using platform::TCoolTrayIcon;

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

struct ShellCall {
  DWORD message;
  NOTIFYICONDATAA data;
};

// A plain top-level window standing in for the main window.
class TestWindow : public platform::Window {
 public:
  explicit TestWindow(int left) {
    RegisterClassOnce("TernavoTestTrayOwner");
    platform::WindowArgs args;
    args.class_name = "TernavoTestTrayOwner";
    args.style = WS_OVERLAPPEDWINDOW;
    args.x = left;
    args.y = 100;
    args.width = 200;
    args.height = 120;
    CreateHandle(args);
  }
  ~TestWindow() override { DestroyHandle(); }
};

class TrayIcon : public testing::Test {
 protected:
  void SetUp() override { MakeTray(); }

  // A fresh component in place of the one there was.
  void MakeTray() {
    tray_.reset();
    tray_ = std::make_unique<TCoolTrayIcon>(main_, [this](DWORD message, NOTIFYICONDATAA* data) {
      calls_.push_back({message, *data});
      return shell_answer_;
    });
  }

  void ShowInTray() {
    tray_->SetHint("Ternavo");
    tray_->SetIcon(source_icon_);
    tray_->SetIconVisible(true);
    calls_.clear();
  }

  // The shell's notice of a mouse event on the icon, sent as the shell may send it.
  void Notice(UINT mouse_message) {
    (void)SendMessageA(tray_->Handle(), tray_->CallbackMessage(), 0, mouse_message);
  }

  static UINT TaskbarCreated() { return RegisterWindowMessageA("TaskbarCreated"); }

  platform::TApplication application_;
  TestWindow main_{100};
  const HICON source_icon_ = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  std::vector<ShellCall> calls_;
  BOOL shell_answer_ = TRUE;
  std::unique_ptr<TCoolTrayIcon> tray_;
};

TEST_F(TrayIcon, EntersTheTrayOnceWithTipImageAndNoticeMessage) {
  tray_->SetHint("Ternavo");
  tray_->SetIcon(source_icon_);
  EXPECT_TRUE(calls_.empty()) << "a change outside the tray reached the shell";

  tray_->SetIconVisible(true);
  tray_->SetIconVisible(true);
  ASSERT_EQ(calls_.size(), 1u) << "a second show reached the shell";
  const NOTIFYICONDATAA& add = calls_[0].data;
  EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(add.uFlags, kIconFlags);
  EXPECT_EQ(add.hWnd, tray_->Handle());
  EXPECT_EQ(add.uCallbackMessage, tray_->CallbackMessage());
  EXPECT_NE(add.uCallbackMessage, 0u);
  EXPECT_STREQ(add.szTip, "Ternavo");
  // The component holds a copy; the caller keeps its own icon.
  EXPECT_EQ(add.hIcon, tray_->Icon());
  EXPECT_NE(add.hIcon, nullptr);
  EXPECT_NE(add.hIcon, source_icon_);

  tray_->SetHint("新提示");
  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls_[1].data.uFlags, kIconFlags);
  EXPECT_STREQ(calls_[1].data.szTip, "新提示");

  tray_->SetIconVisible(false);
  ASSERT_EQ(calls_.size(), 3u);
  EXPECT_EQ(calls_[2].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls_[2].data.hWnd, add.hWnd);
  EXPECT_EQ(calls_[2].data.uID, add.uID);
}

// Each text field holds its limit in bytes; a two-byte character across the limit goes whole.
TEST_F(TrayIcon, TextFieldsAreCutAtTheirLimitOnAWholeCharacter) {
  ShowInTray();
  enum class Field { Tip, Title, Text };
  struct FieldCase {
    Field field;
    std::size_t limit;
  };
  const FieldCase fields[] = {{Field::Tip, 127}, {Field::Title, 63}, {Field::Text, 255}};
  for (const FieldCase& f : fields) {
    struct Cut {
      std::string given;
      std::string kept;
    };
    const std::string filler_to_limit(f.limit, 'a');
    const Cut cuts[] = {
        {std::string(f.limit - 1, 'a') + "提x", std::string(f.limit - 1, 'a')},
        {std::string(f.limit - 2, 'a') + "提x", std::string(f.limit - 2, 'a') + "提"},
        {filler_to_limit + "bcd", filler_to_limit},
        {"网络连接", "网络连接"},
    };
    for (const Cut& cut : cuts) {
      calls_.clear();
      std::string reached;
      switch (f.field) {
        case Field::Tip:
          tray_->SetHint(cut.given);
          ASSERT_FALSE(calls_.empty());
          reached = calls_.back().data.szTip;
          break;
        case Field::Title:
          (void)tray_->ShowBalloonNotice(cut.given, "text", 1, 10);
          ASSERT_FALSE(calls_.empty());
          reached = calls_.back().data.szInfoTitle;
          break;
        case Field::Text:
          (void)tray_->ShowBalloonNotice("title", cut.given, 1, 10);
          ASSERT_FALSE(calls_.empty());
          reached = calls_.back().data.szInfo;
          break;
      }
      EXPECT_EQ(reached, cut.kept) << "limit " << f.limit << ", " << cut.given.size() << " bytes given";
    }
  }
}

TEST_F(TrayIcon, BalloonReplacesTheOneOnScreenAndShowsOnlyOnce) {
  ShowInTray();
  EXPECT_TRUE(tray_->ShowBalloonNotice("提示", "网络连接自动修复已经开启.", 1, 10));

  ASSERT_EQ(calls_.size(), 2u);
  // First the clear: the balloon flag with an empty text.
  EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls_[0].data.uFlags, kIconFlags | NIF_INFO);
  EXPECT_STREQ(calls_[0].data.szInfo, "");
  // Then the notice, beside the message, icon and tip.
  const NOTIFYICONDATAA& shown = calls_[1].data;
  EXPECT_EQ(calls_[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shown.uFlags, kIconFlags | NIF_INFO);
  EXPECT_STREQ(shown.szInfoTitle, "提示");
  EXPECT_STREQ(shown.szInfo, "网络连接自动修复已经开启.");
  EXPECT_EQ(shown.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  EXPECT_EQ(shown.uTimeout, 10000u);
  EXPECT_STREQ(shown.szTip, "Ternavo");
  EXPECT_EQ(shown.hIcon, tray_->Icon());

  // Later updates leave the balloon alone.
  tray_->SetHint("Ternavo2");
  tray_->SetIcon(source_icon_);
  ASSERT_EQ(calls_.size(), 4u);
  EXPECT_EQ(calls_[2].data.uFlags, kIconFlags);
  EXPECT_EQ(calls_[3].data.uFlags, kIconFlags);
}

TEST_F(TrayIcon, BalloonIconKindAndTimeoutReachTheShellMapped) {
  ShowInTray();
  struct Case {
    std::uint8_t kind;
    std::uint8_t seconds;
    DWORD info_flags;
    UINT timeout_ms;
  };
  const Case cases[] = {
      {0, 0, NIIF_NONE, 0},         {1, 10, NIIF_INFO, 10000}, {2, 1, NIIF_WARNING, 1000},
      {3, 30, NIIF_ERROR, 30000}, {4, 255, NIIF_USER, 255000},
  };
  for (const Case& c : cases) {
    calls_.clear();
    (void)tray_->ShowBalloonNotice("t", "x", c.kind, c.seconds);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[1].data.dwInfoFlags, c.info_flags) << "kind " << int(c.kind);
    EXPECT_EQ(calls_[1].data.uTimeout, c.timeout_ms) << int(c.seconds) << " s";
  }
}

TEST_F(TrayIcon, BalloonResultIsWhetherTheShellTookTheNotice) {
  ShowInTray();
  for (const BOOL answer : {TRUE, FALSE}) {
    shell_answer_ = answer;
    EXPECT_EQ(tray_->ShowBalloonNotice("t", "x", 1, 10), answer != FALSE);
  }
}

TEST_F(TrayIcon, HidingTheBalloonSendsAnEmptyBalloonText) {
  ShowInTray();
  (void)tray_->ShowBalloonNotice("提示", "text", 1, 10);
  calls_.clear();

  tray_->HideBalloonNotice();
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls_[0].data.uFlags, kIconFlags | NIF_INFO);
  EXPECT_STREQ(calls_[0].data.szInfo, "");
}

// The announcement is broadcast to top-level windows; the icon comes back as it was, without
// the balloon, and only when it was in the tray.
TEST_F(TrayIcon, TaskbarRestartPutsTheIconBackWithoutTheBalloon) {
  ASSERT_NE(TaskbarCreated(), 0u);
  ShowInTray();
  (void)tray_->ShowBalloonNotice("提示", "text", 1, 10);
  for (const bool visible : {true, false}) {
    tray_->SetIconVisible(visible);
    calls_.clear();
    DWORD_PTR answer = 0;
    (void)SendMessageTimeoutA(HWND_BROADCAST, TaskbarCreated(), 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    if (!visible) {
      EXPECT_TRUE(calls_.empty()) << "an icon taken out came back";
      continue;
    }
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls_[0].data.uFlags, kIconFlags);
    EXPECT_STREQ(calls_[0].data.szTip, "Ternavo");
    EXPECT_EQ(calls_[0].data.hIcon, tray_->Icon());
  }
}

TEST_F(TrayIcon, FreeingTakesTheIconOutFirst) {
  for (const bool visible : {true, false}) {
    MakeTray();
    ShowInTray();
    tray_->SetIconVisible(visible);
    calls_.clear();
    tray_.reset();
    if (visible) {
      ASSERT_EQ(calls_.size(), 1u);
      EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_DELETE));
    } else {
      EXPECT_TRUE(calls_.empty());
    }
  }
  // Freed, it watches the main window no more: a show leaves the front alone.
  TestWindow other(400);
  (void)ShowWindow(other.Handle(), SW_SHOW);
  (void)SetForegroundWindow(other.Handle());
  wintest::PumpFor(50);
  ASSERT_EQ(GetForegroundWindow(), other.Handle());
  (void)ShowWindow(main_.Handle(), SW_SHOWNA);
  wintest::PumpFor(50);
  EXPECT_EQ(GetForegroundWindow(), other.Handle());
}

TEST_F(TrayIcon, ClickIsRaisedOnTheReleaseAfterAPress) {
  struct Case {
    const char* gesture;
    std::vector<UINT> notices;
    int clicks;
  };
  const Case cases[] = {
      {"press only", {WM_LBUTTONDOWN}, 0},
      {"click", {WM_LBUTTONDOWN, WM_LBUTTONUP}, 1},
      {"double click", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}, 1},
      {"two clicks", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}, 2},
      {"release only", {WM_LBUTTONUP}, 0},
      {"right click", {WM_RBUTTONDOWN, WM_RBUTTONUP}, 0},
      {"middle click and move", {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEMOVE}, 0},
  };
  for (const Case& c : cases) {
    MakeTray();
    ShowInTray();
    int clicks = 0;
    platform::TObject* sender = nullptr;
    tray_->OnClick = [&](platform::TObject* s) {
      ++clicks;
      sender = s;
    };
    for (const UINT notice : c.notices) Notice(notice);
    EXPECT_EQ(clicks, c.clicks) << c.gesture;
    if (clicks > 0) {
      EXPECT_EQ(sender, tray_.get()) << c.gesture;
    }
  }
}

// What the menu looked like while it was open; a timer run by the menu's own loop reads it.
struct OpenMenu {
  bool seen = false;
  RECT rect{};
  HWND foreground = nullptr;
};
OpenMenu g_open_menu;

void CALLBACK PickFirstItem(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu) || GetWindowThreadProcessId(menu, nullptr) != GetCurrentThreadId()) return;
  (void)KillTimer(nullptr, timer);
  g_open_menu.seen = true;
  (void)GetWindowRect(menu, &g_open_menu.rect);
  g_open_menu.foreground = GetForegroundWindow();
  (void)PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  (void)PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(TrayIcon, RightPressOpensTheMenuAtThePointerAndItsPickRunsAfterwards) {
  static constexpr std::array<platform::MenuItemLayout, 2> kItems = {{{"First", "显示窗口"}, {"Last", "退出程序"}}};
  platform::TPopupMenu menu(kItems);
  int picks = 0;
  menu.Item("First").OnClick = [&](platform::TObject*) { ++picks; };
  ShowInTray();
  tray_->PopupMenu = &menu;

  ASSERT_TRUE(SetCursorPos(300, 200));
  POINT pointer{};
  ASSERT_TRUE(GetCursorPos(&pointer));
  g_open_menu = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &PickFirstItem);
  ASSERT_NE(timer, 0u);
  Notice(WM_RBUTTONDOWN);
  (void)KillTimer(nullptr, timer);

  ASSERT_TRUE(g_open_menu.seen) << "no menu opened";
  EXPECT_EQ(g_open_menu.rect.left, pointer.x);
  EXPECT_EQ(g_open_menu.rect.top, pointer.y);
  EXPECT_EQ(g_open_menu.foreground, tray_->Handle()) << "the menu opened without its window in front";
  EXPECT_EQ(picks, 0) << "the pick ran inside the mouse notice";
  MSG null_message;
  EXPECT_TRUE(PeekMessageA(&null_message, main_.Handle(), WM_NULL, WM_NULL, PM_REMOVE))
      << "no null message waits for the main window";

  EXPECT_TRUE(wintest::PumpUntil([&] { return picks > 0; }, 5000));
  EXPECT_EQ(picks, 1);

  // The release opens nothing.
  g_open_menu = {};
  Notice(WM_RBUTTONUP);
  EXPECT_FALSE(PeekMessageA(&null_message, main_.Handle(), WM_NULL, WM_NULL, PM_REMOVE));
}

// A show by a direct call brings the application window, then the main window, to the front;
// a show for another reason, or a hide, leaves the front alone.
TEST_F(TrayIcon, DirectShowBringsTheMainWindowToTheFront) {
  TestWindow other(400);
  (void)ShowWindow(other.Handle(), SW_SHOW);
  std::vector<HWND> activated;
  const auto note_activation = [&](HWND hwnd) {
    return [&activated, hwnd](UINT message, WPARAM wparam, LPARAM) {
      if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) activated.push_back(hwnd);
    };
  };
  application_.Watch(this, note_activation(application_.Handle()));
  main_.Watch(this, note_activation(main_.Handle()));

  enum class Action { ShowCall, ParentOpening, HideNotice };
  struct Case {
    const char* name;
    Action action;
    bool to_front;
  };
  const Case cases[] = {
      {"show call", Action::ShowCall, true},
      {"owner coming back", Action::ParentOpening, false},
      {"hide", Action::HideNotice, false},
  };
  for (const Case& c : cases) {
    (void)ShowWindow(main_.Handle(), SW_HIDE);
    if (c.action != Action::ShowCall) {
      // Visible without a show notice, so that a wrong bring-to-front would show.
      (void)SetWindowPos(main_.Handle(), nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    (void)SetForegroundWindow(other.Handle());
    wintest::PumpFor(50);
    ASSERT_EQ(GetForegroundWindow(), other.Handle()) << c.name;
    activated.clear();

    switch (c.action) {
      case Action::ShowCall:
        // Shows without activating: only the component can bring it to the front.
        (void)ShowWindow(main_.Handle(), SW_SHOWNA);
        break;
      case Action::ParentOpening:
        (void)SendMessageA(main_.Handle(), WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
        break;
      case Action::HideNotice:
        (void)SendMessageA(main_.Handle(), WM_SHOWWINDOW, FALSE, 0);
        break;
    }
    wintest::PumpFor(50);
    if (c.to_front) {
      EXPECT_EQ(GetForegroundWindow(), main_.Handle()) << c.name;
      EXPECT_EQ(activated, (std::vector<HWND>{application_.Handle(), main_.Handle()})) << c.name;
    } else {
      EXPECT_EQ(GetForegroundWindow(), other.Handle()) << c.name;
      EXPECT_TRUE(activated.empty()) << c.name;
    }
  }
  application_.Unwatch(this);
  main_.Unwatch(this);
}

// The shell may send its notices. One sent during a repair's wait runs no handler there: it
// is handled from the queue once the wait is over.
TEST_F(TrayIcon, NoticeSentDuringABlockingWaitClicksAfterIt) {
  ShowInTray();
  int clicks = 0;
  int clicks_in_wait = 0;
  tray_->OnClick = [&](platform::TObject*) {
    ++clicks;
    clicks_in_wait += platform::InBlockingWait();
  };

  const HWND window = tray_->Handle();
  const UINT notice = tray_->CallbackMessage();
  std::atomic<bool> sent{false};
  std::thread shell([&] {
    DWORD_PTR answer = 0;
    // Answered only once the test thread reads sent messages, that is inside the wait.
    (void)SendMessageTimeoutA(window, notice, 0, WM_LBUTTONDOWN, SMTO_NORMAL, 20000, &answer);
    (void)SendMessageTimeoutA(window, notice, 0, WM_LBUTTONUP, SMTO_NORMAL, 20000, &answer);
    sent = true;
  });

  const std::string child = repair::QuotedForCommandLine(wintest::ChildPath()) + " 0 2000";
  EXPECT_EQ(repair::RunCommandWait(child, SW_HIDE), std::optional<DWORD>(0));
  EXPECT_EQ(clicks, 0) << "the click ran during the wait";
  EXPECT_TRUE(wintest::PumpUntil([&] { return sent.load(); }, 30000));
  shell.join();
  EXPECT_TRUE(sent.load()) << "the notices were not answered during the wait";

  EXPECT_TRUE(wintest::PumpUntil([&] { return clicks > 0; }, 5000));
  wintest::PumpFor(100);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(clicks_in_wait, 0);
}

}  // namespace
