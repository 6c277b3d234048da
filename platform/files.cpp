// Text files: the string list that saves itself, and the existence test.
#include "platform/files.h"

#include <windows.h>

#include "platform/errors.h"
#include "platform/handles.h"
#include "rtl/error_text.h"
#include "rtl/text.h"

namespace platform {

std::string TStringList::Text() const { return rtl::JoinLinesCrLf(std::span<const std::string>(lines_)); }

void TStringList::SaveToFile(const std::string& path) const {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    throw EFCreateError(rtl::CannotCreateFileText(path, rtl::TrimSystemMessage(SysErrorMessage(error))));
  }
  const std::string text = Text();
  DWORD written = 0;
  if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size()) {
    throw EWriteError(std::string(rtl::StreamWriteErrorText));
  }
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SysErrorMessage(unsigned long code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                      0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

}  // namespace platform
