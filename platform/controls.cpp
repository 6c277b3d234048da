// Thin wrappers over the standard Win32 controls a form is built of.
#include "platform/controls.h"

#include <commctrl.h>

namespace platform {

std::string TControl::Text() const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Notify(WORD code) {
  if (code == BN_CLICKED && layout_.kind == ControlKind::Button) Click();
  if (code == STN_CLICKED && layout_.kind == ControlKind::Label) Click();
}

void TMemo::AppendLine(std::string_view line) {
  std::string text;
  // Like the line list, an unfinished last line is ended before the new one starts.
  if (const std::string current = Text(); !current.empty() && !current.ends_with("\r\n")) {
    text = "\r\n";
  }
  text.append(line);
  text.append("\r\n");
  const int end = GetWindowTextLengthW(Handle());  // selections count characters, not bytes
  (void)SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
  (void)SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TComboBox::SetItemIndex(int index) {
  (void)SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TStatusBar::PanelText(int panel) const {
  const auto length = LOWORD(SendMessageA(Handle(), SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  (void)SendMessageA(Handle(), SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

void TStatusBar::SetPanelText(int panel, std::string_view text) {
  // The same text again would only make the bar redraw.
  if (PanelText(panel) == text) return;
  (void)SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(panel),
                     reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

namespace {
constexpr char kTabSheetClass[] = "TTabSheet";
}  // namespace

TTabSheet::TTabSheet(const ControlLayout& layout, HWND tab_control)
    : TControl(layout, Create(layout, tab_control)) {}

HWND TTabSheet::Create(const ControlLayout& layout, HWND tab_control) {
  RegisterClassOnce(kTabSheetClass, GetSysColorBrush(COLOR_BTNFACE));
  WindowArgs args;
  args.class_name = kTabSheetClass;
  args.ex_style = WS_EX_CONTROLPARENT;
  args.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  const std::string caption(layout.text);
  args.text = caption.c_str();
  args.x = args.y = args.width = args.height = 0;  // placed by the tab control
  args.parent = tab_control;
  CreateHandle(args);
  return Window::Handle();
}

LRESULT TTabSheet::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ForwardToForm(Window::Handle(), message, wparam, lparam, &result)) return result;
  return DefaultProc(message, wparam, lparam);
}

void TTabControl::AddPage(TTabSheet& page) {
  std::string caption(page.Layout().text);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  const auto index = static_cast<int>(pages_.size());
  (void)SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  pages_.push_back(&page);
  // The page area shrinks once the first tab is in: every page covers what is left.
  RECT area{};
  (void)GetClientRect(Handle(), &area);
  (void)TabCtrl_AdjustRect(Handle(), FALSE, &area);
  for (TTabSheet* each : pages_) {
    (void)MoveWindow(each->Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  }
}

int TTabControl::ActivePageIndex() const {
  return static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

void TTabControl::SetActivePageIndex(int index) {
  (void)SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  Notify(static_cast<WORD>(TCN_SELCHANGE));
}

void TTabControl::Notify(WORD code) {
  if (code != static_cast<WORD>(TCN_SELCHANGE)) return;
  const int active = ActivePageIndex();
  for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
    (void)ShowWindow(pages_[static_cast<std::size_t>(i)]->Handle(), i == active ? SW_SHOW : SW_HIDE);
  }
}

bool ForwardToForm(HWND container, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
      *result = SendMessageA(GetAncestor(container, GA_ROOT), message, wparam, lparam);
      return true;
    default:
      return false;
  }
}

}  // namespace platform
