// Win32 only. COutputWindow: the line store behind its lock, and the frame window that shows it.
#include "kqwindows.h"

#include "locked_lines.h"
#include "scroll_rule.h"
#include "view_gdi.h"
#include "view_math.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <share.h>

namespace {
// Display runs its view update on the caller's thread while the window's thread scrolls and paints:
// the view fields are read and written whole, and a value a moment old is acceptable. Aligned 32-bit
// accesses: relaxed atomics with GCC and clang, volatile accesses (atomic on x64) with MSVC.
int viewGet(const int& field) noexcept {
#if defined(_MSC_VER)
  return *static_cast<const volatile int*>(&field);
#else
  return __atomic_load_n(&field, __ATOMIC_RELAXED);
#endif
}
void viewSet(int& field, int value) noexcept {
#if defined(_MSC_VER)
  *static_cast<volatile int*>(&field) = value;
#else
  __atomic_store_n(&field, value, __ATOMIC_RELAXED);
#endif
}

using Lines = KQLockedLines<KQCriticalSection>;

// After a successful creation: the Close item of the system menu greyed (the host owns the window's
// life, the user cannot close it from its caption or system menu; a child has no system menu), the
// window shown and painted at once.
void showCreated(CWnd& window) {
  if (CMenu* menu = window.GetSystemMenu(FALSE))
    menu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  window.ShowWindow(SW_SHOWNORMAL);
  window.UpdateWindow();
}

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
} // namespace

BEGIN_MESSAGE_MAP(COutputWindow, CFrameWnd)
ON_WM_PAINT()
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

COutputWindow::COutputWindow()
    : m_logFont{}, m_textColor(0), m_lines(10), m_charWidth(0), m_lineHeight(0), m_hScrollPos(0),
      m_vScrollPos(0), m_capsWidth(0), m_textWidth(0), m_clientWidth(0), m_clientHeight(0), m_vScrollMax(0),
      m_hScrollMax(0), m_maxLines(30000), m_lineWidth(140) {
  m_lines.AddTail(CString());
}

// m_lock goes first, then the lines, then the frame: the members' reverse order.
COutputWindow::~COutputWindow() = default;

int COutputWindow::Create(const char* title) {
  if (!CFrameWnd::Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE,
                         rectDefault, nullptr, nullptr, 0, nullptr))
    return 0; // the frame has deleted itself
  showCreated(*this);
  return 1;
}

int COutputWindow::Create(const char* title, const RECT& rect, CWnd* parent) {
  if (!CFrameWnd::Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, rect, parent,
                         nullptr, 0, nullptr))
    return 0;
  showCreated(*this);
  return 1;
}

bool COutputWindow::hasView() const noexcept {
  return GetSafeHwnd() != nullptr && viewGet(m_lineHeight) > 0 && viewGet(m_charWidth) > 0;
}

void COutputWindow::Display(const char* text) {
  Display(text, static_cast<int>(std::strlen(text)));
}

void COutputWindow::Display(const char* text, int len) {
  const bool atBottom = viewGet(m_vScrollPos) >= viewGet(m_vScrollMax);
  Lines(m_lines, m_lock, m_lineWidth, m_maxLines).display(text, len);
  if (!hasView())
    return;
  OnSize(0, viewGet(m_clientWidth), viewGet(m_clientHeight));
  if (atBottom) {
    const int bottom = viewGet(m_vScrollMax);
    viewSet(m_vScrollPos, bottom);
    KQSetScrollPos(*this, SB_VERT, bottom);
  }
}

void COutputWindow::OnClearBuffer() {
  Lines(m_lines, m_lock, m_lineWidth, m_maxLines).clear();
  if (hasView())
    OnSize(0, viewGet(m_clientWidth), viewGet(m_clientHeight));
}

void COutputWindow::lineFeed() {
  Lines(m_lines, m_lock, m_lineWidth, m_maxLines).lineFeed();
}

void COutputWindow::scrollOffTop() {
  Lines(m_lines, m_lock, m_lineWidth, m_maxLines).scrollOffTop();
}

int COutputWindow::SaveAs(const char* fileName) {
  // A text stream: each '\n' reaches the file as CR LF. Others may read and write the file meanwhile.
  std::unique_ptr<std::FILE, FileCloser> file(::_fsopen(fileName, "wt", _SH_DENYNO));
  if (!file)
    return 0;
  Lines(m_lines, m_lock, m_lineWidth, m_maxLines).save(file.get());
  return 1;
}

int COutputWindow::OnCreate(LPCREATESTRUCT) {
  KQDefaultFont(m_logFont, m_textColor);
  calcTextMetrics();
  return 0;
}

void COutputWindow::calcTextMetrics() {
  KQCellMetrics cells;
  if (KQMeasureFont(*this, m_logFont, m_lineWidth, cells)) {
    viewSet(m_charWidth, cells.charWidth);
    viewSet(m_capsWidth, cells.capsWidth);
    viewSet(m_lineHeight, cells.lineHeight);
    viewSet(m_textWidth, cells.textWidth);
  }
  viewSet(m_hScrollPos, 0);
  viewSet(m_vScrollPos, 0);
}

void COutputWindow::OnSize(UINT, int cx, int cy) {
  viewSet(m_clientWidth, cx);
  viewSet(m_clientHeight, cy);
  const INT_PTR count = Lines(m_lines, m_lock, m_lineWidth, m_maxLines).count();
  const int vMax = KQVScrollMax(count, cy, viewGet(m_lineHeight));
  const int hMax = KQHScrollMax(viewGet(m_textWidth), cx, viewGet(m_charWidth));
  viewSet(m_vScrollMax, vMax);
  viewSet(m_hScrollMax, hMax);
  const int vPos = std::min(viewGet(m_vScrollPos), vMax);
  viewSet(m_vScrollPos, vPos);
  KQSetScrollBar(*this, SB_VERT, vMax, vPos);
  const int hPos = std::min(viewGet(m_hScrollPos), hMax);
  viewSet(m_hScrollPos, hPos);
  KQSetScrollBar(*this, SB_HORZ, hMax, hPos);
  InvalidateRect(nullptr, TRUE);
}

// The rows are copied under the lock and drawn after it: writers wait for a copy, not for the drawing.
void COutputWindow::OnPaint() {
  CPaintDC dc(this);
  KQLinePainter painter(dc, m_logFont, m_textColor);
  const int lineHeight = viewGet(m_lineHeight);
  const int x = -(viewGet(m_hScrollPos) * viewGet(m_charWidth));
  KQCopiedRows copied;
  Lines(m_lines, m_lock, m_lineWidth, m_maxLines).read([&](const CStringList& lines) {
    const KQPaintRows rows = KQRowsToPaint(viewGet(m_vScrollPos), dc.m_ps.rcPaint.top, dc.m_ps.rcPaint.bottom,
                                           lineHeight, lines.GetCount());
    if (!copied.copy(lines, rows))
      painter.draw(lines, rows, x, lineHeight); // no memory for a copy: drawn under the lock
  });
  painter.draw(copied, x, lineHeight);
}

void COutputWindow::OnHScroll(UINT code, UINT pos, CScrollBar*) {
  const int charWidth = viewGet(m_charWidth);
  const int page = KQHPageSize(viewGet(m_clientWidth), charWidth);
  const int current = viewGet(m_hScrollPos);
  const int delta = KQComputeScrollPosDelta(code, pos, current, viewGet(m_hScrollMax), 1, page);
  if (delta == 0)
    return;
  viewSet(m_hScrollPos, current + delta);
  KQMoveView(*this, SB_HORZ, delta, current + delta, charWidth);
}

void COutputWindow::OnVScroll(UINT code, UINT pos, CScrollBar*) {
  const int lineHeight = viewGet(m_lineHeight);
  const int page = KQVPageSize(viewGet(m_clientHeight), lineHeight);
  const int current = viewGet(m_vScrollPos);
  const int delta = KQComputeScrollPosDelta(code, pos, current, viewGet(m_vScrollMax), 1, page);
  if (delta == 0)
    return;
  viewSet(m_vScrollPos, current + delta);
  KQMoveView(*this, SB_VERT, delta, current + delta, lineHeight);
}

void COutputWindow::OnFont() {
  LOGFONTA font = m_logFont;
  COLORREF color = m_textColor;
  if (!KQChooseFont(this, font, color))
    return;
  std::lock_guard<KQCriticalSection> guard(m_lock);
  m_logFont = font;
  m_textColor = color;
  calcTextMetrics();
  OnSize(0, viewGet(m_clientWidth), viewGet(m_clientHeight));
}
