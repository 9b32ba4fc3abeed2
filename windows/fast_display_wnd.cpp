// Win32 only. CFastDisplayWnd: lines and pending input, and the child window that shows the lines.
#include "kqwindows.h"

#include "pending_input.h"
#include "scroll_rule.h"
#include "text_view.h"

KQ_IMPLEMENT_TEXT_VIEW(CFastDisplayWnd, CWnd)

CFastDisplayWnd::CFastDisplayWnd() : KQ_TEXT_VIEW_INIT(65000, 80) {
  m_lines.AddTail(CString());
}

// m_input, then m_lines, then the window part: the members' reverse order.
CFastDisplayWnd::~CFastDisplayWnd() = default;

int CFastDisplayWnd::compute_scroll_pos_delta(unsigned int scrollCode, unsigned int thumbPos, int currentPos,
                                              int maxPos, int lineStep, int pageStep) {
  return KQComputeScrollPosDelta(scrollCode, thumbPos, currentPos, maxPos, lineStep, pageStep);
}

void CFastDisplayWnd::Display(const char* text, int count) {
  KQLinesOf(*this).display(text, count);
  KQUpdateView(*this);
}

void CFastDisplayWnd::OnClearBuffer() {
  m_input.Empty();
  KQLinesOf(*this).clear();
  KQUpdateView(*this);
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
