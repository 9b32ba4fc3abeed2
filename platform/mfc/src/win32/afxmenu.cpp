// CMenu.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() {
  DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
  return AfxTempObject<CMenu>(hMenu);
}

HMENU CMenu::GetSafeHmenu() const noexcept {
  return this == nullptr ? nullptr : m_hMenu;
}

BOOL CMenu::Attach(HMENU hNewMenu) {
  if (hNewMenu == nullptr || m_hMenu != nullptr)
    return FALSE;
  m_hMenu = hNewMenu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr)
    return FALSE;
  return ::DestroyMenu(Detach());
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
  return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::GetMenuItemCount() const {
  return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const {
  return ::GetMenuItemID(m_hMenu, nPos);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
  return FromHandle(::GetSubMenu(m_hMenu, nPos));
}
