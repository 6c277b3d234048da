// Base of every window the program creates itself.
#include "platform/window.h"

#include "platform/blocking_wait.h"
#include "platform/error_display.h"

#include <stdexcept>

namespace platform {

Window::~Window() { DestroyHandle(); }

void Window::RegisterClassOnce(const char* class_name, HBRUSH background, HICON icon,
                               HICON small_icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Window::Dispatch;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = small_icon;
  wc.lpszClassName = class_name;
  // A second registration fails with ERROR_CLASS_ALREADY_EXISTS, which is what "once" means.
  (void)RegisterClassExA(&wc);
}

void Window::CreateHandle(const WindowArgs& args) {
  const HWND hwnd = CreateWindowExA(args.ex_style, args.class_name, args.text, args.style, args.x,
                                    args.y, args.width, args.height, args.parent, args.id,
                                    GetModuleHandleA(nullptr), this);
  if (!hwnd) throw std::runtime_error("Error creating window");
}

void Window::DestroyHandle() {
  if (hwnd_) (void)DestroyWindow(hwnd_);
}

void Window::Watch(const void* key, MessageWatcher watcher) {
  watchers_.emplace_back(key, std::move(watcher));
}

void Window::Unwatch(const void* key) {
  std::erase_if(watchers_, [key](const auto& entry) { return entry.first == key; });
}

void Window::TellWatchers(UINT message, WPARAM wparam, LPARAM lparam) {
  // A watcher may send messages to this window, or unwatch, while it runs: call a copy.
  for (std::size_t i = 0; i < watchers_.size(); ++i) {
    const MessageWatcher watcher = watchers_[i].second;
    watcher(message, wparam, lparam);
  }
}

LRESULT Window::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultProc(message, wparam, lparam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::Dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    (void)SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (DeferWhileBlocked(hwnd, message, wparam, lparam)) return 0;

  LRESULT result = 0;
  if (!Guarded([&] {
        self->TellWatchers(message, wparam, lparam);
        result = self->WndProc(message, wparam, lparam);
      })) {
    result = DefWindowProcA(hwnd, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    (void)SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace platform
