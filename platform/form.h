// A top-level window built from its stored layout: the controls, the font, the fixed size,
// the first position, the focus order and the routing of control notifications.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/controls.h"
#include "platform/handles.h"
#include "platform/layout.h"
#include "platform/object.h"
#include "platform/window.h"

namespace platform {

class TForm : public Window, public TObject {
 public:
  explicit TForm(const FormLayout& layout) : layout_(layout) {}

  // Builds the window and every control of the layout, then raises OnCreate.
  void Create();
  // Raises OnDestroy, then destroys the window with its controls.
  void Destroy();

  void Show();
  void Close();  // closing the main form ends the application

  std::string Caption() const;
  void SetCaption(std::string_view caption);
  HICON Icon() const { return icon_.Get(); }

  // Tab and Shift+Tab move the focus along the layout's focus order.
  bool HandleDialogKey(const MSG& msg);

  template <typename Control>
  Control& Find(std::string_view name) const {
    return static_cast<Control&>(*by_name_.at(name));
  }

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

 protected:
  // Called once every control of the layout exists, before OnCreate: the place for a form
  // to bind its controls and create its non-visual components.
  virtual void Loaded() {}
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateFormFont();
  void CreateControl(const ControlLayout& layout);
  std::unique_ptr<TControl> MakeControl(const ControlLayout& layout, HWND parent);
  void BuildFocusOrder(std::string_view parent);
  TControl* ControlOf(HWND hwnd) const;
  void PlaceAtDesktopCentre();

  const FormLayout& layout_;
  UniqueFont font_;
  UniqueIcon icon_;
  UniqueIcon small_icon_;
  std::vector<std::unique_ptr<TControl>> controls_;
  std::unordered_map<std::string_view, TControl*> by_name_;
  std::unordered_map<HWND, TControl*> by_handle_;
  std::vector<TControl*> focus_order_;
  bool placed_ = false;
};

}  // namespace platform
