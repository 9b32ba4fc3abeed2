// Win32 only. Each text window's lines as a store with the window's width, cap and lock, said once for
// every operation of the window, its view and the copy functions.
#pragma once

#include "kqwindows.h"
#include "locked_lines.h"

// The output window's lines behind its recursive lock: any thread may call Display.
inline KQLockedLines<KQCriticalSection> KQLinesOf(COutputWindow& window) noexcept {
  return {window.m_lines, window.m_lock, window.m_lineWidth, window.m_maxLines};
}

// The fast display window's lines: one thread uses the window, so there is no lock.
inline KQLockedLines<KQNoLock> KQLinesOf(CFastDisplayWnd& window) noexcept {
  static KQNoLock none;
  return {window.m_lines, none, window.m_lineWidth, static_cast<long long>(window.m_maxLines)};
}
