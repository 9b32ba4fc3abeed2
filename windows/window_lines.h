// Win32 only. Each text window's lines as a store with the window's width, cap and lock, said once for
// every operation of the window, its view and the copy functions.
#pragma once

#include "kqwindows.h"
#include "locked_lines.h"

#include <cstdio>
#include <memory>
#include <share.h>

// The output window's lines behind its recursive lock: any thread may call Display.
inline KQLockedLines<KQCriticalSection> KQLinesOf(COutputWindow& window) noexcept {
  return {window.m_lines, window.m_lock, window.m_lineWidth, window.m_maxLines};
}

// The fast display window's lines: one thread uses the window, so there is no lock.
inline KQLockedLines<KQNoLock> KQLinesOf(CFastDisplayWnd& window) noexcept {
  static KQNoLock none;
  return {window.m_lines, none, window.m_lineWidth, static_cast<long long>(window.m_maxLines)};
}

// Writes the window's lines to the file `fileName` (created or truncated; others may read and write it
// meanwhile) in the text-file form of KQSaveLines, under the lock. False when the file could not be
// opened (errno says why; nothing written then).
template <class Window> bool KQWriteLinesFile(Window& window, const char* fileName) {
  struct Closer {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
  };
  // A text stream: each '\n' reaches the file as CR LF.
  std::unique_ptr<std::FILE, Closer> file(::_fsopen(fileName, "wt", _SH_DENYNO));
  if (!file)
    return false;
  KQLinesOf(window).save(file.get());
  return true;
}
