// Win32 only. The wheel, keyboard and context-menu handling that COutputWindowEx and CFastDisplayWndEx
// share. Each scroll is one request to the window's own OnVScroll / OnHScroll, so it follows the scroll
// rule of the scroll bars.
#pragma once

#include "relaxed_field.h"
#include "text_view.h"
#include "wheel_steps.h"

#include <afxwin.h>

#include <algorithm>

// The scroll request for a key: arrows by one line or column, Page Up / Page Down by a page, Home / End
// to the first / last column, with Ctrl to the first / last line. False for any other key.
bool KQKeyScroll(UINT key, bool ctrl, int& bar, UINT& code) noexcept;

// The user's wheel setting: steps per notch for the vertical (lines) or horizontal (characters) wheel;
// kqWheelPageScroll for a page per notch. 3 when the system does not say.
unsigned int KQWheelSetting(bool horizontal) noexcept;

// Shows the context menu of an opt-in window at the screen point `at` ((-1, -1): from the keyboard, then
// at the client area's top-left corner): Copy, Copy all, Select all, Find, Find next and Save as, each
// enabled or greyed by the window's ON_UPDATE_COMMAND_UI handlers; a chosen item is sent to the window
// as WM_COMMAND.
void KQTrackViewerMenu(CWnd& window, CPoint at);

// One scroll request on `window` (COutputWindow or CFastDisplayWnd, or a class derived from them).
template <class Window> void KQScrollRequest(Window& window, int bar, UINT code, UINT thumb = 0) {
  if (bar == SB_HORZ)
    window.OnHScroll(code, thumb, nullptr);
  else
    window.OnVScroll(code, thumb, nullptr);
}

// A wheel message's rotation `delta` (positive: away from the user, or tilted to the right for the
// horizontal wheel) on `window`: the whole steps it makes, with what `pending` held, move the view in
// one request (SB_THUMBPOSITION at the new position), so one wheel message scrolls, sets the bar and
// repaints once. Reaching the end of the range also forgets the rotation pending.
template <class Window> void KQWheelScroll(Window& window, long long& pending, int delta, bool horizontal) {
  const KQWheelSteps steps = KQTakeWheelSteps(pending, delta, KQWheelSetting(horizontal));
  if (steps.count == 0)
    return;
  const int bar = horizontal ? SB_HORZ : SB_VERT;
  const KQViewAxis axis = KQAxisOf(window, bar);
  const long long units =
      static_cast<long long>(horizontal ? steps.count : -steps.count) * (steps.pages ? axis.page : 1);
  const long long wanted = KQLoadRelaxed(axis.pos) + units;
  const long long target = std::clamp<long long>(wanted, 0, std::max(axis.max, 0));
  KQScrollRequest(window, bar, SB_THUMBPOSITION, static_cast<UINT>(target));
  if (target != wanted)
    pending = 0;
}

// A WM_KEYDOWN key on `window`: a scroll request, or Ctrl+C a copy of the visible lines (copyVisible).
// False for a key it does not handle.
template <class Window, class Copy> bool KQViewKey(Window& window, UINT key, Copy&& copyVisible) {
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  int bar = SB_VERT;
  UINT code = 0;
  if (KQKeyScroll(key, ctrl, bar, code)) {
    KQScrollRequest(window, bar, code);
    return true;
  }
  if (ctrl && key == 'C') {
    copyVisible();
    return true;
  }
  return false;
}
