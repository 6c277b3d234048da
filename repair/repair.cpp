// The operating-system side of a repair: where the batch goes and how it is run.
#include "repair/repair.h"

#include <shlobj.h>

#include <vector>

#include "platform/application.h"
#include "platform/blocking_wait.h"
#include "platform/handles.h"

namespace repair {

std::string SpecialFolderPath(int folder) {
  const HWND owner = platform::Application ? platform::Application->Handle() : nullptr;
  platform::UniqueItemList items;
  if (FAILED(SHGetSpecialFolderLocation(owner, folder, items.Put())) || !items) return {};
  char path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(items.Get(), path)) return {};
  return path;
}

std::optional<DWORD> RunCommandWait(std::string_view command_line, WORD show) {
  // The creation call may write into the command line, so it gets a copy of its own.
  std::vector<char> buffer(command_line.begin(), command_line.end());
  buffer.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &info)) {
    return std::nullopt;
  }
  const platform::UniqueHandle process(info.hProcess);
  const platform::UniqueHandle thread(info.hThread);

  (void)platform::WaitKeepingWindowsAlive(process.Get());
  DWORD exit_code = 0;
  (void)GetExitCodeProcess(process.Get(), &exit_code);
  return exit_code;
}

std::string QuotedForCommandLine(std::string_view path) {
  std::string quoted = "\"";
  quoted.append(path);
  quoted.push_back('"');
  return quoted;
}

}  // namespace repair
