// CCmdUI: the state of a menu item or a window as the command-update handlers set it, and the update
// of one item through a command target's routing.
#include "afximpl.h"

CCmdUI::CCmdUI() noexcept
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pOther(nullptr),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0) {}

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr)
      return; // a popup's state is its own items'
    ASSERT(m_nIndex < m_nIndexMax);
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else {
    ASSERT(m_pOther != nullptr);
    // A disabled window cannot keep the focus: it goes to the next control first.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND hParent = ::GetParent(m_pOther->m_hWnd);
      if (HWND hNext = ::GetNextDlgTabItem(hParent, m_pOther->m_hWnd, FALSE))
        ::SetFocus(hNext);
    }
    ::EnableWindow(m_pOther->m_hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr)
      return;
    ASSERT(m_nIndex < m_nIndexMax);
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else {
    ASSERT(m_pOther != nullptr);
    if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
      ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  SetCheck(bOn ? 1 : 0);
  if (m_pMenu == nullptr || m_pSubMenu != nullptr)
    return;
  ASSERT(m_nIndex < m_nIndexMax);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (!::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info))
    return;
  info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
  ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
  ASSERT(lpszText != nullptr);
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr)
      return;
    ASSERT(m_nIndex < m_nIndexMax);
    // The item keeps its state; only its text changes.
    UINT nState = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION);
    nState &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00u);
    ::ModifyMenuA(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
  } else {
    ASSERT(m_pOther != nullptr);
    char current[256];
    const int n = ::GetWindowTextA(m_pOther->m_hWnd, current, sizeof current);
    if (n >= static_cast<int>(sizeof current) - 1 || ::lstrcmpA(current, lpszText) != 0)
      ::SetWindowTextA(m_pOther->m_hWnd, lpszText); // unchanged texts are not set again: no flicker
  }
}

void CCmdUI::ContinueRouting() {
  m_bContinueRouting = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
    return TRUE; // not a command
  ASSERT(pTarget != nullptr);
  m_bEnableChanged = FALSE;
  const BOOL bResult = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return bResult;
}
