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
