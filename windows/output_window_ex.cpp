// Win32 only. COutputWindowEx: the output window with wheel, keyboard and copy handling.
#include "kqwindowsex.h"

#include "view_input.h"

BEGIN_MESSAGE_MAP(COutputWindowEx, COutputWindow)
ON_MESSAGE(WM_MOUSEWHEEL, &COutputWindowEx::OnMouseWheelMessage)
ON_MESSAGE(WM_MOUSEHWHEEL, &COutputWindowEx::OnMouseHWheelMessage)
ON_MESSAGE(WM_KEYDOWN, &COutputWindowEx::OnKeyDownMessage)
ON_MESSAGE(WM_CONTEXTMENU, &COutputWindowEx::OnContextMenuMessage)
ON_MESSAGE(WM_LBUTTONDOWN, &COutputWindowEx::OnLButtonDownMessage)
ON_COMMAND(ID_KQ_COPY_VISIBLE, &COutputWindowEx::OnCopyVisible)
ON_COMMAND(ID_KQ_COPY_ALL, &COutputWindowEx::OnCopyAll)
END_MESSAGE_MAP()

COutputWindowEx::COutputWindowEx() : m_wheelPending(0), m_hWheelPending(0) {}

COutputWindowEx::~COutputWindowEx() = default;

LRESULT COutputWindowEx::OnMouseWheelMessage(WPARAM wParam, LPARAM) {
  KQWheelScroll(*this, m_wheelPending, GET_WHEEL_DELTA_WPARAM(wParam), false);
  return 0;
}

LRESULT COutputWindowEx::OnMouseHWheelMessage(WPARAM wParam, LPARAM) {
  KQWheelScroll(*this, m_hWheelPending, GET_WHEEL_DELTA_WPARAM(wParam), true);
  return 0;
}

LRESULT COutputWindowEx::OnKeyDownMessage(WPARAM wParam, LPARAM) {
  if (KQViewKey(*this, wParam, [this] { KQCopyVisible(*this); }))
    return 0;
  return Default();
}

LRESULT COutputWindowEx::OnContextMenuMessage(WPARAM, LPARAM lParam) {
  KQTrackCopyMenu(*this, lParam);
  return 0;
}

LRESULT COutputWindowEx::OnLButtonDownMessage(WPARAM, LPARAM) {
  ::SetFocus(GetSafeHwnd());
  return Default();
}

void COutputWindowEx::OnCopyVisible() {
  KQCopyVisible(*this);
}

void COutputWindowEx::OnCopyAll() {
  KQCopyAll(*this);
}
