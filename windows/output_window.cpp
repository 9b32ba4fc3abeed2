// Win32 only. COutputWindow: the line store behind its lock, and the frame window that shows it.
#include "kqwindows.h"

#include "text_view.h"

#include <cstring>

namespace {
// After a successful creation: the Close item of the system menu greyed (the host owns the window's
// life, the user cannot close it from its caption or system menu; a child has no system menu), the
// window shown and painted at once.
void showCreated(CWnd& window) {
  if (CMenu* menu = window.GetSystemMenu(FALSE))
    menu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  window.ShowWindow(SW_SHOWNORMAL);
  window.UpdateWindow();
}
} // namespace

KQ_IMPLEMENT_TEXT_VIEW(COutputWindow, CFrameWnd)

COutputWindow::COutputWindow() : KQ_TEXT_VIEW_INIT(30000, 140) {
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

void COutputWindow::Display(const char* text) {
  Display(text, static_cast<int>(std::strlen(text)));
}

void COutputWindow::Display(const char* text, int len) {
  const bool atBottom = KQLoadRelaxed(m_vScrollPos) >= KQLoadRelaxed(m_vScrollMax);
  KQLinesOf(*this).display(text, len);
  if (!hasView())
    return;
  OnSize(0, KQLoadRelaxed(m_clientWidth), KQLoadRelaxed(m_clientHeight));
  if (atBottom) {
    const int bottom = KQLoadRelaxed(m_vScrollMax);
    KQStoreRelaxed(m_vScrollPos, bottom);
    KQSetScrollPos(*this, SB_VERT, bottom);
  }
}

void COutputWindow::OnClearBuffer() {
  KQLinesOf(*this).clear();
  KQUpdateView(*this);
}

int COutputWindow::SaveAs(const char* fileName) {
  return KQWriteLinesFile(*this, fileName) ? 1 : 0;
}
