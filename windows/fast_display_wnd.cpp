// Win32 only. CFastDisplayWnd: lines and pending input, and the child window that shows the lines.
#include "kqwindows.h"

#include "line_store.h"
#include "pending_input.h"
#include "scroll_rule.h"
#include "view_gdi.h"
#include "view_math.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CFastDisplayWnd, CWnd)
ON_WM_PAINT()
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CFastDisplayWnd::CFastDisplayWnd()
    : m_logFont{}, m_textColor(0), m_lines(10), m_charWidth(0), m_lineHeight(0), m_hScrollPos(0),
      m_vScrollPos(0), m_capsWidth(0), m_textWidth(0), m_clientWidth(0), m_clientHeight(0), m_vScrollMax(0),
      m_hScrollMax(0), m_maxLines(65000), m_lineWidth(80) {
  m_lines.AddTail(CString());
}

// m_input, then m_lines, then the window part: the members' reverse order.
CFastDisplayWnd::~CFastDisplayWnd() = default;

int CFastDisplayWnd::compute_scroll_pos_delta(unsigned int scrollCode, unsigned int thumbPos, int currentPos,
                                              int maxPos, int lineStep, int pageStep) {
  return KQComputeScrollPosDelta(scrollCode, thumbPos, currentPos, maxPos, lineStep, pageStep);
}

bool CFastDisplayWnd::hasView() const noexcept {
  return GetSafeHwnd() != nullptr && m_lineHeight > 0 && m_charWidth > 0;
}

void CFastDisplayWnd::Display(const char* text, int count) {
  KQLineStore(m_lines, m_lineWidth, m_maxLines).append(text, count);
  if (hasView())
    OnSize(0, m_clientWidth, m_clientHeight);
}

void CFastDisplayWnd::OnClearBuffer() {
  m_input.Empty();
  KQLineStore(m_lines, m_lineWidth, m_maxLines).clear();
  if (hasView())
    OnSize(0, m_clientWidth, m_clientHeight);
}

void CFastDisplayWnd::lineFeed() {
  KQLineStore(m_lines, m_lineWidth, m_maxLines).lineFeed();
}

void CFastDisplayWnd::scrollOffTop() {
  KQLineStore(m_lines, m_lineWidth, m_maxLines).scrollOffTop();
}

int CFastDisplayWnd::ReturnInput(char* text, int count) {
  KQPrependInput(m_input, text, count);
  return 1;
}

int CFastDisplayWnd::GetInput(char* buffer, int size) {
  if (m_input.IsEmpty() && hasView()) {
    // Waiting for input: show the last page, as the scroll request SB_BOTTOM does.
    OnVScroll(SB_BOTTOM, 0, nullptr);
    // A minimised window is restored for the view update, then minimised again.
    const BOOL iconic = IsIconic();
    if (iconic)
      OpenIcon();
    Display(m_input.GetString(), m_input.GetLength());
    if (iconic)
      CloseWindow();
  }
  return KQTakeInput(m_input, buffer, size);
}

int CFastDisplayWnd::FlushInput() {
  m_input.Empty();
  return 1;
}

int CFastDisplayWnd::OnCreate(LPCREATESTRUCT) {
  KQDefaultFont(m_logFont, m_textColor);
  calcTextMetrics();
  return 0;
}

void CFastDisplayWnd::calcTextMetrics() {
  KQCellMetrics cells;
  if (KQMeasureFont(*this, m_logFont, m_lineWidth, cells)) {
    m_charWidth = cells.charWidth;
    m_capsWidth = cells.capsWidth;
    m_lineHeight = cells.lineHeight;
    m_textWidth = cells.textWidth;
  }
  m_hScrollPos = 0;
  m_vScrollPos = 0;
}

void CFastDisplayWnd::OnSize(UINT, int cx, int cy) {
  m_clientHeight = cy;
  m_clientWidth = cx;
  m_vScrollMax = KQVScrollMax(m_lines.GetCount(), cy, m_lineHeight);
  m_hScrollMax = KQHScrollMax(m_textWidth, cx, m_charWidth);
  m_vScrollPos = std::min(m_vScrollPos, m_vScrollMax);
  KQSetScrollBar(*this, SB_VERT, m_vScrollMax, m_vScrollPos);
  m_hScrollPos = std::min(m_hScrollPos, m_hScrollMax);
  KQSetScrollBar(*this, SB_HORZ, m_hScrollMax, m_hScrollPos);
  InvalidateRect(nullptr, TRUE);
}

void CFastDisplayWnd::OnPaint() {
  CPaintDC dc(this);
  KQLinePainter painter(dc, m_logFont, m_textColor);
  const KQPaintRows rows = KQRowsToPaint(m_vScrollPos, dc.m_ps.rcPaint.top, dc.m_ps.rcPaint.bottom,
                                         m_lineHeight, m_lines.GetCount());
  painter.draw(m_lines, rows, -(m_hScrollPos * m_charWidth), m_lineHeight);
}

void CFastDisplayWnd::OnVScroll(UINT code, UINT pos, CScrollBar*) {
  const int page = KQVPageSize(m_clientHeight, m_lineHeight);
  const int delta = compute_scroll_pos_delta(code, pos, m_vScrollPos, m_vScrollMax, 1, page);
  if (delta == 0)
    return;
  m_vScrollPos += delta;
  KQMoveView(*this, SB_VERT, delta, m_vScrollPos, m_lineHeight);
}

void CFastDisplayWnd::OnHScroll(UINT code, UINT pos, CScrollBar*) {
  const int page = KQHPageSize(m_clientWidth, m_charWidth);
  const int delta = compute_scroll_pos_delta(code, pos, m_hScrollPos, m_hScrollMax, 1, page);
  if (delta == 0)
    return;
  m_hScrollPos += delta;
  KQMoveView(*this, SB_HORZ, delta, m_hScrollPos, m_charWidth);
}

void CFastDisplayWnd::OnFont() {
  LOGFONTA font = m_logFont;
  COLORREF color = m_textColor;
  if (!KQChooseFont(this, font, color))
    return;
  m_logFont = font;
  m_textColor = color;
  calcTextMetrics();
  OnSize(0, m_clientWidth, m_clientHeight);
}
