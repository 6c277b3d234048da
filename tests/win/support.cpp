// Helpers the Win32 tests share.
#include "support.h"

#include "handle_count.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace wintest {

TestWindow::TestWindow(const char* class_name, const char* text) {
  RegisterClassOnce(class_name);
  platform::WindowArgs args;
  args.class_name = class_name;
  args.text = text;
  args.parent = HWND_MESSAGE;
  CreateHandle(args);
}
namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        // Read-only files refuse deletion.
        (void)SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        (void)DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &found));
    (void)FindClose(search);
  }
  (void)RemoveDirectoryA(path.c_str());
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD deadline_ms,
               const std::function<void()>& each_round) {
  const ULONGLONG start = GetTickCount64();
  while (!done() && GetTickCount64() - start < deadline_ms) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      (void)TranslateMessage(&msg);
      (void)DispatchMessageA(&msg);
    }
    if (each_round) each_round();
    (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return done();
}

void PumpFor(DWORD ms, const std::function<void()>& each_round) {
  (void)PumpUntil([] { return false; }, ms, each_round);
}

ScratchFolder::ScratchFolder() {
  static int counter = 0;
  char temp[MAX_PATH + 1] = {};
  (void)GetTempPathA(sizeof temp, temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  path_ = base + "\\ternavo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  RemoveTree(path_);
  if (!CreateDirectoryA(path_.c_str(), nullptr)) {
    throw std::runtime_error("cannot create scratch folder " + path_);
  }
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

std::string ReadFileBytes(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  (void)CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  (void)CloseHandle(file);
  if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + path);
}

std::string ChildPath() {
  char self[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path(self, length);
  path.erase(path.find_last_of('\\') + 1);
  return path + "child_exit.exe";
}

long OwnHandleCount() {
  const auto count = testcommon::ProcessHandleCount(GetCurrentProcessId());
  return count ? static_cast<long>(*count) : -1;
}

std::string SystemText(DWORD code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

}  // namespace wintest
