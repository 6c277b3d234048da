// The program's entry: one instance per session, then the application and its main window.
#include <windows.h>

#include <string>

#include "platform/application.h"
#include "platform/error_display.h"
#include "ui/Unit1.h"
#include "ui/Unit1_layout.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::Guarded([] {
    platform::TApplication application;
    const std::string title(ui::ProgramTitle);

    // Held, never released, until the process ends and the system closes it.
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, title.c_str());
    if (!mutex) return;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      (void)CloseHandle(mutex);  // another instance runs: leave quietly, untouched
      return;
    }

    application.Initialize();
    application.SetTitle(title);
    application.CreateForm<ui::TForm1>();
    application.Run();
  });
  return 0;
}
