// A popup menu built from a table of items. A pick is posted as a command and runs its
// item's click handler from the message queue, like any other input.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "platform/object.h"
#include "platform/window.h"

namespace platform {

struct MenuItemLayout {
  std::string_view name;
  std::string_view caption;  // "-" is a separator line
};

class TMenuItem : public TObject {
 public:
  TMenuItem(const MenuItemLayout& layout, UINT id) : layout_(layout), id_(id) {}

  const MenuItemLayout& Layout() const { return layout_; }
  UINT Id() const { return id_; }
  // Performs a click: runs the handler, as picking the item does, while the item is enabled.
  void Click();
  TNotifyEvent OnClick;

 private:
  const MenuItemLayout& layout_;
  UINT id_;
  bool enabled_ = true;
};

class TPopupMenu : public TObject, private Window {
 public:
  explicit TPopupMenu(std::span<const MenuItemLayout> items);

  TMenuItem& Item(std::string_view name) const;
  HMENU Menu() const { return menu_.Get(); }

  // Opens the menu at a screen point and returns when it has closed. `owner` must be the
  // foreground window for the menu to close on a click elsewhere.
  void Popup(int x, int y, HWND owner);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  UniqueMenu menu_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace platform
