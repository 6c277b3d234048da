// How many handles a process holds, read from the system handle table: under Wine the
// process API (GetProcessHandleCount) answers 0.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace testcommon {

// Nothing when the table cannot be read.
std::optional<std::size_t> ProcessHandleCount(DWORD pid);

}  // namespace testcommon
