// Waits that pump the thread's messages, so that a worker touching its windows cannot deadlock against it.
#pragma once

#include <windows.h>

namespace kqtest {

inline void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// False when timeoutMs passed first (a safety net, never a synchronisation).
inline bool WaitPumping(HANDLE handle, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0)
      return true;
    if (result != WAIT_OBJECT_0 + 1)
      return false; // timeout or failure
    PumpPending();
  }
}

} // namespace kqtest
