// Win32 only. The log-viewer handling that COutputWindowEx and CFastDisplayWndEx share, written once
// over the window type: selecting with the mouse and the keys, copying the selection, the find dialog,
// the save dialog and the commands' states. Each handler of the two classes calls one of these with the
// window and its KQViewerState.
#pragma once

#include "clipboard_text.h"
#include "find_text.h"
#include "kqwindowsex.h"
#include "line_position.h"
#include "text_selection.h"
#include "view_input.h"

#include <afxdlgs.h>

#include <algorithm>
#include <cstring>

// The drag's timer: while the pointer is outside the client area the view keeps scrolling towards it.
constexpr UINT_PTR kqDragTimer = 0x4B51;
constexpr UINT kqDragInterval = 50; // milliseconds

// The find dialog's registered message (FINDMSGSTRING), for the message maps.
extern const UINT kqFindMessage;

void KQInitViewer(KQViewerState& viewer) noexcept;

// The box that tells the user the file could not be written, and why (the C library's error number).
void KQReportSaveFailure(CWnd& window, const char* path, int error);

// The position under a client point: the line by the line height (above or below the view for points
// outside it), the column by KQColumnAt; within the kept lines.
template <class Window> KQTextPosition KQHitTest(Window& w, CPoint point) {
  const int lineHeight = std::max(KQLoadRelaxed(w.m_lineHeight), 1);
  const int charWidth = KQLoadRelaxed(w.m_charWidth);
  const long long row = point.y >= 0 ? point.y / lineHeight : -((lineHeight - 1 - point.y) / lineHeight);
  const long long line = KQLoadRelaxed(w.m_vScrollPos) + row;
  char text[256]; // a line holds at most the window's line width: 140 characters
  int length = 0;
  KQTextPosition at{line, 0};
  KQLinesOf(w).read([&](const CStringList& lines) {
    at = KQSnapPosition(lines, {line, 0});
    POSITION pos = KQLinePosition(lines, static_cast<INT_PTR>(at.line));
    const CString& found = lines.GetNext(pos);
    length = std::min(found.GetLength(), static_cast<int>(sizeof(text)));
    std::memcpy(text, found.GetString(), static_cast<size_t>(length));
  });
  at.column = KQColumnAt(w, w.m_logFont, charWidth, text, length,
                         point.x + KQLoadRelaxed(w.m_hScrollPos) * charWidth);
  return at;
}

template <class Window> void KQSetSelection(Window& w, KQViewerState& v, const KQTextSelection& selection) {
  v.selection = selection;
  w.InvalidateRect(nullptr, FALSE);
}

// The drag's end: the timer stopped and the mouse released (once; releasing it sends WM_CAPTURECHANGED).
template <class Window> void KQEndDrag(Window& w, KQViewerState& v) {
  if (!v.selecting)
    return;
  v.selecting = false;
  ::KillTimer(w.GetSafeHwnd(), kqDragTimer);
  if (::GetCapture() == w.GetSafeHwnd())
    ::ReleaseCapture();
}

// The caret moved to the drag's pointer: first the view scrolled one line and one column towards it
// when it is outside the client area, then the caret put at the nearest place inside.
template <class Window> void KQDragTo(Window& w, KQViewerState& v) {
  const CPoint point(v.dragPoint);
  const int width = KQLoadRelaxed(w.m_clientWidth), height = KQLoadRelaxed(w.m_clientHeight);
  if (point.y < 0 || point.y >= height)
    KQScrollRequest(w, SB_VERT, point.y < 0 ? SB_LINEUP : SB_LINEDOWN);
  if (point.x < 0 || point.x >= width)
    KQScrollRequest(w, SB_HORZ, point.x < 0 ? SB_LINELEFT : SB_LINERIGHT);
  KQTextSelection selection = v.selection;
  selection.caret = KQHitTest(w, CPoint(std::clamp<LONG>(point.x, 0, std::max(width - 1, 0)),
                                        std::clamp<LONG>(point.y, 0, std::max(height - 1, 0))));
  KQSetSelection(w, v, selection);
}

// WM_LBUTTONDOWN: the focus taken; Shift extends the selection to the point, a plain press clears it
// and starts a new one there; the drag begins.
template <class Window> void KQPressAt(Window& w, KQViewerState& v, UINT flags, CPoint point) {
  ::SetFocus(w.GetSafeHwnd());
  const KQTextPosition at = KQHitTest(w, point);
  KQSetSelection(w, v,
                 (flags & MK_SHIFT) != 0 ? KQTextSelection{v.selection.anchor, at} : KQTextSelection{at, at});
  v.selecting = true;
  v.dragPoint = point;
  w.SetCapture();
  ::SetTimer(w.GetSafeHwnd(), kqDragTimer, kqDragInterval, nullptr);
}

template <class Window> void KQMoveTo(Window& w, KQViewerState& v, CPoint point) {
  if (!v.selecting)
    return;
  v.dragPoint = point;
  KQDragTo(w, v);
}

template <class Window> void KQDragTimer(Window& w, KQViewerState& v, UINT_PTR id) {
  const CPoint point(v.dragPoint);
  if (id == kqDragTimer && v.selecting &&
      (point.x < 0 || point.y < 0 || point.x >= KQLoadRelaxed(w.m_clientWidth) ||
       point.y >= KQLoadRelaxed(w.m_clientHeight)))
    KQDragTo(w, v);
}

template <class Window> void KQSelectWordAt(Window& w, KQViewerState& v, CPoint point) {
  const KQTextPosition at = KQHitTest(w, point);
  KQTextSelection word{};
  KQLinesOf(w).read([&](const CStringList& lines) { word = KQWordAt(lines, at); });
  KQSetSelection(w, v, word);
}

template <class Window> void KQSelectAllLines(Window& w, KQViewerState& v) {
  KQTextSelection all{};
  KQLinesOf(w).read([&](const CStringList& lines) { all = KQSelectAll(lines); });
  KQSetSelection(w, v, all);
}

// True when the window holds any text: more than one empty current line.
template <class Window> bool KQHoldsText(Window& w) {
  return KQLinesOf(w).read(
      [](const CStringList& lines) { return lines.GetCount() > 1 || !lines.GetHead().IsEmpty(); });
}

// Copy: the selection's text when there is a selection, else the visible lines. The rows are copied
// under the lock and formatted after it.
template <class Window> void KQCopySelection(Window& w, KQViewerState& v) noexcept {
  if (v.selection.empty()) {
    KQCopyVisible(w);
    return;
  }
  KQCopiedLines copied;
  KQTextSelection selection{};
  const bool copiedAll = KQLinesOf(w).read([&](const CStringList& lines) {
    selection = {KQSnapPosition(lines, v.selection.anchor), KQSnapPosition(lines, v.selection.caret)};
    return KQCopyLines(lines, KQSelectedRows(selection), copied);
  });
  try {
    if (copiedAll)
      KQSetClipboardText(w.GetSafeHwnd(), KQSelectedText(copied, selection));
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException* e) {
    e->Delete();
  }
}

// A found match in view: the view moved (one request per axis) when the match lies outside it, the
// match's line to the middle of the page, its columns into the visible ones.
template <class Window> void KQShowMatch(Window& w, const KQTextSelection& match) {
  const KQViewAxis lines = KQAxisOf(w, SB_VERT), columns = KQAxisOf(w, SB_HORZ);
  const long long top = KQLoadRelaxed(lines.pos);
  const long long line = match.begin().line;
  if (line < top || line >= top + lines.page)
    KQScrollRequest(
        w, SB_VERT, SB_THUMBPOSITION,
        static_cast<UINT>(std::clamp<long long>(line - lines.page / 2, 0, std::max(lines.max, 0))));
  const int left = KQLoadRelaxed(columns.pos);
  const int visible = std::max(KQLoadRelaxed(w.m_clientWidth) / std::max(columns.unit, 1), 1);
  const int first = match.begin().column, end = match.end().column;
  if (first < left || end > left + visible) {
    const int target = first < left ? first : std::min(first, end - visible);
    KQScrollRequest(w, SB_HORZ, SB_THUMBPOSITION,
                    static_cast<UINT>(std::clamp(target, 0, std::max(columns.max, 0))));
  }
}

// Find next: from the selection (its end downwards, its start upwards) or from the top of the view,
// under the lock. A match is selected and shown; none beeps and leaves the selection.
template <class Window> void KQFindNext(Window& w, KQViewerState& v, bool down) {
  const KQFindOptions options{down, (v.findFlags & FR_MATCHCASE) != 0, (v.findFlags & FR_WHOLEWORD) != 0};
  const KQTextPosition from = v.selection.empty() ? KQTextPosition{KQLoadRelaxed(w.m_vScrollPos), 0}
                              : down              ? v.selection.end()
                                                  : v.selection.begin();
  KQTextSelection match{};
  const bool found = KQLinesOf(w).read([&](const CStringList& lines) {
    return KQFindText(lines, v.findWhat, static_cast<int>(std::strlen(v.findWhat)), from, options, match);
  });
  if (!found) {
    ::MessageBeep(MB_OK);
    return;
  }
  KQShowMatch(w, match);
  KQSetSelection(w, v, match);
}

// The find dialog opened over the window (or brought to the front when it is open already), starting
// with the selection when it lies in one line, else with the last text searched for.
template <class Window> void KQOpenFind(Window& w, KQViewerState& v) {
  if (v.findDialog != nullptr) {
    ::SetActiveWindow(v.findDialog->GetSafeHwnd());
    return;
  }
  const KQTextSelection selection = v.selection;
  if (!selection.empty() && selection.anchor.line == selection.caret.line)
    KQLinesOf(w).read([&](const CStringList& lines) {
      KQCopiedLines copied;
      if (!KQCopyLines(lines, KQSelectedRows(selection), copied) || copied.lengths.empty())
        return;
      const KQColumnRange columns = KQSelectedColumns(selection, copied.first, copied.lengths[0]);
      const auto length = std::min<size_t>(static_cast<size_t>(std::max(columns.end - columns.first, 0)),
                                           sizeof(v.findWhat) - 1);
      std::memcpy(v.findWhat, copied.text.data() + columns.first, length);
      v.findWhat[length] = '\0';
    });
  auto* dialog = new (std::nothrow) CFindReplaceDialog;
  if (dialog == nullptr)
    return;
  if (dialog->Create(TRUE, v.findWhat, nullptr, v.findFlags, &w)) // on failure it deletes itself
    v.findDialog = dialog;
}

// The find dialog's message: Find Next searches with its text and options; its closing forgets it.
template <class Window> LRESULT KQOnFindMessage(Window& w, KQViewerState& v, LPARAM lParam) {
  CFindReplaceDialog* dialog = CFindReplaceDialog::GetNotifier(lParam);
  if (dialog->IsTerminating()) {
    v.findDialog = nullptr;
    return 0;
  }
  if (dialog->FindNext()) {
    const CString what = dialog->GetFindString();
    const auto length = std::min<size_t>(static_cast<size_t>(what.GetLength()), sizeof(v.findWhat) - 1);
    std::memcpy(v.findWhat, what.GetString(), length);
    v.findWhat[length] = '\0';
    v.findFlags = dialog->m_fr.Flags & (FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD);
    KQFindNext(w, v, (v.findFlags & FR_DOWN) != 0);
  }
  return 0;
}

// F3 / Find next: the last search again (down, or up when `reverse`), or the dialog before a first one.
template <class Window> void KQRepeatFind(Window& w, KQViewerState& v, bool reverse) {
  if (v.findWhat[0] == '\0')
    KQOpenFind(w, v);
  else
    KQFindNext(w, v, ((v.findFlags & FR_DOWN) != 0) != reverse);
}

// The lines written to a file in SaveAs's format: SaveAs itself for the output window.
inline bool KQSaveLinesTo(COutputWindow& w, const char* path) {
  return w.SaveAs(path) != 0;
}
inline bool KQSaveLinesTo(CFastDisplayWnd& w, const char* path) {
  return KQWriteLinesFile(w, path);
}

// Save as: the save dialog, then the file; a box when it cannot be written.
template <class Window> void KQSaveWithDialog(Window& w) {
  CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "Text files (*.txt)|*.txt|All files (*.*)|*.*||", &w);
  if (dialog.DoModal() != IDOK)
    return;
  const CString path = dialog.GetPathName();
  errno = 0;
  if (!KQSaveLinesTo(w, path.GetString()))
    KQReportSaveFailure(w, path.GetString(), errno);
}

// A WM_KEYDOWN key of the viewer; false for a key it does not handle.
template <class Window> bool KQViewerKey(Window& w, KQViewerState& v, UINT key) {
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  if (ctrl && key == 'A')
    KQSelectAllLines(w, v);
  else if (ctrl && key == 'F')
    KQOpenFind(w, v);
  else if (key == VK_F3)
    KQRepeatFind(w, v, ::GetKeyState(VK_SHIFT) < 0);
  else if (key == VK_ESCAPE)
    KQSetSelection(w, v, KQTextSelection{});
  else
    return KQViewKey(w, key, [&] { KQCopySelection(w, v); });
  return true;
}
