// Opt-in additions to the text windows of kqmfc.dll: copying their lines to the clipboard, and window
// classes that scroll with the mouse wheel and the keyboard and copy with Ctrl+C and a context menu.
//
// COutputWindow and CFastDisplayWnd themselves handle no keyboard, mouse-wheel, menu or command message;
// a host that wants these picks them here:
//
// - KQCopyVisible / KQCopyAll: free functions a host calls, as it calls OnFont, for example from its own
//   Edit menu. They are free functions in this header rather than members so that the two window
//   classes keep exactly their interface and layout: they reach only the windows' public state
//   (m_lines under m_lock, the view fields).
// - COutputWindowEx / CFastDisplayWndEx: the windows with their own message maps, chained to the base
//   class's map, adding
//     mouse wheel        WM_MOUSEWHEEL by the user's "lines per notch" setting (SPI_GETWHEELSCROLLLINES;
//                        a page per notch when it is WHEEL_PAGESCROLL), WM_MOUSEHWHEEL by the "characters
//                        per notch" setting (SPI_GETWHEELSCROLLCHARS); partial notches add up;
//     Up / Down          one line            Left / Right       one column
//     Page Up / Down     one page            Home / End         first / last column
//     Ctrl+Home / End    first / last line   Ctrl+C             KQCopyVisible
//     right click, Shift+F10 or the menu key: a context menu with "Copy" (ID_EDIT_COPY) and
//                        "Copy all" (ID_KQ_COPY_ALL); both commands may also be sent as WM_COMMAND;
//     left click         takes the keyboard focus (a child window does not take it by itself).
//   Every scroll is one request to the base class's OnVScroll / OnHScroll with a scroll-bar request code
//   (SB_LINEUP, SB_PAGEDOWN, SB_TOP, ...; a wheel message's whole rotation is one SB_THUMBPOSITION at
//   the position it reaches), so it follows the same rule as the scroll bars and redraws once. The fast
//   display window's pending input is not touched: keys are not input.
#pragma once

#include "kqwindows.h"

#include <afxres.h>

// The commands of the opt-in windows (WM_COMMAND ids). Copy is the framework's standard ID_EDIT_COPY, so
// that a host's ordinary Edit menu item reaches the window. Copy all has no standard id: the library's
// own is at the top of the range left to applications (0x8000 to 0xDFFF), outside the framework's
// reserved 0xE000 to 0xEFFF; a host whose own commands use it must route them before the window.
#define ID_KQ_COPY_ALL 0xDF10

// Puts the lines the window shows (from the top line down to the last line at least partly visible) on
// the clipboard as CF_TEXT: each line up to its first NUL byte, followed by CR LF. An empty current line
// at the end is left out. The window must exist. For COutputWindow the lines are copied under its lock
// and formatted after it is released: a thread appending meanwhile waits only for the copy. Returns 1; 0
// when the clipboard could not be opened or no memory could be had (nothing is thrown; the clipboard
// may then be empty).
KQMFC_API int KQCopyVisible(COutputWindow& window);
KQMFC_API int KQCopyVisible(CFastDisplayWnd& window);
// The same with every kept line, oldest first.
KQMFC_API int KQCopyAll(COutputWindow& window);
KQMFC_API int KQCopyAll(CFastDisplayWnd& window);

// COutputWindow with wheel, keyboard and copy handling (see above). Create, Display and the rest are
// COutputWindow's; allocate with new like every frame window.
class KQMFC_API COutputWindowEx : public COutputWindow {
public:
  COutputWindowEx();
  ~COutputWindowEx() override;
  COutputWindowEx(const COutputWindowEx&) = delete;
  COutputWindowEx& operator=(const COutputWindowEx&) = delete;

  // Message handlers (the framework's message-map entries ON_WM_MOUSEWHEEL, ON_WM_MOUSEHWHEEL,
  // ON_WM_KEYDOWN, ON_WM_CONTEXTMENU, ON_WM_LBUTTONDOWN and ON_COMMAND), on the window's own thread.
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point); // scrolls; TRUE
  afx_msg void OnMouseHWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags); // other keys: the base class's handling
  afx_msg void OnContextMenu(CWnd* window, CPoint point);    // point (-1, -1): from the keyboard
  afx_msg void OnLButtonDown(UINT flags, CPoint point);      // focus, then the base class's handling
  afx_msg void OnEditCopy();                                 // ID_EDIT_COPY: KQCopyVisible
  afx_msg void OnCopyAll();                                  // ID_KQ_COPY_ALL: KQCopyAll

private:
  long long m_wheelPending;  // vertical wheel rotation not yet scrolled
  long long m_hWheelPending; // horizontal wheel rotation not yet scrolled

  DECLARE_MESSAGE_MAP()
};

// CFastDisplayWnd with wheel, keyboard and copy handling (see above). The host creates the window as
// for CFastDisplayWnd.
class KQMFC_API CFastDisplayWndEx : public CFastDisplayWnd {
public:
  CFastDisplayWndEx();
  ~CFastDisplayWndEx() override;
  CFastDisplayWndEx(const CFastDisplayWndEx&) = delete;
  CFastDisplayWndEx& operator=(const CFastDisplayWndEx&) = delete;

  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnMouseHWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg void OnContextMenu(CWnd* window, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnEditCopy();
  afx_msg void OnCopyAll();

private:
  long long m_wheelPending;
  long long m_hWheelPending;

  DECLARE_MESSAGE_MAP()
};
