// Waiting on a window thread without blocking its windows: the waits below dispatch the thread's
// messages (sent and posted) while they wait, so a worker that touches the thread's windows (SendMessage,
// scroll-bar calls) cannot deadlock against it.
#pragma once

#include <windows.h>

namespace kqtest {

// Dispatches every message already waiting for the calling thread.
inline void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// Waits until `handle` is signalled, dispatching messages meanwhile. True when signalled, false when
// timeoutMs passed first (the deadline is a safety net, never a synchronisation).
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
