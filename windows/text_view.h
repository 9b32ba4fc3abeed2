// Win32 only. The view both text windows share, written once over the window type: cell sizes, the
// view update, painting, scroll requests and the font dialog. COutputWindow and CFastDisplayWnd have
// the same view fields under the same names; each window's handlers call these. The fields are read
// and written whole with relaxed accesses (the output window's view update runs on writer threads),
// and the lines are reached through KQLinesOf, under the output window's lock.
#pragma once

#include "relaxed_field.h"
#include "view_gdi.h"
#include "view_math.h"
#include "window_lines.h"

#include <algorithm>
#include <climits>

// True once the window exists and has its cell sizes: the view update can run.
template <class Window> bool KQHasView(const Window& w) noexcept {
  return w.GetSafeHwnd() != nullptr && KQLoadRelaxed(w.m_lineHeight) > 0 && KQLoadRelaxed(w.m_charWidth) > 0;
}

// calcTextMetrics: cell sizes from the window's font (kept as they were when it cannot be measured),
// both scroll positions back to 0; the bars follow at the next view update.
template <class Window> void KQMeasureView(Window& w) {
  KQCellMetrics cells;
  if (KQMeasureFont(w, w.m_logFont, w.m_lineWidth, cells)) {
    KQStoreRelaxed(w.m_charWidth, cells.charWidth);
    KQStoreRelaxed(w.m_capsWidth, cells.capsWidth);
    KQStoreRelaxed(w.m_lineHeight, cells.lineHeight);
    KQStoreRelaxed(w.m_textWidth, cells.textWidth);
  }
  KQStoreRelaxed(w.m_hScrollPos, 0);
  KQStoreRelaxed(w.m_vScrollPos, 0);
}

// OnSize: the client size stored, the ranges recomputed from the line count (read under the lock), the
// positions clamped, the bars set (only those whose range or position changes), everything invalidated.
template <class Window> void KQSizeView(Window& w, int cx, int cy) {
  KQStoreRelaxed(w.m_clientWidth, cx);
  KQStoreRelaxed(w.m_clientHeight, cy);
  const long long count = KQLinesOf(w).count();
  const int vMax = KQVScrollMax(count, cy, KQLoadRelaxed(w.m_lineHeight));
  const int hMax = KQHScrollMax(KQLoadRelaxed(w.m_textWidth), cx, KQLoadRelaxed(w.m_charWidth));
  KQStoreRelaxed(w.m_vScrollMax, vMax);
  KQStoreRelaxed(w.m_hScrollMax, hMax);
  const int vPos = std::min(KQLoadRelaxed(w.m_vScrollPos), vMax);
  KQStoreRelaxed(w.m_vScrollPos, vPos);
  KQSetScrollBar(w, SB_VERT, vMax, vPos);
  const int hPos = std::min(KQLoadRelaxed(w.m_hScrollPos), hMax);
  KQStoreRelaxed(w.m_hScrollPos, hPos);
  KQSetScrollBar(w, SB_HORZ, hMax, hPos);
  w.InvalidateRect(nullptr, TRUE);
}

// The view update with the stored client size, once the window has a view (before, lines are only
// stored).
template <class Window> void KQUpdateView(Window& w) {
  if (KQHasView(w))
    w.OnSize(0, KQLoadRelaxed(w.m_clientWidth), KQLoadRelaxed(w.m_clientHeight));
}

// OnPaint: the rows that meet the invalid rectangle, and one more above and below, are copied under the
// lock and drawn after it, so that writers wait for a copy, not for the drawing. When no memory can be
// had for the copy they are drawn under the lock instead. The opt-in windows pass their selection.
template <class Window> void KQPaintView(Window& w, const KQTextSelection& selection = {}) {
  CPaintDC dc(&w);
  KQLinePainter painter(dc, w.m_logFont, w.m_textColor, selection);
  const int lineHeight = KQLoadRelaxed(w.m_lineHeight);
  const int top = KQLoadRelaxed(w.m_vScrollPos);
  const int x = -(KQLoadRelaxed(w.m_hScrollPos) * KQLoadRelaxed(w.m_charWidth));
  const auto rowY = [&](long long row) { return static_cast<int>((row - top) * lineHeight); };
  KQCopiedLines copied;
  KQLinesOf(w).read([&](const CStringList& lines) {
    const KQLineRange rows =
        KQRowsToPaint(top, dc.m_ps.rcPaint.top, dc.m_ps.rcPaint.bottom, lineHeight, lines.GetCount());
    if (!KQCopyLines(lines, rows, copied))
      painter.draw(lines, rows, x, rowY(rows.first), lineHeight);
  });
  painter.draw(copied, x, rowY(copied.first), lineHeight);
}

// One axis of a view: its position field, range, the pixels of one unit and the units of a page
// request (a horizontal page is an eighth of the visible columns, a vertical one the visible lines).
struct KQViewAxis {
  int& pos;
  int max;
  int unit;
  int page;
};

template <class Window> KQViewAxis KQAxisOf(Window& w, int bar) noexcept {
  if (bar == SB_HORZ) {
    const int charWidth = KQLoadRelaxed(w.m_charWidth);
    return {w.m_hScrollPos, KQLoadRelaxed(w.m_hScrollMax), charWidth,
            KQHPageSize(KQLoadRelaxed(w.m_clientWidth), charWidth)};
  }
  const int lineHeight = KQLoadRelaxed(w.m_lineHeight);
  return {w.m_vScrollPos, KQLoadRelaxed(w.m_vScrollMax), lineHeight,
          KQVPageSize(KQLoadRelaxed(w.m_clientHeight), lineHeight)};
}

// OnHScroll / OnVScroll: the request by the scroll rule of both windows; when the position changes, the
// pixels on screen are moved, the bar set and the uncovered band painted at once.
template <class Window> void KQScrollView(Window& w, int bar, UINT code, UINT thumb) {
  const KQViewAxis axis = KQAxisOf(w, bar);
  const int current = KQLoadRelaxed(axis.pos);
  const int delta = CFastDisplayWnd::compute_scroll_pos_delta(code, thumb, current, axis.max, 1, axis.page);
  if (delta == 0)
    return;
  KQStoreRelaxed(axis.pos, current + delta);
  KQMoveView(w, bar, delta, current + delta, axis.unit);
}

// OnFont: the font dialog over the window; after OK, under the lock, the font and colour replaced, the
// cell sizes measured (both positions back to 0) and the view updated. Cancel changes nothing.
template <class Window> void KQChooseViewFont(Window& w) {
  LOGFONTA font = w.m_logFont;
  COLORREF color = w.m_textColor;
  if (!KQChooseFont(&w, font, color))
    return;
  KQLinesOf(w).read([&](const CStringList&) {
    w.m_logFont = font;
    w.m_textColor = color;
    KQMeasureView(w);
    w.OnSize(0, KQLoadRelaxed(w.m_clientWidth), KQLoadRelaxed(w.m_clientHeight));
  });
}

// The constructors' member initialisers both windows share, in their field order: no font, colour or
// view yet (0 until the window is created), a list with the framework's block size of 10, and the
// window's own cap and line width. The fast display window's pending input starts empty by itself.
#define KQ_TEXT_VIEW_INIT(maxLines, lineWidth)                                                               \
  m_logFont{}, m_textColor(0), m_lines(10), m_charWidth(0), m_lineHeight(0), m_hScrollPos(0),                \
      m_vScrollPos(0), m_capsWidth(0), m_textWidth(0), m_clientWidth(0), m_clientHeight(0), m_vScrollMax(0), \
      m_hScrollMax(0), m_maxLines(maxLines), m_lineWidth(lineWidth)

// The members both windows define alike, over the templates above: the message map (WM_PAINT,
// WM_CREATE, WM_SIZE, WM_HSCROLL, WM_VSCROLL, in that order, chained to the base class's), the view's
// handlers and OnFont, and the private hasView, calcTextMetrics, lineFeed and scrollOffTop. Used once in
// each window's source file, in the manner of the framework's IMPLEMENT_ macros.
#define KQ_IMPLEMENT_TEXT_VIEW(theClass, baseClass)                                                          \
  BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                     \
  ON_WM_PAINT()                                                                                              \
  ON_WM_CREATE()                                                                                             \
  ON_WM_SIZE()                                                                                               \
  ON_WM_HSCROLL()                                                                                            \
  ON_WM_VSCROLL()                                                                                            \
  END_MESSAGE_MAP()                                                                                          \
                                                                                                             \
  bool theClass::hasView() const noexcept {                                                                  \
    return KQHasView(*this);                                                                                 \
  }                                                                                                          \
  void theClass::lineFeed() {                                                                                \
    KQLinesOf(*this).lineFeed();                                                                             \
  }                                                                                                          \
  void theClass::scrollOffTop() {                                                                            \
    KQLinesOf(*this).scrollOffTop();                                                                         \
  }                                                                                                          \
  int theClass::OnCreate(LPCREATESTRUCT) {                                                                   \
    KQDefaultFont(m_logFont, m_textColor);                                                                   \
    calcTextMetrics();                                                                                       \
    return 0;                                                                                                \
  }                                                                                                          \
  void theClass::calcTextMetrics() {                                                                         \
    KQMeasureView(*this);                                                                                    \
  }                                                                                                          \
  void theClass::OnSize(UINT, int cx, int cy) {                                                              \
    KQSizeView(*this, cx, cy);                                                                               \
  }                                                                                                          \
  void theClass::OnPaint() {                                                                                 \
    KQPaintView(*this);                                                                                      \
  }                                                                                                          \
  void theClass::OnHScroll(UINT code, UINT pos, CScrollBar*) {                                               \
    KQScrollView(*this, SB_HORZ, code, pos);                                                                 \
  }                                                                                                          \
  void theClass::OnVScroll(UINT code, UINT pos, CScrollBar*) {                                               \
    KQScrollView(*this, SB_VERT, code, pos);                                                                 \
  }                                                                                                          \
  void theClass::OnFont() {                                                                                  \
    KQChooseViewFont(*this);                                                                                 \
  }
