// The baseline of the start-up figure: a bare Win32 program that opens one empty window.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = "BareWindow";
  (void)RegisterClassA(&wc);
  const HWND hwnd = CreateWindowExA(0, "BareWindow", "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 355,
                                    277, nullptr, nullptr, instance, nullptr);
  (void)ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    (void)TranslateMessage(&msg);
    (void)DispatchMessageA(&msg);
  }
  return 0;
}
