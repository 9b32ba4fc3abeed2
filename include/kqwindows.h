// Text windows of kqmfc.dll: the output frame window, the fast display window and the input dialog.
//
// COutputWindow  a frame window (top-level or child) keeping up to 29,999 lines of 140 characters, with
//                scroll bars, a font dialog and SaveAs; Display may be called from any thread.
// CFastDisplayWnd a child window the host creates, keeping up to 64,999 lines of 80 characters, plus a
//                queue of pending input text; used by one thread.
// CInputDlg      a modal dialog asking for one line of text, from the host's dialog template 100.
//
// The windows handle no keyboard, mouse-wheel, menu or command message; kqwindowsex.h has opt-in classes
// derived from them that scroll with the wheel and the keys and copy to the clipboard, and copy functions
// for hosts that keep these classes.
//
// Both windows store text by the same rules: a tab moves to the next multiple of 8 (at least one
// space; what would pass the line width is dropped), a line feed ends the line, a carriage return is
// dropped, every other byte (NUL included) is stored as it is, a line that reaches the width is ended,
// and once the line count reaches the cap the oldest line goes. The last line is the "current" line
// that text is appended to.
//
// This header may also be included by a resource script (.rc): only the resource numbers are seen there.
#pragma once

// Resources the host supplies for CInputDlg: a dialog template with an edit control and the standard
// IDOK and IDCANCEL buttons.
#define IDD_INPUT_DIALOG 100
#define IDC_INPUT_EDIT 101

#ifndef RC_INVOKED

#include "kqexport.h"

#include <afxwin.h>

// The output window's recursive lock: a Windows critical section that lives as long as its owner.
class KQCriticalSection {
public:
  KQCriticalSection() noexcept { ::InitializeCriticalSection(&section); }
  ~KQCriticalSection() { ::DeleteCriticalSection(&section); }
  KQCriticalSection(const KQCriticalSection&) = delete;
  KQCriticalSection& operator=(const KQCriticalSection&) = delete;

  void lock() noexcept { ::EnterCriticalSection(&section); }
  void unlock() noexcept { ::LeaveCriticalSection(&section); }

private:
  CRITICAL_SECTION section;
};

// A frame window that shows the text written to it as a scrolling list of lines, and keeps those lines
// (at most 29,999: 29,998 completed lines and the current line, each at most 140 characters) so that
// they can be saved to a file.
//
// Threads: Display may be called from any thread at any time, concurrently, while the window's own
// thread paints; each call's text is stored in one piece. The window's thread must keep handling
// messages while other threads call Display (Display ends with scroll-bar calls on the window).
// OnClearBuffer and SaveAs are for the host, on any thread (they take the lock; OnClearBuffer's view
// update, like Display's, ends in scroll-bar calls on the window). OnFont and every message handler run
// on the window's own thread: OnFont holds the lock across its scroll-bar calls.
//
// Lifetime: allocate with new and never delete it while its window exists: like every frame window it
// deletes itself once its window is destroyed (CFrameWnd), or when Create fails. Nothing may call
// Display (for instance through a KQMFCLogBuffer) once the window's destruction has begun.
//
// Before the window exists (between the constructor and Create), Display and OnClearBuffer store and
// clear lines as usual and skip the view update; the window shows the lines once it is created.
class KQMFC_API COutputWindow : public CFrameWnd {
public:
  // No window yet; one empty current line.
  COutputWindow();
  // Frees every line (the window itself goes by the frame window's rules).
  ~COutputWindow() override;
  COutputWindow(const COutputWindow&) = delete;
  COutputWindow& operator=(const COutputWindow&) = delete;

  // Creates a visible overlapped top-level window titled `title` (not null) at the system's default
  // place, with both scroll bars; its Close command is greyed (the host destroys the window), and it
  // is shown and painted at once. 1 on success; 0 on failure, and then the object has deleted itself.
  int Create(const char* title);
  // Creates a visible child window of `parent` at `rect` (parent client coordinates), with both
  // scroll bars. Result as above.
  int Create(const char* title, const RECT& rect, CWnd* parent);

  // Appends the NUL-terminated `text` (not null).
  void Display(const char* text);
  // Appends the `len` bytes at `text` (not NUL-terminated; NUL bytes are stored; nothing when len <= 0)
  // and updates the view: scroll ranges recomputed, the window invalidated (painted later by its own
  // thread), and, when the view showed the last line, the view moved so that it still does. A scroll
  // bar that already has the range and position to be set is left alone (no redraw): with a full store
  // that follows its last line, each call invalidates the window and sets no bar.
  // When memory runs out, the framework's CMemoryException* is thrown (by CString or CStringList) after
  // the bytes before it are stored; the lock is released and later calls work as before.
  void Display(const char* text, int len);
  // Forgets every line, keeps one empty current line and returns the view to the first line.
  void OnClearBuffer();
  // Writes every line to the file `fileName` (created or truncated; others may read and write it
  // meanwhile): each line up to its first NUL byte followed by CR LF, the current line last (even when
  // empty), then one more CR LF. 1 when the file could be opened, 0 when not (nothing written then).
  // Write errors after the open are not reported.
  int SaveAs(const char* fileName);

  // Lets the user choose font and text colour in the font dialog (modal); on the window's own thread
  // only. After OK every line is drawn in them and the view goes back to the first line and column.
  // Cancel changes nothing.
  void OnFont();

  // Message handlers (the window's message map routes WM_CREATE, WM_PAINT, WM_SIZE, WM_HSCROLL and
  // WM_VSCROLL here).
  // Stock fixed font, window-text colour, cell sizes. Returns 0.
  afx_msg int OnCreate(LPCREATESTRUCT create);
  // Draws the lines that meet the invalid rectangle, and one more above and below. The lock is held
  // only while those lines are copied (or, when no memory can be had for the copy, while they are
  // drawn), so that writers on other threads do not wait for the drawing.
  afx_msg void OnPaint();
  // The view update: client size cx x cy stored, scroll ranges and positions recomputed, bars set
  // (only those whose range or position changes), whole client area invalidated. Display,
  // OnClearBuffer and OnFont call it with the stored size.
  afx_msg void OnSize(UINT type, int cx, int cy);
  // Scroll by columns: line requests by 1, page requests by an eighth of the visible columns; the
  // thumb is followed when it is released, not while it is dragged.
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  // Scroll by lines: page requests by the number of whole visible lines (at least 1).
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);

  // The window's state, in this order. Hosts may read it on the window's thread; writing it is not
  // supported. View fields are 0 until the window is created.
  LOGFONTA m_logFont;       // display font
  COLORREF m_textColor;     // text colour
  CStringList m_lines;      // lines, oldest first; the last is the current line (guarded by m_lock)
  int m_charWidth;          // average character width in pixels: the horizontal scroll unit
  int m_lineHeight;         // line height in pixels: the vertical scroll unit
  int m_hScrollPos;         // first column shown, 0 .. m_hScrollMax
  int m_vScrollPos;         // index of the line shown at the top, 0 .. m_vScrollMax
  int m_capsWidth;          // width of a capital letter in pixels
  int m_textWidth;          // pixel width taken for a whole line: 141 * m_capsWidth
  int m_clientWidth;        // client width in pixels at the last size notification
  int m_clientHeight;       // client height in pixels at the last size notification
  int m_vScrollMax;         // upper end of the vertical range, never below 0
  int m_hScrollMax;         // upper end of the horizontal range, never below 0
  long long m_maxLines;     // line cap: 30000 (the list holds at most 29999)
  int m_lineWidth;          // characters after which a line is completed: 140
  KQCriticalSection m_lock; // recursive; guards m_lines

private:
  // Cell sizes from m_logFont; both scroll positions back to 0 (the bars follow at the next OnSize).
  void calcTextMetrics();
  // Under the lock: appends an empty current line, then scrollOffTop.
  void lineFeed();
  // Under the lock: drops the oldest line when the list holds m_maxLines or more.
  void scrollOffTop();
  // True once the window exists and has its cell sizes: the view update can run.
  bool hasView() const noexcept;

  DECLARE_MESSAGE_MAP()
};

// A child window that shows the text written to it as a scrolling list of lines (at most 64,999 lines
// of 80 characters, the oldest dropped first) and holds a queue of pending input text that the host
// fills (ReturnInput) and drains (GetInput). The host constructs it and creates the window itself with
// CWnd::Create/CreateEx (any window class, style, parent and size; give it WS_HSCROLL | WS_VSCROLL for
// scroll bars); the window handles no keyboard, mouse or command messages.
//
// Threads: no lock. Use it from the thread that owns the window.
//
// Before the window exists, Display, OnClearBuffer and GetInput work on the lines and the queue and
// skip everything that needs the window (view update, scrolling, restore and minimise).
class KQMFC_API CFastDisplayWnd : public CWnd {
public:
  // No window yet; one empty line, no pending input.
  CFastDisplayWnd();
  ~CFastDisplayWnd() override;
  CFastDisplayWnd(const CFastDisplayWnd&) = delete;
  CFastDisplayWnd& operator=(const CFastDisplayWnd&) = delete;

  // The scroll rule of both text windows: the number of units to add to currentPos (range 0 ..
  // maxPos) for the scroll-bar request scrollCode (SB_LINEUP .. SB_ENDSCROLL; thumbPos is read only for
  // SB_THUMBPOSITION). Line requests move by lineStep, page requests by pageStep, SB_TOP/SB_BOTTOM to
  // the ends, SB_THUMBPOSITION to thumbPos; the result is limited so that a position inside the range
  // stays inside (from above the range it comes back to maxPos; when maxPos < 0 the result is
  // -currentPos). SB_THUMBTRACK, SB_ENDSCROLL and unknown codes give 0. No state, no window calls.
  static int compute_scroll_pos_delta(unsigned int scrollCode, unsigned int thumbPos, int currentPos,
                                      int maxPos, int lineStep, int pageStep);

  // Appends the `count` bytes at `text` (NUL bytes included; nothing when count <= 0), then recomputes
  // the scroll ranges and invalidates the window. The view does not move to the new text. When memory
  // runs out, CMemoryException* is thrown after the bytes before it are stored.
  void Display(const char* text, int count);
  // Empties the pending input, leaves one empty line, recomputes the ranges (the view returns to the
  // first line) and invalidates the window.
  void OnClearBuffer();
  // Puts the `count` bytes at `text` (only read) in front of the pending input: they are the next that
  // GetInput returns. count <= 0 adds nothing. Returns 1. When memory runs out, CMemoryException* is
  // thrown and the pending input is unchanged.
  int ReturnInput(char* text, int count);
  // Moves up to `size` bytes from the front of the pending input into `buffer` (no NUL added) and
  // returns how many it moved (0 when size <= 0). Never waits. When nothing is pending it first shows
  // the last page (and restores a minimised window for the update, then minimises it again).
  int GetInput(char* buffer, int size);
  // Empties the pending input. Returns 1.
  int FlushInput();

  // Lets the user choose font and text colour in the font dialog (modal); after OK the view goes back
  // to the first line and column. Cancel changes nothing.
  void OnFont();

  // Message handlers (WM_PAINT, WM_CREATE, WM_SIZE, WM_HSCROLL, WM_VSCROLL).
  // Stock fixed font, window-text colour, cell sizes. Returns 0.
  afx_msg int OnCreate(LPCREATESTRUCT create);
  // Draws the lines that meet the invalid rectangle, and one more above and below.
  afx_msg void OnPaint();
  // Stores the client size, recomputes the ranges, clamps the positions, sets the bars (only those whose
  // range or position changes: setting a bar redraws it) and invalidates the window. Display,
  // OnClearBuffer, GetInput and OnFont call it with the stored size.
  afx_msg void OnSize(UINT type, int cx, int cy);
  // Scroll by columns (page: an eighth of the visible columns) and by lines (page: the whole visible
  // lines), by compute_scroll_pos_delta; the thumb is followed only when released.
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);

  // The window's state, in this order (readable by the host; writing it is not supported).
  LOGFONTA m_logFont;   // display font
  COLORREF m_textColor; // text colour
  CStringList m_lines;  // lines, oldest first; the last is the current line
  CString m_input;      // pending input, taken from the front
  int m_charWidth;      // average character width in pixels: the horizontal scroll unit
  int m_lineHeight;     // line height in pixels: the vertical scroll unit
  int m_hScrollPos;     // first column shown, 0 .. m_hScrollMax
  int m_vScrollPos;     // index of the line shown at the top, 0 .. m_vScrollMax
  int m_capsWidth;      // width of a capital letter in pixels
  int m_textWidth;      // pixel width taken for a whole line: 81 * m_capsWidth
  int m_clientWidth;    // client width in pixels at the last OnSize
  int m_clientHeight;   // client height in pixels at the last OnSize
  int m_vScrollMax;     // upper end of the vertical range
  int m_hScrollMax;     // upper end of the horizontal range
  INT_PTR m_maxLines;   // line cap: 65000 (the list holds at most 64999)
  int m_lineWidth;      // characters per line: 80

private:
  // Cell sizes from m_logFont; both scroll positions back to 0.
  void calcTextMetrics();
  // Appends an empty line, then drops the oldest when the count reached m_maxLines.
  void lineFeed();
  // Drops the oldest line when the count is m_maxLines or more.
  void scrollOffTop();
  bool hasView() const noexcept;

  DECLARE_MESSAGE_MAP()
};

// A modal dialog asking for one line of text. The host supplies dialog template IDD_INPUT_DIALOG (100)
// with an edit control IDC_INPUT_EDIT (101) and IDOK/IDCANCEL buttons among its own resources.
//
//   CString answer;
//   CInputDlg dialog(parentWindow, answer);
//   if (dialog.DoModal() == IDOK) ...   // answer: the typed text and a line feed; after Cancel: empty
//
// Opening the dialog sounds the default beep once. The edit control starts empty.
class KQMFC_API CInputDlg : public CDialog {
public:
  // parent: owner of the dialog (NULL: the application's main window). `result` must outlive the
  // dialog; it is only written, when the dialog ends.
  CInputDlg(CWnd* parent, CString& result);
  ~CInputDlg() override;
  CInputDlg(const CInputDlg&) = delete;
  CInputDlg& operator=(const CInputDlg&) = delete;

  // The edit control (101) of the running dialog; only while the dialog window exists. The reference
  // may be to a temporary object: do not keep it beyond the current message.
  CEdit& EditCtl();

private:
  // Beeps (MessageBeep(MB_OK)) and lets the system focus the first control.
  BOOL OnInitDialog() override;
  // result = the edit control's text followed by a line feed; ends the dialog with IDOK.
  void OnOK() override;
  // result emptied; ends the dialog with IDCANCEL.
  void OnCancel() override;

  CString& m_result;
};

#endif // RC_INVOKED
