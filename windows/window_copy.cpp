// Win32 only. Copying a text window's visible or kept lines to the clipboard: the rows are copied out of
// the list (under the output window's lock), formatted outside it, then put on the clipboard.
#include "kqwindowsex.h"

#include "clipboard_text.h"
#include "copy_lines.h"
#include "relaxed_field.h"
#include "window_lines.h"

#include <new>

namespace {
template <class Window> int copyRows(Window& window, bool visibleOnly) noexcept {
  KQCopiedLines copied;
  const bool copiedAll = KQLinesOf(window).read([&](const CStringList& lines) {
    const long long count = lines.GetCount();
    const KQLineRange rows =
        visibleOnly ? KQRowsOnPage(KQLoadRelaxed(window.m_vScrollPos), KQLoadRelaxed(window.m_clientHeight),
                                   KQLoadRelaxed(window.m_lineHeight), count)
                    : KQLineRange{0, count};
    return KQCopyLines(lines, KQTextRows(lines, rows), copied);
  });
  if (!copiedAll)
    return 0;
  try {
    return KQSetClipboardText(window.GetSafeHwnd(), KQClipboardText(copied)) ? 1 : 0;
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException* e) { // what new throws in a module of the framework
    e->Delete();
  }
  return 0;
}
} // namespace

int KQCopyVisible(COutputWindow& window) {
  return copyRows(window, true);
}
int KQCopyAll(COutputWindow& window) {
  return copyRows(window, false);
}
int KQCopyVisible(CFastDisplayWnd& window) {
  return copyRows(window, true);
}
int KQCopyAll(CFastDisplayWnd& window) {
  return copyRows(window, false);
}
