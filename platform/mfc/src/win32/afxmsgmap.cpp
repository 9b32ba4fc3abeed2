// Message maps: CCmdTarget's (empty) root map, the search through a class's chain of maps, command
// routing (OnCmdMsg) and the cracking of each message into its handler's arguments (CWnd::OnWndMsg).
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, KQAfxPrivate::sigEnd, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
  return &messageMap;
}

namespace {
template <class Match> const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, Match match) {
  for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != KQAfxPrivate::sigEnd; ++pEntry) {
      if (match(*pEntry))
        return pEntry;
    }
  }
  return nullptr;
}

// Mouse coordinates are signed: left of or above the origin (another monitor, a captured mouse) they
// are negative, and a context menu from the keyboard comes as (-1, -1).
CPoint PointFromLParam(LPARAM lParam) noexcept {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}
} // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO*) {
  const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), [&](const AFX_MSGMAP_ENTRY& e) {
    return e.nSig == KQAfxPrivate::sigCmdV && e.nMessage == WM_COMMAND &&
           e.nCode == static_cast<UINT>(nCode) && e.nID <= nID && nID <= e.nLastID;
  });
  if (pEntry == nullptr)
    return FALSE;
  (this->*pEntry->pfn)();
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  // Menus and accelerators (no control) are both plain commands, as button clicks are (BN_CLICKED 0).
  const int nCode = lParam == 0 ? 0 : HIWORD(wParam);
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && OnCommand(wParam, lParam)) {
    *pResult = 0;
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), [&](const AFX_MSGMAP_ENTRY& e) {
    return e.nMessage == message && e.nSig != KQAfxPrivate::sigCmdV;
  });
  if (pEntry == nullptr)
    return FALSE;

  // The handler may destroy the window and delete this object: nothing below touches members.
  LRESULT lResult = 0;
  switch (pEntry->nSig) {
  case KQAfxPrivate::sigVV:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)()>(pEntry->pfn))();
    break;
  case KQAfxPrivate::sigIS:
    lResult = (this->*KQAfxPrivate::MsgUncast<int (CWnd::*)(LPCREATESTRUCT)>(pEntry->pfn))(
        reinterpret_cast<LPCREATESTRUCT>(lParam));
    break;
  case KQAfxPrivate::sigVWII:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(UINT, int, int)>(pEntry->pfn))(
        static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    break;
  case KQAfxPrivate::sigVWWSB:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pEntry->pfn))(
        LOWORD(wParam), HIWORD(wParam), AfxScrollBarFromHandle(reinterpret_cast<HWND>(lParam)));
    break;
  case KQAfxPrivate::sigBWsP:
    lResult = (this->*KQAfxPrivate::MsgUncast<BOOL (CWnd::*)(UINT, short, CPoint)>(pEntry->pfn))(
        LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointFromLParam(lParam));
    break;
  case KQAfxPrivate::sigVWsP:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(UINT, short, CPoint)>(pEntry->pfn))(
        LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointFromLParam(lParam));
    break;
  case KQAfxPrivate::sigVWWW:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(UINT, UINT, UINT)>(pEntry->pfn))(
        static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    break;
  case KQAfxPrivate::sigVWP:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(UINT, CPoint)>(pEntry->pfn))(static_cast<UINT>(wParam),
                                                                                PointFromLParam(lParam));
    break;
  case KQAfxPrivate::sigVWndP:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(CWnd*, CPoint)>(pEntry->pfn))(
        CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), PointFromLParam(lParam));
    break;
  case KQAfxPrivate::sigLWL:
    lResult =
        (this->*KQAfxPrivate::MsgUncast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pEntry->pfn))(wParam, lParam);
    break;
  default:
    return FALSE;
  }
  *pResult = lResult;
  return TRUE;
}

CScrollBar* AfxScrollBarFromHandle(HWND hWnd) {
  if (hWnd == nullptr)
    return nullptr;
  if (auto* pBar = dynamic_cast<CScrollBar*>(CWnd::FromHandlePermanent(hWnd)))
    return pBar;
  return AfxTempObject<CScrollBar>(hWnd);
}
