// Win32 only. Copying a text window's visible or kept lines to the clipboard: the rows are copied out of
// the list (under the output window's lock), formatted outside it, then put on the clipboard.
#include "kqwindowsex.h"

#include "clipboard_text.h"
#include "copy_lines.h"
#include "view_math.h"

#include <mutex>
#include <new>

namespace {
// No lock: the fast display window is used by one thread.
struct NoLock {
  void lock() noexcept {}
  void unlock() noexcept {}
};

template <class Lock>
int copyRows(CWnd& window, const CStringList& lines, Lock& lock, bool visibleOnly, int vScrollPos,
             int clientHeight, int lineHeight) noexcept {
  try {
    KQCopiedLines copied;
    {
      std::lock_guard<Lock> guard(lock);
      const long long count = lines.GetCount();
      const KQPageRows rows =
          visibleOnly ? KQRowsOnPage(vScrollPos, clientHeight, lineHeight, count) : KQPageRows{0, count};
      KQCopyLines(lines, rows.first, rows.end, copied);
    }
    return KQSetClipboardText(window.GetSafeHwnd(), KQClipboardText(copied)) ? 1 : 0;
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException* e) { // what new throws in a module of the framework
    e->Delete();
  }
  return 0;
}

int copyOutput(COutputWindow& w, bool visibleOnly) noexcept {
  return copyRows(w, w.m_lines, w.m_lock, visibleOnly, w.m_vScrollPos, w.m_clientHeight, w.m_lineHeight);
}

int copyFast(CFastDisplayWnd& w, bool visibleOnly) noexcept {
  NoLock none;
  return copyRows(w, w.m_lines, none, visibleOnly, w.m_vScrollPos, w.m_clientHeight, w.m_lineHeight);
}
} // namespace

int KQCopyVisible(COutputWindow& window) {
  return copyOutput(window, true);
}
int KQCopyAll(COutputWindow& window) {
  return copyOutput(window, false);
}
int KQCopyVisible(CFastDisplayWnd& window) {
  return copyFast(window, true);
}
int KQCopyAll(CFastDisplayWnd& window) {
  return copyFast(window, false);
}
