// The application object: its window, its title, the message loop and the error display.
#include "platform/application.h"

#include <objbase.h>

#include "platform/error_display.h"
#include "platform/form.h"
#include "platform/format_settings.h"

namespace platform {

TApplication* Application = nullptr;

namespace {

constexpr char kClassName[] = "TernavoApplication";

HICON LoadMainIcon(int size) {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, size, size, 0));
}

}  // namespace

TApplication::TApplication() {
  Application = this;
  RegisterClassOnce(kClassName, nullptr, LoadMainIcon(0),
                    LoadMainIcon(GetSystemMetrics(SM_CXSMICON)));
  // A window of no size, centred like the old-style owner windows: it takes no area on
  // screen, yet while visible it is the one the taskbar shows a button for.
  WindowArgs args;
  args.class_name = kClassName;
  args.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
  args.x = GetSystemMetrics(SM_CXSCREEN) / 2;
  args.y = GetSystemMetrics(SM_CYSCREEN) / 2;
  args.width = 0;
  args.height = 0;
  CreateHandle(args);
  (void)SetErrorSink([](const std::string& message) {
    if (Application) Application->ShowException(message);
  });
}

TApplication::~TApplication() {
  DestroyMainForm();
  DestroyHandle();
  if (com_initialized_) CoUninitialize();
  (void)SetErrorSink(nullptr);
  Application = nullptr;
}

void TApplication::Initialize() {
  com_initialized_ = SUCCEEDED(CoInitialize(nullptr));
}

void TApplication::SetTitle(std::string_view title) {
  title_ = title;
  (void)SetWindowTextA(Handle(), title_.c_str());
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
  form->Create();
  if (!main_form_) main_form_ = std::move(form);
}

void TApplication::Run() {
  if (main_form_) {
    (void)ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    main_form_->Show();
  }
  while (!terminated_) {
    if (!ProcessMessage()) (void)WaitMessage();
  }
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (main_form_ && main_form_->HandleDialogKey(msg)) return true;
  (void)TranslateMessage(&msg);
  (void)DispatchMessageA(&msg);
  return true;
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ShowException(const std::string& message) {
  HWND owner = Handle();
  if (main_form_ && IsWindowVisible(main_form_->Handle())) owner = main_form_->Handle();
  ShowErrorBox(owner, title_, message);
}

void TApplication::DestroyMainForm() {
  if (!main_form_) return;
  Guarded([&] { main_form_->Destroy(); });
  main_form_.reset();
}

LRESULT TApplication::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:  // the taskbar button's close closes the main form
      if (main_form_) main_form_->Close();
      return 0;
    case WM_SYSCOMMAND:
      // The window has no area: minimising or restoring it would only confuse the taskbar.
      if ((wparam & 0xFFF0) == SC_MINIMIZE || (wparam & 0xFFF0) == SC_RESTORE) return 0;
      break;
    case WM_SETTINGCHANGE:  // the next date or time formatted uses the user's new formats
      RereadFormatSettings();
      break;
    case WM_ACTIVATE:
      // Activating the taskbar's window means activating the main form it stands for.
      if (LOWORD(wparam) != WA_INACTIVE && main_form_ && IsWindowVisible(main_form_->Handle())) {
        (void)SetActiveWindow(main_form_->Handle());
        return 0;
      }
      break;
  }
  return DefaultProc(message, wparam, lparam);
}

}  // namespace platform
