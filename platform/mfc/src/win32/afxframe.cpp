// CFrameWnd: a frame created with the framework's defaults that deletes itself when its window is gone.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CLOSE()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() noexcept {}
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxDefaultFrameClass();
  return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName != nullptr) {
    hMenu = ::LoadMenuA(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
    if (hMenu == nullptr) {
      PostNcDestroy();
      return FALSE;
    }
  }
  // rectDefault lets the system place and size the window.
  const bool bDefault = CRect(rect) == rectDefault;
  const int x = bDefault ? CW_USEDEFAULT : rect.left;
  const int y = bDefault ? CW_USEDEFAULT : rect.top;
  const int cx = bDefault ? CW_USEDEFAULT : rect.right - rect.left;
  const int cy = bDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(),
                hMenu, pContext)) {
    // A window that existed took its menu with it.
    if (hMenu != nullptr && ::IsMenu(hMenu))
      ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

void CFrameWnd::OnClose() {
  DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
  delete this;
}
