// Base of every window the program creates itself: binds the C++ object to its HWND at
// WM_NCCREATE and hands each message to the virtual WndProc, with errors stopped at the frame.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace platform {

struct WindowArgs {
  const char* class_name = nullptr;
  DWORD ex_style = 0;
  DWORD style = 0;
  const char* text = "";
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  HWND parent = nullptr;  // the owner, for a top-level window
  HMENU id = nullptr;
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }

  // Lets another object see each message before this window handles it, until it unwatches;
  // `key` names the watcher for Unwatch.
  using MessageWatcher = std::function<void(UINT message, WPARAM wparam, LPARAM lparam)>;
  void Watch(const void* key, MessageWatcher watcher);
  void Unwatch(const void* key);

  // Registers a class whose procedure is Window's dispatcher; repeat calls do nothing.
  static void RegisterClassOnce(const char* class_name, HBRUSH background = nullptr,
                                HICON icon = nullptr, HICON small_icon = nullptr);

 protected:
  void CreateHandle(const WindowArgs& args);
  void DestroyHandle();
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK Dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void TellWatchers(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
  std::vector<std::pair<const void*, MessageWatcher>> watchers_;
};

}  // namespace platform
