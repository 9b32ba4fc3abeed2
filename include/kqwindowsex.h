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
//     right click, Shift+F10 or the menu key: a context menu with "Copy" (ID_KQ_COPY_VISIBLE) and
//                        "Copy all" (ID_KQ_COPY_ALL); both commands may also be sent as WM_COMMAND;
//     left click         takes the keyboard focus (a child window does not take it by itself).
//   Every scroll goes through the base class's OnVScroll / OnHScroll with the scroll-bar request codes
//   (SB_LINEUP, SB_PAGEDOWN, SB_TOP, ...), so it follows the same rule as the scroll bars. The fast
//   display window's pending input is not touched: keys are not input.
#pragma once

#include "kqwindows.h"

// The context menu's commands (WM_COMMAND ids), in the framework's own range.
#define ID_KQ_COPY_VISIBLE 0xEF10
#define ID_KQ_COPY_ALL 0xEF11

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

  // Message handlers (ON_MESSAGE entries; each returns the message's result, 0).
  afx_msg LRESULT OnMouseWheelMessage(WPARAM wParam, LPARAM lParam);  // WM_MOUSEWHEEL
  afx_msg LRESULT OnMouseHWheelMessage(WPARAM wParam, LPARAM lParam); // WM_MOUSEHWHEEL
  afx_msg LRESULT OnKeyDownMessage(WPARAM wParam, LPARAM lParam);     // WM_KEYDOWN; other keys: default
  afx_msg LRESULT OnContextMenuMessage(WPARAM wParam, LPARAM lParam); // WM_CONTEXTMENU
  afx_msg LRESULT OnLButtonDownMessage(WPARAM wParam, LPARAM lParam); // WM_LBUTTONDOWN: focus, default
  afx_msg void OnCopyVisible();                                       // ID_KQ_COPY_VISIBLE
  afx_msg void OnCopyAll();                                           // ID_KQ_COPY_ALL

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

  afx_msg LRESULT OnMouseWheelMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMouseHWheelMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnKeyDownMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnContextMenuMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLButtonDownMessage(WPARAM wParam, LPARAM lParam);
  afx_msg void OnCopyVisible();
  afx_msg void OnCopyAll();

private:
  long long m_wheelPending;
  long long m_hWheelPending;

  DECLARE_MESSAGE_MAP()
};
