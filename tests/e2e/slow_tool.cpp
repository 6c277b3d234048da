// Stands in for one of the batch's network tools: notes its start and end in the file named
// by TERNAVO_E2E_SLOW_TOOL_LOG and takes a few seconds in between, so that a repair lasts
// long enough to be watched from outside.
#include <windows.h>

#include <string>

namespace {

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

void Note(const std::wstring& log, const std::string& line) {
  if (log.empty()) return;
  const HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  (void)WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  (void)CloseHandle(file);
}

}  // namespace

int main() {
  const std::wstring log = Variable(L"TERNAVO_E2E_SLOW_TOOL_LOG");
  const std::wstring delay = Variable(L"TERNAVO_E2E_SLOW_TOOL_MS");
  const DWORD delay_ms = delay.empty() ? 3000 : static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10));

  // The command line tells which line of the batch ran us (ASCII in practice).
  std::string command_line;
  for (const wchar_t* c = GetCommandLineW(); *c; ++c) command_line.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
  Note(log, "start " + command_line);
  Sleep(delay_ms);
  Note(log, "end");
  return 0;
}
