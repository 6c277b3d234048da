// Helpers the Win32 tests share: pumping the queue until something happens, a scratch folder,
// the helper child's path and a count of the process's own handles.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/window.h"

namespace wintest {

// A message-only window of the test's own class; the test writes its WndProc.
class TestWindow : public platform::Window {
 public:
  explicit TestWindow(const char* class_name, const char* text = "");
  // While the derived part still answers the messages of the window's end.
  ~TestWindow() override { DestroyHandle(); }
};

// Handles this thread's messages until `done` holds or `deadline_ms` have passed; the result
// is `done()` at the end. `each_round` runs between rounds (at least every few milliseconds).
bool PumpUntil(const std::function<bool()>& done, DWORD deadline_ms,
               const std::function<void()>& each_round = {});

// Handles messages for the given time, whatever arrives.
void PumpFor(DWORD ms, const std::function<void()>& each_round = {});

// A fresh folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// child_exit.exe, built beside the test program.
std::string ChildPath();

// Handles this process holds, from the system handle table (GetProcessHandleCount gives 0
// under Wine). -1 when the table cannot be read.
long OwnHandleCount();

// The system's text for an error code, as FormatMessage gives it.
std::string SystemText(DWORD code);

}  // namespace wintest
