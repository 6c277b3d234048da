// How many handles a process holds, read from the system handle table.
#include "handle_count.h"

#include <algorithm>
#include <vector>

namespace testcommon {
namespace {

// A row of the table (SystemHandleInformation). It keeps 16 bits of a process id, which is
// all of one under Wine.
struct Entry {
  USHORT process_id;
  USHORT creator_back_trace_index;
  UCHAR object_type;
  UCHAR attributes;
  USHORT handle;
  PVOID object;
  ULONG granted_access;
};
struct Table {
  ULONG count;
  Entry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

}  // namespace

std::optional<std::size_t> ProcessHandleCount(DWORD pid) {
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return std::nullopt;

  std::vector<unsigned char> buffer(1 << 16);
  LONG status;
  for (;;) {
    ULONG needed = 0;
    status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status != kInfoLengthMismatch) break;
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  if (status < 0) return std::nullopt;
  const auto* table = reinterpret_cast<const Table*>(buffer.data());
  std::size_t count = 0;
  for (ULONG i = 0; i < table->count; ++i) {
    if (table->entries[i].process_id == static_cast<USHORT>(pid)) ++count;
  }
  return count;
}

}  // namespace testcommon
