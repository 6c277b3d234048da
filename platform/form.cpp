// A top-level window built from its stored layout.
#include "platform/form.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/application.h"

namespace platform {
namespace {

WNDPROC g_group_box_proc = nullptr;

// Group boxes are standard buttons, which keep their children's notifications to themselves.
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ForwardToForm(hwnd, message, wparam, lparam, &result)) return result;
  if (message == WM_ERASEBKGND) {
    // A group box paints only its frame; as a container that clips its children, it must
    // fill the room between them itself.
    RECT client{};
    (void)GetClientRect(hwnd, &client);
    (void)FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
  }
  return CallWindowProcA(g_group_box_proc, hwnd, message, wparam, lparam);
}

int CALLBACK NoteFontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(const char* face) {
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  const HDC dc = GetDC(nullptr);
  (void)EnumFontFamiliesExA(dc, &query, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  (void)ReleaseDC(nullptr, dc);
  return found;
}

HICON LoadIconResource(const char* name, int size) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, 0));
}

LPCSTR CursorResource(Cursor cursor) {
  switch (cursor) {
    case Cursor::HandPoint: return reinterpret_cast<LPCSTR>(IDC_HAND);
    case Cursor::Help: return reinterpret_cast<LPCSTR>(IDC_HELP);
    case Cursor::Default: break;
  }
  return nullptr;
}

struct ClassAndStyle {
  const char* class_name;
  DWORD style;
  DWORD ex_style;
};

ClassAndStyle WindowClassFor(const ControlLayout& layout) {
  const DWORD bevel = layout.tile_bevel ? WS_EX_STATICEDGE : 0;
  const DWORD tab_stop = layout.tab_order != kNoTabStop ? WS_TABSTOP : 0;
  switch (layout.kind) {
    case ControlKind::Label:
      return {WC_STATICA, SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0};
    case ControlKind::TabControl:
      return {WC_TABCONTROLA, WS_CLIPCHILDREN | tab_stop, WS_EX_CONTROLPARENT};
    case ControlKind::GroupBox:
      return {WC_BUTTONA, BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::ComboBox:
      return {WC_COMBOBOXA, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tab_stop, 0};
    case ControlKind::Button:
      return {WC_BUTTONA, BS_PUSHBUTTON | tab_stop, 0};
    case ControlKind::Memo:
      return {WC_EDITA,
              ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | (layout.vertical_scroll ? WS_VSCROLL : 0) |
                  (layout.word_wrap ? 0 : ES_AUTOHSCROLL | WS_HSCROLL) | tab_stop,
              bevel};
    case ControlKind::Edit:
      return {WC_EDITA, ES_AUTOHSCROLL | tab_stop, bevel};
    case ControlKind::StatusBar:
      return {STATUSCLASSNAMEA, CCS_BOTTOM, 0};
    case ControlKind::TabSheet:
      break;
  }
  return {nullptr, 0, 0};
}

// Control ids follow the layout's stored order, so tools can tell the controls apart.
constexpr int kFirstControlId = 100;

// The open list of a drop-down combo box is part of its window's height.
constexpr int kComboListHeight = 200;

}  // namespace

void TForm::Create() {
  static const bool controls_ready = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)controls_ready;

  const std::string class_name(layout_.class_name);
  const std::string caption(layout_.caption);
  RegisterClassOnce(class_name.c_str(), GetSysColorBrush(COLOR_BTNFACE));
  WindowArgs args;
  args.class_name = class_name.c_str();
  args.style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  args.ex_style = WS_EX_CONTROLPARENT;
  args.text = caption.c_str();
  args.x = 0;
  args.y = 0;
  args.width = layout_.width;
  args.height = layout_.height;
  args.parent = Application ? Application->Handle() : nullptr;  // owned: no taskbar button of its own
  CreateHandle(args);

  icon_.Reset(LoadIconResource("MAINICON", 0));
  small_icon_.Reset(LoadIconResource("SMALLICON", GetSystemMetrics(SM_CXSMICON)));
  (void)SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
  (void)SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.Get()));

  CreateFormFont();
  for (const ControlLayout& control : layout_.controls) CreateControl(control);
  // Labels lie beneath the windowed controls they share room with (Label6 holds the combo
  // box in a gap of its text), and clip themselves around them.
  for (const auto& control : controls_) {
    if (control->Layout().kind == ControlKind::Label) {
      (void)SetWindowPos(control->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  BuildFocusOrder({});
  Loaded();
  if (OnCreate) OnCreate(this);
}

void TForm::Destroy() {
  if (OnDestroy) OnDestroy(this);
  DestroyHandle();
  by_handle_.clear();
}

void TForm::CreateFormFont() {
  std::string face(layout_.font_face);
  if (!FontInstalled(face.c_str())) {
    // Without the designed face, the system's own message font keeps the text readable.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      face = metrics.lfMessageFont.lfFaceName;
    }
  }
  font_.Reset(CreateFontA(layout_.font_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

void TForm::CreateControl(const ControlLayout& layout) {
  const HWND parent = layout.parent.empty() ? Handle() : by_name_.at(layout.parent)->Handle();
  std::unique_ptr<TControl> control = MakeControl(layout, parent);
  const HWND hwnd = control->Handle();
  if (layout.kind != ControlKind::StatusBar) {
    (void)SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  }
  if (layout.kind == ControlKind::TabSheet) {
    auto& tabs = static_cast<TTabControl&>(*by_name_.at(layout.parent));
    tabs.AddPage(static_cast<TTabSheet&>(*control));
    tabs.SetActivePageIndex(0);  // the first page is in front at start
  }
  if (layout.kind == ControlKind::Label) {
    // Labels size themselves to their text.
    const HDC dc = GetDC(hwnd);
    const HGDIOBJ old = SelectObject(dc, font_.Get());
    SIZE extent{};
    (void)GetTextExtentPoint32A(dc, layout.text.data(), static_cast<int>(layout.text.size()), &extent);
    (void)SelectObject(dc, old);
    (void)ReleaseDC(hwnd, dc);
    (void)SetWindowPos(hwnd, nullptr, 0, 0, extent.cx, layout.bounds.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  by_handle_[hwnd] = control.get();
  by_name_[layout.name] = control.get();
  controls_.push_back(std::move(control));
}

std::unique_ptr<TControl> TForm::MakeControl(const ControlLayout& layout, HWND parent) {
  if (layout.kind == ControlKind::TabSheet) return std::make_unique<TTabSheet>(layout, parent);

  RECT client{};
  (void)GetClientRect(parent, &client);
  Bounds at = layout.bounds;
  if (layout.align == Align::Top) at = {0, 0, client.right, layout.bounds.height};
  if (layout.align == Align::Bottom) at = {0, client.bottom - layout.bounds.height, client.right, layout.bounds.height};
  if (layout.kind == ControlKind::ComboBox) at.height += kComboListHeight;

  const ClassAndStyle kind = WindowClassFor(layout);
  const std::string text(layout.text);
  const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + controls_.size()));
  const HWND hwnd = CreateWindowExA(kind.ex_style, kind.class_name, text.c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, at.left,
                                    at.top, at.width, at.height, parent, id,
                                    GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) throw std::runtime_error("Error creating window");

  switch (layout.kind) {
    case ControlKind::GroupBox: {
      const auto previous = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupBoxProc)));
      g_group_box_proc = previous;
      return std::make_unique<TGroupBox>(layout, hwnd);
    }
    case ControlKind::ComboBox: {
      auto combo = std::make_unique<TComboBox>(layout, hwnd);
      for (std::string_view item : layout.items) {
        (void)SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(item).c_str()));
      }
      combo->SetItemIndex(layout.item_index);
      return combo;
    }
    case ControlKind::Memo:
      // The default limit of about 30,000 characters would silently refuse later log lines.
      (void)SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);
      return std::make_unique<TMemo>(layout, hwnd);
    case ControlKind::TabControl:
      return std::make_unique<TTabControl>(layout, hwnd);
    case ControlKind::StatusBar: {
      auto bar = std::make_unique<TStatusBar>(layout, hwnd);
      // Each panel but the last ends at the sum of the widths so far; the last reaches the edge.
      std::vector<int> edges;
      int right = 0;
      for (const PanelLayout& panel : layout.panels) edges.push_back(right += panel.width);
      if (!edges.empty()) edges.back() = -1;
      (void)SendMessageA(hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
      for (std::size_t i = 0; i < layout.panels.size(); ++i) bar->SetPanelText(static_cast<int>(i), layout.panels[i].text);
      return bar;
    }
    default:
      return std::make_unique<TControl>(layout, hwnd);
  }
}

void TForm::BuildFocusOrder(std::string_view parent) {
  std::vector<TControl*> children;
  for (const auto& control : controls_) {
    if (control->Layout().parent == parent && control->Layout().tab_order != kNoTabStop) children.push_back(control.get());
  }
  std::stable_sort(children.begin(), children.end(), [](TControl* a, TControl* b) {
    return a->Layout().tab_order < b->Layout().tab_order;
  });
  for (TControl* child : children) {
    const ControlKind kind = child->Layout().kind;
    if (kind != ControlKind::GroupBox && kind != ControlKind::TabSheet) focus_order_.push_back(child);
    BuildFocusOrder(child->Layout().name);
  }
}

bool TForm::HandleDialogKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) < 0) return false;
  const bool forward = GetKeyState(VK_SHIFT) >= 0;

  // The focus may sit in a control's own child, such as a combo box's edit field.
  HWND focus = GetFocus();
  while (focus && focus != Handle() && !ControlOf(focus)) focus = GetParent(focus);
  const auto current = std::find(focus_order_.begin(), focus_order_.end(), ControlOf(focus));
  const auto count = static_cast<std::ptrdiff_t>(focus_order_.size());
  std::ptrdiff_t index = current == focus_order_.end() ? (forward ? -1 : count) : current - focus_order_.begin();
  for (std::ptrdiff_t step = 0; step < count; ++step) {
    index = (index + (forward ? 1 : -1) + count) % count;
    const HWND candidate = focus_order_[static_cast<std::size_t>(index)]->Handle();
    if (IsWindowVisible(candidate) && IsWindowEnabled(candidate)) {
      (void)SetFocus(candidate);
      break;
    }
  }
  return true;
}

TControl* TForm::ControlOf(HWND hwnd) const {
  const auto found = by_handle_.find(hwnd);
  return found == by_handle_.end() ? nullptr : found->second;
}

void TForm::Show() {
  if (!placed_) PlaceAtDesktopCentre();
  (void)ShowWindow(Handle(), SW_SHOW);
}

void TForm::PlaceAtDesktopCentre() {
  placed_ = true;
  RECT frame{};
  (void)GetWindowRect(Handle(), &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = std::max(0, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - width) / 2);
  const int top = std::max(0, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - height) / 2);
  (void)SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Close() {
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else {
    (void)ShowWindow(Handle(), SW_HIDE);
  }
}

std::string TForm::Caption() const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(Handle())) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TForm::SetCaption(std::string_view caption) {
  (void)SetWindowTextA(Handle(), std::string(caption).c_str());
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (TControl* control = ControlOf(reinterpret_cast<HWND>(lparam))) control->Notify(HIWORD(wparam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (TControl* control = ControlOf(header->hwndFrom)) control->Notify(static_cast<WORD>(header->code));
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const TControl* control = ControlOf(reinterpret_cast<HWND>(lparam));
      if (!control || control->Layout().kind != ControlKind::Label) break;
      const HDC dc = reinterpret_cast<HDC>(wparam);
      if (control->Layout().colour != kDefaultColour) (void)SetTextColor(dc, control->Layout().colour);
      (void)SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
      const TControl* control = ControlOf(reinterpret_cast<HWND>(wparam));
      const LPCSTR cursor = control ? CursorResource(control->Layout().cursor) : nullptr;
      if (!cursor || LOWORD(lparam) != HTCLIENT) break;
      (void)SetCursor(LoadCursorA(nullptr, cursor));
      return TRUE;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize = info->ptMaxTrackSize = {layout_.width, layout_.height};
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
  }
  return DefaultProc(message, wparam, lparam);
}

}  // namespace platform
