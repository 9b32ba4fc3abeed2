// Win32 only. Key map, wheel setting and copy menu of the opt-in text windows.
#include "view_input.h"

#include "kqwindowsex.h"

#ifndef SPI_GETWHEELSCROLLCHARS
#define SPI_GETWHEELSCROLLCHARS 0x006C
#endif

bool KQKeyScroll(UINT key, bool ctrl, int& bar, UINT& code) noexcept {
  // Each key's request alone and with Ctrl (only Home and End differ).
  static const struct {
    UINT key;
    int bar, ctrlBar;
    UINT code, ctrlCode;
  } keys[] = {{VK_UP, SB_VERT, SB_VERT, SB_LINEUP, SB_LINEUP},
              {VK_DOWN, SB_VERT, SB_VERT, SB_LINEDOWN, SB_LINEDOWN},
              {VK_LEFT, SB_HORZ, SB_HORZ, SB_LINELEFT, SB_LINELEFT},
              {VK_RIGHT, SB_HORZ, SB_HORZ, SB_LINERIGHT, SB_LINERIGHT},
              {VK_PRIOR, SB_VERT, SB_VERT, SB_PAGEUP, SB_PAGEUP},
              {VK_NEXT, SB_VERT, SB_VERT, SB_PAGEDOWN, SB_PAGEDOWN},
              {VK_HOME, SB_HORZ, SB_VERT, SB_LEFT, SB_TOP},
              {VK_END, SB_HORZ, SB_VERT, SB_RIGHT, SB_BOTTOM}};
  for (const auto& k : keys) {
    if (k.key == key) {
      bar = ctrl ? k.ctrlBar : k.bar;
      code = ctrl ? k.ctrlCode : k.code;
      return true;
    }
  }
  return false;
}

unsigned int KQWheelSetting(bool horizontal) noexcept {
  UINT perNotch = 3;
  if (!::SystemParametersInfoA(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &perNotch,
                               0))
    perNotch = 3;
  return perNotch;
}

void KQTrackViewerMenu(CWnd& window, CPoint at) {
  if (at.x == -1 && at.y == -1) {
    at = CPoint(0, 0);
    ::ClientToScreen(window.GetSafeHwnd(), &at);
  }
  static const struct {
    UINT id; // 0: a separator
    const char* text;
  } items[] = {{ID_EDIT_COPY, "&Copy\tCtrl+C"},
               {ID_KQ_COPY_ALL, "Copy &all"},
               {ID_EDIT_SELECT_ALL, "Select a&ll\tCtrl+A"},
               {0, nullptr},
               {ID_EDIT_FIND, "&Find...\tCtrl+F"},
               {ID_EDIT_REPEAT, "Find &next\tF3"},
               {0, nullptr},
               {ID_FILE_SAVE_AS, "Sa&ve as..."}};
  CMenu menu;
  if (!menu.Attach(::CreatePopupMenu()))
    return;
  for (const auto& item : items)
    ::AppendMenuA(menu.m_hMenu, item.id != 0 ? MF_STRING : MF_SEPARATOR, item.id, item.text);
  // The items' states, as a frame window sets those of its menus before they open.
  CCmdUI state;
  state.m_pMenu = &menu;
  state.m_nIndexMax = static_cast<UINT>(sizeof(items) / sizeof(items[0]));
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = items[state.m_nIndex].id;
    if (state.m_nID != 0)
      state.DoUpdate(&window, FALSE);
  }
  ::TrackPopupMenu(menu.m_hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   window.GetSafeHwnd(), nullptr);
}
