// A popup menu built from a table of items.
#include "platform/popup_menu.h"

#include <stdexcept>
#include <string>

namespace platform {
namespace {

constexpr char kClassName[] = "TernavoPopupList";
constexpr UINT kFirstItemId = 100;

}  // namespace

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(std::span<const MenuItemLayout> items) : menu_(CreatePopupMenu()) {
  RegisterClassOnce(kClassName);
  WindowArgs args;
  args.class_name = kClassName;
  args.x = args.y = args.width = args.height = 0;
  args.parent = HWND_MESSAGE;
  CreateHandle(args);

  for (const MenuItemLayout& layout : items) {
    const UINT id = kFirstItemId + static_cast<UINT>(items_.size());
    const std::string caption(layout.caption);
    if (layout.caption == "-") {
      (void)AppendMenuA(menu_.Get(), MF_SEPARATOR, id, nullptr);
    } else {
      (void)AppendMenuA(menu_.Get(), MF_STRING, id, caption.c_str());
    }
    items_.push_back(std::make_unique<TMenuItem>(layout, id));
  }
}

TMenuItem& TPopupMenu::Item(std::string_view name) const {
  for (const auto& item : items_) {
    if (item->Layout().name == name) return *item;
  }
  throw std::out_of_range("no menu item " + std::string(name));
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  const UINT id = static_cast<UINT>(TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                   x, y, 0, owner, nullptr));
  if (id != 0) (void)PostMessageA(Handle(), WM_COMMAND, id, 0);
}

LRESULT TPopupMenu::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    for (const auto& item : items_) {
      if (item->Id() == LOWORD(wparam)) item->Click();
    }
    return 0;
  }
  return DefaultProc(message, wparam, lparam);
}

}  // namespace platform
