// The program's icon in the notification area.
#include "platform/cool_tray_icon.h"

#include <shlwapi.h>

#include <array>
#include <cstring>
#include <utility>

#include "platform/application.h"
#include "platform/blocking_wait.h"
#include "rtl/gbk.h"

namespace platform {
namespace {

constexpr char kClassName[] = "TernavoTrayIcon";

// Registered rather than WM_APP-based: the blocking wait defers it by number, for every window.
constexpr char kCallbackMessageName[] = "TernavoTrayIconNotice";

// The record without the fields of later shells (GUID, balloon icon), so every shell that
// shows balloons accepts it.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

constexpr std::array<DWORD, 5> kBalloonIcons = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR,
                                                NIIF_USER};

// Copies as much of `text` as the field holds with its closing zero, never half a character.
template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text) {
  const std::string_view kept = rtl::CutToWholeChars(text, N - 1);
  std::memcpy(field, kept.data(), kept.size());
  field[kept.size()] = '\0';
}

// A function looked up at run time, null where the module lacks it.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The shell announces a restarted taskbar only from common controls 4.71 on.
bool TaskbarAnnouncesRestart() {
  const HMODULE comctl = LoadLibraryA("comctl32.dll");
  if (!comctl) return false;
  bool announces = false;
  const auto get_version = LookUp<DLLGETVERSIONPROC>(comctl, "DllGetVersion");
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (get_version && SUCCEEDED(get_version(&info))) {
    announces = info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion >= 71);
  }
  (void)FreeLibrary(comctl);
  return announces;
}

// The program runs elevated, and Windows drops messages a less privileged process (the shell)
// sends to it unless the window lets them through. The filter calls exist from Vista on.
void LetShellMessageThrough(HWND hwnd, UINT message) {
  using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using Filter = BOOL(WINAPI*)(UINT, DWORD);
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  if (const auto filter_ex = LookUp<FilterEx>(user32, "ChangeWindowMessageFilterEx")) {
    (void)filter_ex(hwnd, message, MSGFLT_ALLOW, nullptr);
  } else if (const auto filter = LookUp<Filter>(user32, "ChangeWindowMessageFilter")) {
    (void)filter(message, MSGFLT_ADD);
  }
}

}  // namespace

TCoolTrayIcon::TCoolTrayIcon(Window& main_window, ShellNotifyCall shell)
    : main_window_(main_window), shell_(std::move(shell)) {
  RegisterClassOnce(kClassName);
  // Top-level though hidden: the shell's taskbar announcement is broadcast to top-level
  // windows only, never to message-only ones.
  WindowArgs args;
  args.class_name = kClassName;
  args.ex_style = WS_EX_TOOLWINDOW;
  args.style = WS_POPUP;
  args.x = args.y = args.width = args.height = 0;
  CreateHandle(args);

  callback_message_ = RegisterWindowMessageA(kCallbackMessageName);
  // The shell may send the icon's mouse notices; during a repair's wait they must wait too.
  DeferWhileBlockedAlso(callback_message_);

  if (TaskbarAnnouncesRestart()) {
    taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
    if (taskbar_created_) LetShellMessageThrough(Handle(), taskbar_created_);
  }

  main_window_.Watch(this, [this](UINT message, WPARAM wparam, LPARAM lparam) {
    // A direct show call (status 0), not a parent or a minimised owner coming back.
    if (message == WM_SHOWWINDOW && wparam && lparam == 0) BringMainWindowToFront();
  });
}

TCoolTrayIcon::~TCoolTrayIcon() {
  SetIconVisible(false);
  icon_.Reset();
  main_window_.Unwatch(this);
}

NOTIFYICONDATAA TCoolTrayIcon::Record() const {
  NOTIFYICONDATAA data{};
  data.cbSize = kRecordSize;
  data.hWnd = Handle();
  // The component names its icon; the window pairs with the id, so a 64-bit cut loses nothing.
  data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(this));
  data.uFlags = kIconFlags;
  data.uCallbackMessage = callback_message_;
  data.hIcon = icon_.Get();
  CopyField(data.szTip, hint_);
  return data;
}

BOOL TCoolTrayIcon::Notify(DWORD message, NOTIFYICONDATAA& data) const {
  return shell_ ? shell_(message, &data) : FALSE;
}

void TCoolTrayIcon::SetHint(std::string_view hint) {
  hint_ = hint;
  UpdateIfShown();
}

void TCoolTrayIcon::SetIcon(HICON icon) {
  icon_.Reset(icon ? CopyIcon(icon) : nullptr);
  UpdateIfShown();
}

void TCoolTrayIcon::UpdateIfShown() {
  if (!icon_visible_) return;
  NOTIFYICONDATAA data = Record();
  (void)Notify(NIM_MODIFY, data);
}

void TCoolTrayIcon::SetIconVisible(bool visible) {
  if (visible == icon_visible_) return;
  icon_visible_ = visible;
  NOTIFYICONDATAA data = Record();
  (void)Notify(visible ? NIM_ADD : NIM_DELETE, data);
}

bool TCoolTrayIcon::ShowBalloonNotice(std::string_view title, std::string_view text,
                                      std::uint8_t icon_kind, std::uint8_t timeout_seconds) {
  // A new notice replaces the one on screen at once; notices are never queued.
  HideBalloonNotice();
  NOTIFYICONDATAA data = Record();
  data.uFlags |= NIF_INFO;
  CopyField(data.szInfo, text);
  CopyField(data.szInfoTitle, title);
  data.dwInfoFlags = icon_kind < kBalloonIcons.size() ? kBalloonIcons[icon_kind] : NIIF_NONE;
  data.uTimeout = timeout_seconds * 1000u;
  // Every later update builds its record afresh without NIF_INFO, so the notice shows once.
  return Notify(NIM_MODIFY, data) != FALSE;
}

void TCoolTrayIcon::HideBalloonNotice() {
  // The shell takes a balloon down when it is sent an empty balloon text.
  NOTIFYICONDATAA data = Record();
  data.uFlags |= NIF_INFO;
  (void)Notify(NIM_MODIFY, data);
}

LRESULT TCoolTrayIcon::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == callback_message_ && callback_message_ != 0) {
    HandleMouse(static_cast<UINT>(lparam));
    return 0;
  }
  if (message == taskbar_created_ && taskbar_created_ != 0) {
    // The new taskbar knows no icons: put ours back, without the last balloon.
    if (icon_visible_) {
      NOTIFYICONDATAA data = Record();
      (void)Notify(NIM_ADD, data);
    }
    return 0;
  }
  return DefaultProc(message, wparam, lparam);
}

void TCoolTrayIcon::HandleMouse(UINT mouse_message) {
  switch (mouse_message) {
    case WM_LBUTTONDOWN:
      click_started_ = true;
      break;
    case WM_LBUTTONUP:
      // Only a release after a press is a click; the second press of a double click comes
      // as WM_LBUTTONDBLCLK and starts none, so a double click raises one click, undelayed.
      if (std::exchange(click_started_, false) && OnClick) OnClick(this);
      break;
    case WM_RBUTTONDOWN:
      if (PopupMenu) OpenPopupMenu();
      break;
  }
}

void TCoolTrayIcon::OpenPopupMenu() {
  // Without being in front, the menu would not close on a click elsewhere.
  (void)SetForegroundWindow(Handle());
  if (Application) Application->ProcessMessages();
  POINT at{};
  (void)GetCursorPos(&at);
  PopupMenu->Popup(at.x, at.y, Handle());
  // Lets the foreground switch settle, so the menu opens properly the next time.
  (void)PostMessageA(main_window_.Handle(), WM_NULL, 0, 0);
}

void TCoolTrayIcon::BringMainWindowToFront() {
  if (Application) (void)SetForegroundWindow(Application->Handle());
  (void)SetForegroundWindow(main_window_.Handle());
}

}  // namespace platform
