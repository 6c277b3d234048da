// Waiting for a kernel object on the user-interface thread without the window going dead:
// it keeps painting and answering messages other programs send, while input, menu commands,
// timer ticks and other queued messages wait until the wait is over.
#pragma once

#include <windows.h>

namespace platform {

// Waits without a time limit; returns WaitForSingleObject's kind of result.
DWORD WaitKeepingWindowsAlive(HANDLE object);

bool InBlockingWait();

// Messages that would run one of the program's handlers. A sent one arriving during a
// blocking wait is posted back to its window, to be handled from the queue after the wait.
void DeferWhileBlockedAlso(UINT message);
bool DeferWhileBlocked(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace platform
