// The tray icon and the window's visibility, worked from outside as the user would: mouse
// events on the icon in explorer's taskbar, the icon's menu picked by keyboard, the window
// button, and a taskbar that restarts.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver.h"

namespace e2e {
namespace {

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// Menu entries as the keyboard reaches them from the top: separators are skipped.
constexpr int kShowMe = 2;
constexpr int kHideMe = 3;
constexpr int kCloseMe = 4;

HWND Taskbar() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

// Memory in explorer's process for a tooltip's tool record, whose text pointer is not copied
// between processes.
class ExplorerBuffer {
 public:
  ExplorerBuffer(DWORD pid, std::size_t size)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)), size_(size) {
    if (!process_) throw std::runtime_error("cannot open explorer's process");
    address_ = static_cast<char*>(VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!address_) throw std::runtime_error("no memory in explorer's process");
  }
  ExplorerBuffer(const ExplorerBuffer&) = delete;
  ExplorerBuffer& operator=(const ExplorerBuffer&) = delete;
  ~ExplorerBuffer() { (void)VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE); }

  char* At(std::size_t offset) const { return address_ + offset; }
  void Write(const void* data, std::size_t size) const {
    if (!WriteProcessMemory(process_.Get(), address_, data, size, nullptr)) throw std::runtime_error("cannot write");
  }
  std::vector<char> Read() const {
    std::vector<char> data(size_);
    if (!ReadProcessMemory(process_.Get(), address_, data.data(), size_, nullptr)) throw std::runtime_error("cannot read");
    return data;
  }

 private:
  UniqueHandle process_;
  std::size_t size_;
  char* address_ = nullptr;
};

// An icon of the notification area: its tooltip text, and where it sits in the taskbar.
struct TrayIcon {
  std::string tip;
  RECT rect;  // client coordinates of the taskbar
};

// The icons in the taskbar. Explorer gives each icon a tooltip of its own, owned by the
// taskbar, with one tool over the icon's place.
std::vector<TrayIcon> TrayIcons() {
  const HWND taskbar = Taskbar();
  if (!taskbar) return {};
  constexpr std::size_t kTextOffset = 1024;
  const ExplorerBuffer buffer(ProcessOf(taskbar), 4096);
  std::vector<TrayIcon> icons;
  HWND tooltip = nullptr;
  while ((tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr))) {
    if (GetWindow(tooltip, GW_OWNER) != taskbar) continue;
    if (GetWindowLongW(tooltip, GWL_STYLE) & TTS_BALLOON) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = reinterpret_cast<wchar_t*>(buffer.At(kTextOffset));
    buffer.Write(&tool, sizeof tool);
    DWORD_PTR found = 0;
    if (!SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(buffer.At(0)), SMTO_ABORTIFHUNG,
                             5000, &found) ||
        !found) {
      continue;
    }
    const std::vector<char> data = buffer.Read();
    std::copy_n(data.data(), sizeof tool, reinterpret_cast<char*>(&tool));
    // Explorer keeps the tooltip of an icon taken out, with no place in the taskbar.
    if (IsRectEmpty(&tool.rect)) continue;
    icons.push_back({Gbk(reinterpret_cast<const wchar_t*>(data.data() + kTextOffset)), tool.rect});
  }
  return icons;
}

std::optional<TrayIcon> IconWithTip(std::string_view tip) {
  for (const TrayIcon& icon : TrayIcons()) {
    if (icon.tip == tip) return icon;
  }
  return std::nullopt;
}

// Mouse messages posted to the taskbar at the icon reach the icon's owner as a real click would.
void MouseOnIcon(const TrayIcon& icon, std::initializer_list<UINT> messages) {
  const LPARAM at = MAKELPARAM((icon.rect.left + icon.rect.right) / 2, (icon.rect.top + icon.rect.bottom) / 2);
  for (const UINT message : messages) {
    const WPARAM keys = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? MK_LBUTTON
                        : message == WM_RBUTTONDOWN                               ? MK_RBUTTON
                                                                                  : 0;
    if (!PostMessageW(Taskbar(), message, keys, at)) throw std::runtime_error("cannot post to the taskbar");
  }
}

// The program's open popup menu, or nullptr.
HWND OpenMenu(DWORD pid) {
  for (HWND menu : TopLevelWindows(pid, L"#32768")) {
    if (IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

// Picks an entry of an open menu with the keyboard, as the user may.
void PickMenuEntry(HWND menu, int entry) {
  for (int step = 0; step < entry; ++step) (void)PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  (void)PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

bool HasToolWindowStyle(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Handles this thread's messages until done() holds; false when the deadline passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD deadline_ms = kDeadlineMs) {
  const ULONGLONG deadline = GetTickCount64() + deadline_ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) (void)DispatchMessageW(&msg);
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// What Wine's shell32 hands the taskbar with WM_COPYDATA (dwData: NIM_ADD, NIM_MODIFY,
// NIM_DELETE): the leading fields of the icon record, texts in UTF-16.
struct WineShellRecord {
  LONG hwnd;
  UINT id;
  UINT flags;
  UINT callback_message;
  WCHAR tip[128];
  DWORD state;
  DWORD state_mask;
  WCHAR info[256];
  UINT timeout;
  WCHAR info_title[64];
  DWORD info_flags;
};

struct ShellCall {
  ULONG_PTR message;
  WineShellRecord record;
};

// A newly started taskbar in front of explorer's: every program's shell calls come here while
// it lives. This thread must handle messages for it to hear them.
class StandInTaskbar {
 public:
  StandInTaskbar() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &StandInTaskbar::Proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"Shell_TrayWnd";
    (void)RegisterClassW(&window_class);
    // Topmost, so that a program looking for the taskbar by class finds this one first.
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, window_class.hInstance, nullptr);
    if (!hwnd_) throw std::runtime_error("cannot create the stand-in taskbar");
    (void)SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (Taskbar() != hwnd_) throw std::runtime_error("the stand-in taskbar is not the one found");
  }
  StandInTaskbar(const StandInTaskbar&) = delete;
  StandInTaskbar& operator=(const StandInTaskbar&) = delete;
  ~StandInTaskbar() { (void)DestroyWindow(hwnd_); }

  // Tells every top-level window that the taskbar has (re)started.
  static void AnnounceTaskbar() {
    (void)PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  }

  std::vector<ShellCall> calls;
  std::function<void()> on_call;  // runs while the caller waits for the answer

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<StandInTaskbar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data->cbData < sizeof(WineShellRecord)) return FALSE;
      ShellCall call{data->dwData, {}};
      std::copy_n(static_cast<const char*>(data->lpData), sizeof call.record, reinterpret_cast<char*>(&call.record));
      self->calls.push_back(call);
      if (self->on_call) self->on_call();
      return TRUE;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  HWND hwnd_ = nullptr;
};

class TrayTest : public TernavoTest {
 protected:
  void SetUp() override {
    TernavoTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NE(Taskbar(), nullptr) << "no taskbar: the desktop has no notification area";
    ASSERT_TRUE(WaitUntil([&] { return (icon_ = IconWithTip("Ternavo")).has_value(); }))
        << "no tray icon with the tooltip Ternavo";
  }

  void Hide() {
    Click(Control(row::Button1));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program().MainWindow()); })) << "the window did not hide";
  }

  HWND RightClickForMenu() {
    MouseOnIcon(*icon_, {WM_RBUTTONDOWN, WM_RBUTTONUP});
    HWND menu = nullptr;
    (void)WaitUntil([&] { return (menu = OpenMenu(program().Pid())) != nullptr; });
    return menu;
  }

  // The icon's record, as the program hands it to a taskbar that has just started.
  std::optional<WineShellRecord> RecordOnTaskbarStart() {
    StandInTaskbar stand_in;
    StandInTaskbar::AnnounceTaskbar();
    if (!PumpUntil([&] { return !stand_in.calls.empty(); })) return std::nullopt;
    return stand_in.calls.front().record;
  }

  std::optional<TrayIcon> icon_;
};

TEST_F(TrayTest, TooltipIsTheBareTitle) {
  EXPECT_EQ(icon_->tip, "Ternavo");
  EXPECT_EQ(TextOf(program().MainWindow()), "Ternavo1.0.20100528");
}

// Hide and show, from each way in: the taskbar button goes with the first hide for good, and
// the window comes back in front, at its place.
TEST_F(TrayTest, HiddenByButtonOrMenuAndBroughtBackByClickOrMenu) {
  enum class Way { Button, Menu };
  struct Case {
    const char* name;
    Way hide;
    Way show;
  };
  const Case cases[] = {
      {"button, then icon click", Way::Button, Way::Button},
      {"menu hide, then menu show", Way::Menu, Way::Menu},
  };
  const HWND main = program().MainWindow();
  const HWND app = program().AppWindow();
  ASSERT_NE(app, nullptr);
  RECT start{};
  ASSERT_TRUE(GetWindowRect(main, &start));
  EXPECT_TRUE(IsWindowVisible(app));
  EXPECT_FALSE(HasToolWindowStyle(app));

  for (const Case& c : cases) {
    if (c.hide == Way::Button) {
      Hide();
    } else {
      const HWND menu = RightClickForMenu();
      ASSERT_NE(menu, nullptr) << c.name << ": no menu";
      PickMenuEntry(menu, kHideMe);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << c.name << ": the window did not hide";
    }
    EXPECT_FALSE(IsWindowVisible(app)) << c.name;
    EXPECT_TRUE(HasToolWindowStyle(app)) << c.name;
    EXPECT_TRUE(IconWithTip("Ternavo")) << c.name << ": hiding took the icon away";

    if (c.show == Way::Button) {
      MouseOnIcon(*icon_, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    } else {
      const HWND menu = RightClickForMenu();
      ASSERT_NE(menu, nullptr) << c.name << ": no menu";
      PickMenuEntry(menu, kShowMe);
    }
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }))
        << c.name << ": the window did not come back in front";
    RECT now{};
    ASSERT_TRUE(GetWindowRect(main, &now));
    EXPECT_TRUE(SameRect(start, now)) << c.name;
    EXPECT_FALSE(IsWindowVisible(app)) << c.name << ": the taskbar button came back";
    EXPECT_TRUE(HasToolWindowStyle(app)) << c.name;
  }
}

TEST_F(TrayTest, ClickBeforeAnyHideKeepsTheTaskbarButton) {
  const HWND main = program().MainWindow();
  const HWND app = program().AppWindow();
  // Another window in front, so that the click's end shows as the main window coming to the front.
  const HWND other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  (void)SetForegroundWindow(other);
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));

  MouseOnIcon(*icon_, {WM_LBUTTONDOWN, WM_LBUTTONUP});
  const bool in_front = PumpUntil([&] { return GetForegroundWindow() == main; });
  (void)DestroyWindow(other);
  ASSERT_TRUE(in_front) << "the window did not come to the front";
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(IsWindowVisible(app));
  EXPECT_FALSE(HasToolWindowStyle(app));
}

// The right button opens the menu with the program in front, so that it closes on a click
// elsewhere; a left click opens no menu.
TEST_F(TrayTest, RightButtonOpensTheMenuLeftButtonDoesNot) {
  MouseOnIcon(*icon_, {WM_LBUTTONDOWN, WM_LBUTTONUP});
  Sleep(300);
  EXPECT_EQ(OpenMenu(program().Pid()), nullptr);

  const HWND menu = RightClickForMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ProcessOf(GetForegroundWindow()), program().Pid());
  (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return OpenMenu(program().Pid()) == nullptr; }));
  EXPECT_TRUE(program().Running());
}

// Closing from the tray while the window is hidden ends the program cleanly, icon and all.
TEST_F(TrayTest, ExitFromTheMenuWhileHiddenEndsWithZeroAndNoIconLeft) {
  Hide();
  const HWND menu = RightClickForMenu();
  ASSERT_NE(menu, nullptr);
  PickMenuEntry(menu, kCloseMe);
  const auto exit_code = program().WaitForExit();
  ASSERT_TRUE(exit_code) << "the program did not end";
  EXPECT_EQ(*exit_code, 0u);
  ASSERT_NE(Taskbar(), nullptr);
  EXPECT_FALSE(IconWithTip("Ternavo")) << "a dead icon was left in the tray";
}

TEST_F(TrayTest, ClosingTheWindowTakesTheIconAway) {
  ASSERT_TRUE(PostMessageW(program().MainWindow(), WM_CLOSE, 0, 0));
  ASSERT_EQ(program().WaitForExit(), 0u);
  ASSERT_NE(Taskbar(), nullptr);
  EXPECT_FALSE(IconWithTip("Ternavo"));
}

// A restarted taskbar knows no icons until their programs add them again.
TEST_F(TrayTest, IconComesBackWhenTheTaskbarStartsAgain) {
  // A taskbar of the test's own hears the program add its icon, as it was and without a balloon.
  const std::optional<WineShellRecord> added = RecordOnTaskbarStart();
  ASSERT_TRUE(added) << "the program added no icon to the new taskbar";
  EXPECT_EQ(added->flags, kIconFlags);
  EXPECT_STREQ(added->tip, L"Ternavo");
  const auto owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(added->hwnd));
  EXPECT_EQ(ProcessOf(owner), program().Pid());

  // Explorer's own taskbar: the icon taken out, then the announcement brings it back.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = owner;
  icon.uID = added->id;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_TRUE(WaitUntil([] { return !IconWithTip("Ternavo"); }));
  StandInTaskbar::AnnounceTaskbar();
  EXPECT_TRUE(WaitUntil([] { return IconWithTip("Ternavo").has_value(); })) << "the icon did not come back";
}

// The minimise button takes a balloon down before it hides the window.
TEST_F(TrayTest, MinimiseClearsTheBalloonFirst) {
  StandInTaskbar stand_in;
  bool visible_at_first_call = false;
  stand_in.on_call = [&] {
    if (stand_in.calls.size() == 1) visible_at_first_call = IsWindowVisible(program().MainWindow()) != FALSE;
  };
  Click(Control(row::Button1));
  ASSERT_TRUE(PumpUntil([&] { return !stand_in.calls.empty() && !IsWindowVisible(program().MainWindow()); }));
  (void)PumpUntil([] { return false; }, 200);  // room for a call that should not come

  ASSERT_EQ(stand_in.calls.size(), 1u);
  EXPECT_EQ(stand_in.calls[0].message, static_cast<ULONG_PTR>(NIM_MODIFY));
  EXPECT_EQ(stand_in.calls[0].record.flags, kIconFlags | NIF_INFO);
  EXPECT_STREQ(stand_in.calls[0].record.info, L"");
  EXPECT_TRUE(visible_at_first_call) << "the balloon was cleared after the window hid";
}

// On explorer's taskbar: a balloon on screen at the icon disappears when the window is
// minimised. Explorer shows a balloon about two seconds after it is asked for.
TEST_F(TrayTest, BalloonOnScreenGoesWithTheMinimiseButton) {
  const std::optional<WineShellRecord> record = RecordOnTaskbarStart();
  ASSERT_TRUE(record);
  NOTIFYICONDATAW balloon{};
  balloon.cbSize = sizeof balloon;
  balloon.hWnd = reinterpret_cast<HWND>(static_cast<LONG_PTR>(record->hwnd));
  balloon.uID = record->id;
  balloon.uFlags = NIF_INFO;
  lstrcpynW(balloon.szInfoTitle, Wide("提示").c_str(), ARRAYSIZE(balloon.szInfoTitle));
  lstrcpynW(balloon.szInfo, Wide("网络连接自动修复已经开启.").c_str(), ARRAYSIZE(balloon.szInfo));
  balloon.dwInfoFlags = NIIF_INFO;
  balloon.uTimeout = 30000;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &balloon));

  const auto balloon_window = [] {
    for (HWND tooltip : TopLevelWindows(ProcessOf(Taskbar()), TOOLTIPS_CLASSW)) {
      if ((GetWindowLongW(tooltip, GWL_STYLE) & TTS_BALLOON) && IsWindowVisible(tooltip)) return tooltip;
    }
    return HWND{};
  };
  ASSERT_TRUE(WaitUntil([&] { return balloon_window() != nullptr; })) << "explorer showed no balloon";
  Click(Control(row::Button1));
  EXPECT_TRUE(WaitUntil([&] { return balloon_window() == nullptr; })) << "the balloon stayed";
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(program().MainWindow()); }));
}

// Explorer sends the icon's mouse notices. One that arrives while a repair waits for its batch
// runs nothing then: the menu opens once the repair is over.
class TrayDuringRepairTest : public TrayTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tool_.Planted()) << "cannot plant the slow tool";
    TrayTest::SetUp();
  }

  SlowTool tool_;
};

TEST_F(TrayDuringRepairTest, RightClickDuringTheRepairOpensTheMenuAfterIt) {
  const auto repair_over = [&] {
    const std::vector<std::string> log = program().MemoLines();
    return std::any_of(log.begin(), log.end(), [](const std::string& line) { return line.starts_with(kSuccessLine); });
  };
  Click(Control(row::ButtonNetRepair));
  ASSERT_TRUE(WaitUntil([&] { return tool_.Notes("start") >= 1; })) << "the batch did not run the planted tool";

  MouseOnIcon(*icon_, {WM_RBUTTONDOWN, WM_RBUTTONUP});
  // The log is read after the menu: a menu seen before the outcome line opened during the wait.
  bool opened_in_wait = false;
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    menu = OpenMenu(program().Pid());
    const bool over = repair_over();
    opened_in_wait = opened_in_wait || (menu && !over);
    return menu != nullptr;
  })) << "the right click got lost";
  EXPECT_FALSE(opened_in_wait) << "the menu opened while the repair waited for its batch";
  (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return OpenMenu(program().Pid()) == nullptr; }));
}

}  // namespace
}  // namespace e2e
