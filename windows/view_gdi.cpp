// Win32 only. The screen side both text windows share.
#include "view_gdi.h"

#include "line_position.h"
#include "text_selection.h"

#include <algorithm>

#include <afxdlgs.h>

void KQDefaultFont(LOGFONTA& font, COLORREF& color) {
  color = ::GetSysColor(COLOR_WINDOWTEXT);
  ::GetObjectA(::GetStockObject(ANSI_FIXED_FONT), sizeof(LOGFONTA), &font);
}

namespace {
// The window's device context for one scope.
class WindowDC {
public:
  explicit WindowDC(CWnd& window) : window(window), dc(window.GetDC()) {}
  ~WindowDC() {
    if (dc != nullptr)
      window.ReleaseDC(dc);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  CWnd& window;
  CDC* dc;
};
} // namespace

bool KQMeasureFont(CWnd& window, const LOGFONTA& font, int lineWidth, KQCellMetrics& cells) {
  CFont created; // declared first: deleted after the DC has given it back
  if (!created.CreateFontIndirect(&font))
    return false;
  WindowDC windowDC(window);
  if (windowDC.dc == nullptr)
    return false;
  CFont* previous = windowDC.dc->SelectObject(&created);
  TEXTMETRICA tm = {};
  const BOOL measured = windowDC.dc->GetTextMetrics(&tm);
  if (previous != nullptr)
    windowDC.dc->SelectObject(previous);
  if (!measured)
    return false;
  cells = KQCellMetricsFromText(tm.tmAveCharWidth, tm.tmHeight, tm.tmExternalLeading, tm.tmPitchAndFamily,
                                lineWidth);
  return true;
}

KQLinePainter::KQLinePainter(CDC& dc, const LOGFONTA& logFont, COLORREF color,
                             const KQTextSelection& selection)
    : dc(dc), previous(nullptr), selection(selection) {
  if (font.CreateFontIndirect(&logFont))
    previous = dc.SelectObject(&font);
  dc.SetTextColor(color);
  dc.SetBkColor(::GetSysColor(COLOR_WINDOW));
  dc.SetTextAlign(TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

KQLinePainter::~KQLinePainter() {
  if (previous != nullptr)
    dc.SelectObject(previous);
}

void KQLinePainter::draw(const CStringList& lines, KQLineRange rows, int x, int y, int lineHeight) {
  POSITION pos = rows.first < rows.end ? KQLinePosition(lines, static_cast<INT_PTR>(rows.first)) : nullptr;
  for (long long i = rows.first; i < rows.end && pos != nullptr; ++i, y += lineHeight) {
    const CString& line = lines.GetNext(pos);
    drawRow(x, y, lineHeight, i, line.GetString(), line.GetLength());
  }
}

void KQLinePainter::draw(const KQCopiedLines& copied, int x, int y, int lineHeight) {
  const char* line = copied.text.data();
  long long row = copied.first;
  for (const int length : copied.lengths) {
    drawRow(x, y, lineHeight, row++, line, length);
    line += length;
    y += lineHeight;
  }
}

void KQLinePainter::drawRow(int x, int y, int lineHeight, long long row, const char* text, int length) {
  dc.TextOut(x, y, text, length);
  const KQColumnRange columns = KQSelectedColumns(selection, row, length);
  if (columns.first >= columns.end)
    return;
  SIZE before = {}, through = {};
  ::GetTextExtentPoint32A(dc.m_hDC, text, columns.first, &before);
  ::GetTextExtentPoint32A(dc.m_hDC, text, columns.end, &through);
  const RECT band = {x + before.cx, y, x + through.cx, y + lineHeight};
  const COLORREF textColor = ::SetTextColor(dc.m_hDC, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
  const COLORREF background = ::SetBkColor(dc.m_hDC, ::GetSysColor(COLOR_HIGHLIGHT));
  ::ExtTextOutA(dc.m_hDC, x, y, ETO_CLIPPED | ETO_OPAQUE, &band, text, static_cast<UINT>(length), nullptr);
  ::SetTextColor(dc.m_hDC, textColor);
  ::SetBkColor(dc.m_hDC, background);
}

int KQColumnAt(CWnd& window, const LOGFONTA& font, int charWidth, const char* text, int length, int px) {
  int extents[256];
  length = std::min(length, 256);
  SIZE size = {};
  CFont created; // declared first: deleted after the DC has given it back
  WindowDC windowDC(window);
  CFont* previous = nullptr;
  bool measured = false;
  if (windowDC.dc != nullptr && created.CreateFontIndirect(&font)) {
    previous = windowDC.dc->SelectObject(&created);
    measured = ::GetTextExtentExPointA(windowDC.dc->m_hDC, text, length, 0, nullptr, extents, &size) != FALSE;
    if (previous != nullptr)
      windowDC.dc->SelectObject(previous);
  }
  for (int i = 0; i < length; ++i) {
    const int left = i == 0 ? 0 : (measured ? extents[i - 1] : i * charWidth);
    const int right = measured ? extents[i] : (i + 1) * charWidth;
    if (px < (left + right) / 2)
      return i;
  }
  return length;
}

void KQMoveView(CWnd& window, int bar, int delta, int newPos, int unitPixels) {
  const int pixels = -delta * unitPixels;
  if (bar == SB_HORZ)
    window.ScrollWindow(pixels, 0);
  else
    window.ScrollWindow(0, pixels);
  window.SetScrollPos(bar, newPos, TRUE);
  window.UpdateWindow();
}

namespace {
// The bar's range and position as the system keeps them; false when it cannot tell.
bool currentScrollBar(CWnd& window, int bar, SCROLLINFO& info) {
  info = SCROLLINFO{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_POS;
  return ::GetScrollInfo(window.GetSafeHwnd(), bar, &info) != FALSE;
}
} // namespace

// A scroll-bar call redraws the bar even when nothing changes, which costs far more than the question.
void KQSetScrollBar(CWnd& window, int bar, int max, int pos) {
  SCROLLINFO info;
  if (currentScrollBar(window, bar, info) && info.nMin == 0 && info.nMax == max) {
    if (info.nPos != pos)
      window.SetScrollPos(bar, pos, TRUE);
    return;
  }
  window.SetScrollRange(bar, 0, max, FALSE);
  window.SetScrollPos(bar, pos, TRUE);
}

void KQSetScrollPos(CWnd& window, int bar, int pos) {
  SCROLLINFO info;
  if (!currentScrollBar(window, bar, info) || info.nPos != pos)
    window.SetScrollPos(bar, pos, TRUE);
}

bool KQChooseFont(CWnd* parent, LOGFONTA& font, COLORREF& color) {
  CFontDialog dialog(&font, CF_SCREENFONTS | CF_EFFECTS | CF_ANSIONLY | CF_FORCEFONTEXIST, nullptr, parent);
  if (dialog.DoModal() != IDOK)
    return false;
  dialog.GetCurrentFont(&font);
  color = dialog.GetColor();
  return true;
}
