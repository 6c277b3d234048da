// The program's icon in the notification area: tooltip, image, balloon notices, a click
// event and a popup menu on the right button, kept in the tray across taskbar restarts.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/handles.h"
#include "platform/object.h"
#include "platform/popup_menu.h"
#include "platform/window.h"

namespace platform {

// Shell_NotifyIconA, or a stand-in that records the calls.
using ShellNotifyCall = std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)>;

class TCoolTrayIcon : public TObject, private Window {
 public:
  // `main_window` is watched: when it is shown by a direct show call, it is brought to the front.
  explicit TCoolTrayIcon(Window& main_window, ShellNotifyCall shell = &Shell_NotifyIconA);
  // Takes the icon out of the tray before anything else.
  ~TCoolTrayIcon() override;

  // The hidden window the shell sends the icon's notices to, and the message it sends.
  using Window::Handle;
  UINT CallbackMessage() const { return callback_message_; }

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string_view hint);
  HICON Icon() const { return icon_.Get(); }
  // Keeps a copy of `icon`; the caller keeps its own.
  void SetIcon(HICON icon);
  bool IconVisible() const { return icon_visible_; }
  void SetIconVisible(bool visible);

  // Replaces any balloon on screen. `icon_kind` 0..4: none, information, warning, error,
  // user icon. True when the shell took the update.
  bool ShowBalloonNotice(std::string_view title, std::string_view text, std::uint8_t icon_kind,
                         std::uint8_t timeout_seconds);
  void HideBalloonNotice();

  TPopupMenu* PopupMenu = nullptr;  // opened by the right button
  TNotifyEvent OnClick;             // a left click, raised on the button's release

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  NOTIFYICONDATAA Record() const;
  BOOL Notify(DWORD message, NOTIFYICONDATAA& data) const;
  // Hands a new tooltip or image to the shell while the icon is in the tray.
  void UpdateIfShown();
  void HandleMouse(UINT mouse_message);
  void OpenPopupMenu();
  void BringMainWindowToFront();

  Window& main_window_;
  ShellNotifyCall shell_;
  UINT callback_message_ = 0;
  UINT taskbar_created_ = 0;  // 0 where the shell never announces a restart
  std::string hint_;
  UniqueIcon icon_;
  bool icon_visible_ = false;
  bool click_started_ = false;
};

}  // namespace platform
