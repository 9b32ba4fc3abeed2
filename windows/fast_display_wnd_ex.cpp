// Win32 only. CFastDisplayWndEx: the fast display window with wheel, keyboard and copy handling.
#include "kqwindowsex.h"

#include "view_input.h"

BEGIN_MESSAGE_MAP(CFastDisplayWndEx, CFastDisplayWnd)
ON_MESSAGE(WM_MOUSEWHEEL, &CFastDisplayWndEx::OnMouseWheelMessage)
ON_MESSAGE(WM_MOUSEHWHEEL, &CFastDisplayWndEx::OnMouseHWheelMessage)
ON_MESSAGE(WM_KEYDOWN, &CFastDisplayWndEx::OnKeyDownMessage)
ON_MESSAGE(WM_CONTEXTMENU, &CFastDisplayWndEx::OnContextMenuMessage)
ON_MESSAGE(WM_LBUTTONDOWN, &CFastDisplayWndEx::OnLButtonDownMessage)
ON_COMMAND(ID_KQ_COPY_VISIBLE, &CFastDisplayWndEx::OnCopyVisible)
ON_COMMAND(ID_KQ_COPY_ALL, &CFastDisplayWndEx::OnCopyAll)
END_MESSAGE_MAP()

CFastDisplayWndEx::CFastDisplayWndEx() : m_wheelPending(0), m_hWheelPending(0) {}

CFastDisplayWndEx::~CFastDisplayWndEx() = default;

LRESULT CFastDisplayWndEx::OnMouseWheelMessage(WPARAM wParam, LPARAM) {
  KQWheelScroll(*this, m_wheelPending, GET_WHEEL_DELTA_WPARAM(wParam), false);
  return 0;
}

LRESULT CFastDisplayWndEx::OnMouseHWheelMessage(WPARAM wParam, LPARAM) {
  KQWheelScroll(*this, m_hWheelPending, GET_WHEEL_DELTA_WPARAM(wParam), true);
  return 0;
}

LRESULT CFastDisplayWndEx::OnKeyDownMessage(WPARAM wParam, LPARAM) {
  if (KQViewKey(*this, wParam, [this] { KQCopyVisible(*this); }))
    return 0;
  return Default();
}

LRESULT CFastDisplayWndEx::OnContextMenuMessage(WPARAM, LPARAM lParam) {
  KQTrackCopyMenu(*this, lParam);
  return 0;
}

LRESULT CFastDisplayWndEx::OnLButtonDownMessage(WPARAM, LPARAM) {
  ::SetFocus(GetSafeHwnd());
  return Default();
}

void CFastDisplayWndEx::OnCopyVisible() {
  KQCopyVisible(*this);
}

void CFastDisplayWndEx::OnCopyAll() {
  KQCopyAll(*this);
}
