// Win32 only. Key map, wheel setting and copy menu of the opt-in text windows.
#include "view_input.h"

#include "kqwindowsex.h"

#ifndef SPI_GETWHEELSCROLLCHARS
#define SPI_GETWHEELSCROLLCHARS 0x006C
#endif

bool KQKeyScroll(UINT key, bool ctrl, int& bar, UINT& code) noexcept {
  switch (key) {
  case VK_UP:
    bar = SB_VERT, code = SB_LINEUP;
    return true;
  case VK_DOWN:
    bar = SB_VERT, code = SB_LINEDOWN;
    return true;
  case VK_LEFT:
    bar = SB_HORZ, code = SB_LINELEFT;
    return true;
  case VK_RIGHT:
    bar = SB_HORZ, code = SB_LINERIGHT;
    return true;
  case VK_PRIOR:
    bar = SB_VERT, code = SB_PAGEUP;
    return true;
  case VK_NEXT:
    bar = SB_VERT, code = SB_PAGEDOWN;
    return true;
  case VK_HOME:
    bar = ctrl ? SB_VERT : SB_HORZ, code = ctrl ? SB_TOP : SB_LEFT;
    return true;
  case VK_END:
    bar = ctrl ? SB_VERT : SB_HORZ, code = ctrl ? SB_BOTTOM : SB_RIGHT;
    return true;
  default:
    return false;
  }
}

unsigned int KQWheelSetting(bool horizontal) noexcept {
  UINT perNotch = 3;
  if (!::SystemParametersInfoA(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &perNotch,
                               0))
    perNotch = 3;
  return perNotch;
}

void KQTrackCopyMenu(CWnd& window, CPoint at) {
  if (at.x == -1 && at.y == -1) {
    at = CPoint(0, 0);
    ::ClientToScreen(window.GetSafeHwnd(), &at);
  }
  CMenu menu;
  if (!menu.Attach(::CreatePopupMenu()))
    return;
  ::AppendMenuA(menu.m_hMenu, MF_STRING, ID_EDIT_COPY, "&Copy\tCtrl+C");
  ::AppendMenuA(menu.m_hMenu, MF_STRING, ID_KQ_COPY_ALL, "Copy &all");
  ::TrackPopupMenu(menu.m_hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   window.GetSafeHwnd(), nullptr);
}
