// Waiting for a kernel object on the user-interface thread without the window going dead.
#include "platform/blocking_wait.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

int g_wait_depth = 0;

std::vector<UINT>& DeferredMessages() {
  static std::vector<UINT> messages = {WM_COMMAND, WM_SYSCOMMAND, WM_CLOSE, WM_TIMER};
  return messages;
}

// A thread that has not looked at its queue for five seconds counts as hung; look at
// least once a second even when nothing arrives.
constexpr DWORD kQueueCheckMs = 1000;

}  // namespace

DWORD WaitKeepingWindowsAlive(HANDLE object) {
  ++g_wait_depth;
  DWORD result;
  for (;;) {
    result = MsgWaitForMultipleObjects(1, &object, FALSE, kQueueCheckMs,
                                       QS_SENDMESSAGE | QS_PAINT);
    if (result != WAIT_OBJECT_0 + 1 && result != WAIT_TIMEOUT) break;
    // Peeking delivers sent messages; the filter takes paint messages only, so input,
    // posted messages and timer ticks stay queued (and ticks are not stored up).
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) (void)DispatchMessageA(&msg);
  }
  --g_wait_depth;
  return result;
}

bool InBlockingWait() { return g_wait_depth > 0; }

void DeferWhileBlockedAlso(UINT message) {
  auto& messages = DeferredMessages();
  if (std::find(messages.begin(), messages.end(), message) == messages.end()) {
    messages.push_back(message);
  }
}

bool DeferWhileBlocked(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!InBlockingWait()) return false;
  const auto& messages = DeferredMessages();
  if (std::find(messages.begin(), messages.end(), message) == messages.end()) return false;
  (void)PostMessageA(hwnd, message, wparam, lparam);
  return true;
}

}  // namespace platform
