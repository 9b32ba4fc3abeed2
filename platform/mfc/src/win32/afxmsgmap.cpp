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

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // Other codes than the update carry a message number in their high word (0: WM_COMMAND).
  UINT nMsg = WM_COMMAND;
  UINT nNotify = static_cast<UINT>(nCode);
  if (nNotify != CN_UPDATE_COMMAND_UI) {
    nMsg = HIWORD(nNotify) != 0 ? HIWORD(nNotify) : WM_COMMAND;
    nNotify = LOWORD(nNotify);
  }
  const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), [&](const AFX_MSGMAP_ENTRY& e) {
    return (e.nSig == KQAfxPrivate::sigCmdV || e.nSig == KQAfxPrivate::sigCmdUI) && e.nMessage == nMsg &&
           e.nCode == nNotify && e.nID <= nID && nID <= e.nLastID;
  });
  if (pEntry == nullptr)
    return FALSE;
  if (pHandlerInfo != nullptr) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pmf = pEntry->pfn;
    return TRUE;
  }
  if (pEntry->nSig == KQAfxPrivate::sigCmdV) {
    (this->*pEntry->pfn)();
    return TRUE;
  }
  auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
  (this->*KQAfxPrivate::MsgUncast<void (CCmdTarget::*)(CCmdUI*)>(pEntry->pfn))(pCmdUI);
  const BOOL bHandled = !pCmdUI->m_bContinueRouting;
  pCmdUI->m_bContinueRouting = FALSE;
  return bHandled;
}

namespace {
// Records whether the update handlers leave a command enabled; changes nothing on screen.
class CTestCmdUI : public CCmdUI {
public:
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
  BOOL m_bEnabled = TRUE;
};
} // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  int nCode = HIWORD(wParam);
  if (nID == 0)
    return FALSE;
  if (lParam == 0) {
    // A menu item or an accelerator: not run when its update handler disables it meanwhile.
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    if (!state.m_bEnabled)
      return TRUE;
    nCode = CN_COMMAND;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && OnCommand(wParam, lParam)) {
    *pResult = 0;
    return TRUE;
  }
  const bool bRegistered = message >= 0xC000 && message <= 0xFFFF;
  const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), [&](const AFX_MSGMAP_ENTRY& e) {
    if (e.nMessage == KQAfxPrivate::nRegisteredMessage)
      return bRegistered && *reinterpret_cast<const UINT*>(e.nSig) == message;
    return e.nMessage == message && e.nSig != KQAfxPrivate::sigCmdV && e.nSig != KQAfxPrivate::sigCmdUI;
  });
  if (pEntry == nullptr)
    return FALSE;
  if (pEntry->nMessage == KQAfxPrivate::nRegisteredMessage) {
    *pResult =
        (this->*KQAfxPrivate::MsgUncast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pEntry->pfn))(wParam, lParam);
    return TRUE;
  }

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
  case KQAfxPrivate::sigVMwb:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(CMenu*, UINT, BOOL)>(pEntry->pfn))(
        CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
    break;
  case KQAfxPrivate::sigVWnd:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(CWnd*)>(pEntry->pfn))(
        CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
    break;
  case KQAfxPrivate::sigVWp:
    (this->*KQAfxPrivate::MsgUncast<void (CWnd::*)(UINT_PTR)>(pEntry->pfn))(static_cast<UINT_PTR>(wParam));
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
