// Win32 only. The wheel, keyboard and context-menu handling that COutputWindowEx and CFastDisplayWndEx
// share. Each scroll is one call of the window's own OnVScroll / OnHScroll with a scroll-bar request code.
#pragma once

#include "wheel_steps.h"

#include <afxwin.h>

// The scroll request for a key: arrows by one line or column, Page Up / Page Down by a page, Home / End
// to the first / last column, with Ctrl to the first / last line. False for any other key.
bool KQKeyScroll(UINT key, bool ctrl, int& bar, UINT& code) noexcept;

// The user's wheel setting: steps per notch for the vertical (lines) or horizontal (characters) wheel;
// kqWheelPageScroll for a page per notch. 3 when the system does not say.
unsigned int KQWheelSetting(bool horizontal) noexcept;

// Shows the copy context menu of `window` at the screen point of a WM_CONTEXTMENU's lParam (-1: from
// the keyboard, then at the client area's top-left corner); a chosen item is sent to the window as
// WM_COMMAND with ID_KQ_COPY_VISIBLE or ID_KQ_COPY_ALL.
void KQTrackCopyMenu(CWnd& window, LPARAM point);

// One scroll request on `window` (COutputWindow or CFastDisplayWnd, or a class derived from them).
template <class Window> void KQScrollRequest(Window& window, int bar, UINT code) {
  if (bar == SB_HORZ)
    window.OnHScroll(code, 0, nullptr);
  else
    window.OnVScroll(code, 0, nullptr);
}

// A wheel message's rotation `delta` (positive: away from the user, or tilted to the right for the
// horizontal wheel) on `window`: as many line (or page) requests as whole steps, stopping at the end of
// the range, which also forgets the rotation pending in `pending`.
template <class Window> void KQWheelScroll(Window& window, long long& pending, int delta, bool horizontal) {
  const KQWheelSteps steps = KQTakeWheelSteps(pending, delta, KQWheelSetting(horizontal));
  const bool towardsStart = horizontal ? steps.count < 0 : steps.count > 0;
  const UINT code =
      steps.pages ? (towardsStart ? SB_PAGEUP : SB_PAGEDOWN) : (towardsStart ? SB_LINEUP : SB_LINEDOWN);
  const int bar = horizontal ? SB_HORZ : SB_VERT;
  const int& position = horizontal ? window.m_hScrollPos : window.m_vScrollPos;
  for (int n = steps.count < 0 ? -steps.count : steps.count; n > 0; --n) {
    const int before = position;
    KQScrollRequest(window, bar, code);
    if (position == before) {
      pending = 0;
      break;
    }
  }
}

// WM_KEYDOWN's key on `window`: a scroll request, Ctrl+C a copy of the visible lines (copyVisible).
// False for a key it does not handle.
template <class Window, class Copy> bool KQViewKey(Window& window, WPARAM key, Copy&& copyVisible) {
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  int bar = SB_VERT;
  UINT code = 0;
  if (KQKeyScroll(static_cast<UINT>(key), ctrl, bar, code)) {
    KQScrollRequest(window, bar, code);
    return true;
  }
  if (ctrl && key == 'C') {
    copyVisible();
    return true;
  }
  return false;
}
