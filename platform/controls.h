// Thin wrappers over the standard Win32 controls a form is built of; each method is one
// message to the control, and the control itself holds the state.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/layout.h"
#include "platform/object.h"
#include "platform/window.h"

namespace platform {

class TControl : public TObject {
 public:
  TControl(const ControlLayout& layout, HWND handle) : layout_(layout), handle_(handle) {}

  HWND Handle() const { return handle_; }
  const ControlLayout& Layout() const { return layout_; }

  std::string Text() const;

  // Performs a click: runs the click handler exactly as the user's click does.
  void Click();
  TNotifyEvent OnClick;

  // A WM_COMMAND notification from the control.
  virtual void Notify(WORD code);

 private:
  const ControlLayout& layout_;
  HWND handle_;
};

using TLabel = TControl;
using TButton = TControl;
using TEdit = TControl;
using TGroupBox = TControl;

class TMemo : public TControl {
 public:
  using TControl::TControl;
  // Appends one line at the end of the text, as the memo's line list does.
  void AppendLine(std::string_view line);
};

class TComboBox : public TControl {
 public:
  using TControl::TControl;
  void SetItemIndex(int index);
};

class TStatusBar : public TControl {
 public:
  using TControl::TControl;
  std::string PanelText(int panel) const;
  void SetPanelText(int panel, std::string_view text);
};

// A page of a tab control: a plain container that hands its children's notifications on
// to the form.
class TTabSheet : public Window, public TControl {
 public:
  TTabSheet(const ControlLayout& layout, HWND tab_control);
  using TControl::Handle;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  HWND Create(const ControlLayout& layout, HWND tab_control);
};

class TTabControl : public TControl {
 public:
  using TControl::TControl;
  void AddPage(TTabSheet& page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  void Notify(WORD code) override;  // tab selection changed

 private:
  std::vector<TTabSheet*> pages_;
};

// Sends a container's child notifications on to the top-level form, which dispatches them.
bool ForwardToForm(HWND container, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

}  // namespace platform
