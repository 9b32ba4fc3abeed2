// Opt-in additions to the text windows of kqmfc.dll: copying their lines to the clipboard, and window
// classes that work as log viewers: they scroll with the mouse wheel and the keyboard, select text with
// the mouse, copy, find and save.
//
// COutputWindow and CFastDisplayWnd themselves handle no keyboard, mouse, menu or command message; a
// host that wants these picks them here:
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
//     Ctrl+Home / End    first / last line
//     left button        press and drag selects from the press point to the pointer, across lines; the
//                        mouse is captured, so the drag goes on outside the client area and the view
//                        scrolls towards the pointer; Shift+click extends the selection from its anchor;
//                        a plain click clears it (and gives the window the keyboard focus: a child
//                        window does not take it by itself); a double-click selects the word under the
//                        pointer (the window class needs CS_DBLCLKS: the output window's has it; a host
//                        creating the fast display window gives its own class that style);
//     Ctrl+A             select all          Escape             clear the selection
//     Ctrl+C             copy                Ctrl+F             find
//     F3 / Shift+F3      find the next match down / up
//     right click, Shift+F10 or the menu key: a context menu with the commands below.
//   Commands (WM_COMMAND, with ON_UPDATE_COMMAND_UI handlers so that a host's own Edit and File menus
//   grey what does not apply when its frame routes commands to the focused window):
//     ID_EDIT_COPY       the selection when there is one (exactly its characters; each line's part up to
//                        its first NUL byte; lines joined by CR LF), otherwise KQCopyVisible; greyed when
//                        the window holds no text
//     ID_KQ_COPY_ALL     KQCopyAll; greyed when the window holds no text
//     ID_EDIT_SELECT_ALL every kept line; greyed when the window holds no text
//     ID_EDIT_FIND       the find dialog (CFindReplaceDialog, modeless, one per window): Match whole
//                        word only, Match case, Up / Down. It starts with the selection when that lies
//                        in one line, else with the last text searched for
//     ID_EDIT_REPEAT     the next match in the last direction (F3); greyed before a first search
//     ID_FILE_SAVE_AS    the save dialog (CFileDialog, .txt by default, asks before replacing a file),
//                        then the kept lines in SaveAs's format (COutputWindow::SaveAs itself for the
//                        output window). When the file cannot be opened for writing a message box names
//                        it and says why; the lines stay as they were. (Write errors after the file
//                        was opened are not reported, as for SaveAs.)
//   Find searches from the selection (from its end downwards, from its start upwards) or, without one,
//   from the top of the view, and does not wrap around: a match is selected and scrolled into view
//   (vertically and horizontally); when there is none the default beep sounds and the selection stays.
//   The output window is searched under its lock: writers on other threads wait only for the search.
//
//   The selection is held as line indices and columns in the window's list (GetSelection). It stays
//   with the view: in a full window receiving text the lines move up under the view and under the
//   selection alike, as the window's fields count no dropped lines. The selection is clipped to the
//   kept lines wherever it is used. OnClearBuffer called on the Ex class clears it.
//   It is painted in the system's highlight colours (COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT) in the
//   window's own font.
//
//   Every scroll is one request to the base class's OnVScroll / OnHScroll with a scroll-bar request code
//   (SB_LINEUP, SB_PAGEDOWN, SB_TOP, ...; a wheel message's whole rotation is one SB_THUMBPOSITION at
//   the position it reaches), so it follows the same rule as the scroll bars and redraws once. The fast
//   display window's pending input is not touched: keys are not input.
#pragma once

#include "kqtextselection.h"
#include "kqwindows.h"

#include <afxres.h>

class CFindReplaceDialog;

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

// The state an opt-in window adds to its base class; the window's own thread reads and writes it.
struct KQViewerState {
  long long wheelPending;         // vertical wheel rotation not yet scrolled
  long long hWheelPending;        // horizontal wheel rotation not yet scrolled
  KQTextSelection selection;      // empty when nothing is selected
  bool selecting;                 // the left button is down: the mouse is captured
  POINT dragPoint;                // the pointer's last client position during a drag
  CFindReplaceDialog* findDialog; // the open find dialog, or NULL
  char findWhat[128];             // the last text searched for (NUL-terminated)
  DWORD findFlags;                // its FR_DOWN, FR_MATCHCASE and FR_WHOLEWORD
};

// COutputWindow as a log viewer (see above). Create, Display and the rest are COutputWindow's; allocate
// with new like every frame window.
class KQMFC_API COutputWindowEx : public COutputWindow {
public:
  COutputWindowEx();
  ~COutputWindowEx() override;
  COutputWindowEx(const COutputWindowEx&) = delete;
  COutputWindowEx& operator=(const COutputWindowEx&) = delete;

  // The selection; empty (anchor == caret) when there is none. Its positions may lie beyond the kept
  // lines after COutputWindow::OnClearBuffer was called through the base class.
  KQTextSelection GetSelection() const noexcept { return m_viewer.selection; }
  // COutputWindow::OnClearBuffer, and the selection cleared. On the window's own thread.
  void OnClearBuffer();

  // Message handlers, on the window's own thread (the framework's entries ON_WM_..., ON_COMMAND,
  // ON_UPDATE_COMMAND_UI and ON_REGISTERED_MESSAGE for the find dialog's FINDMSGSTRING).
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point); // scrolls; TRUE
  afx_msg void OnMouseHWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags); // other keys: the base class's handling
  afx_msg void OnContextMenu(CWnd* window, CPoint point);    // point (-1, -1): from the keyboard
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* window);
  afx_msg void OnTimer(UINT_PTR id); // the drag's scrolling while the pointer is outside
  afx_msg void OnPaint();            // the base class's painting, with the selection highlighted
  afx_msg void OnDestroy();          // closes the find dialog
  afx_msg void OnEditCopy();
  afx_msg void OnCopyAll();
  afx_msg void OnEditSelectAll();
  afx_msg void OnEditFind();
  afx_msg void OnEditRepeat();
  afx_msg void OnFileSaveAs();
  afx_msg void OnUpdateNeedsText(CCmdUI* cmdUI); // copy, copy all, select all
  afx_msg void OnUpdateEditRepeat(CCmdUI* cmdUI);
  afx_msg LRESULT OnFindReplace(WPARAM, LPARAM lParam);

private:
  KQViewerState m_viewer;

  DECLARE_MESSAGE_MAP()
};

// CFastDisplayWnd as a log viewer (see above). The host creates the window as for CFastDisplayWnd.
class KQMFC_API CFastDisplayWndEx : public CFastDisplayWnd {
public:
  CFastDisplayWndEx();
  ~CFastDisplayWndEx() override;
  CFastDisplayWndEx(const CFastDisplayWndEx&) = delete;
  CFastDisplayWndEx& operator=(const CFastDisplayWndEx&) = delete;

  KQTextSelection GetSelection() const noexcept { return m_viewer.selection; }
  void OnClearBuffer();

  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnMouseHWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg void OnContextMenu(CWnd* window, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* window);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg void OnEditCopy();
  afx_msg void OnCopyAll();
  afx_msg void OnEditSelectAll();
  afx_msg void OnEditFind();
  afx_msg void OnEditRepeat();
  afx_msg void OnFileSaveAs();
  afx_msg void OnUpdateNeedsText(CCmdUI* cmdUI);
  afx_msg void OnUpdateEditRepeat(CCmdUI* cmdUI);
  afx_msg LRESULT OnFindReplace(WPARAM, LPARAM lParam);

private:
  KQViewerState m_viewer;

  DECLARE_MESSAGE_MAP()
};
