// CWnd: creation and destruction, the default message handlers and the thin Win32 operations.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() noexcept : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::~CWnd() {
  if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this)
    return;
  // The object goes first: its window goes with it (its last messages get CWnd's own handling).
  if (::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
    ::DestroyWindow(m_hWnd);
  if (m_hWnd != nullptr) { // still attached: the window belongs to another thread or survived
    AfxUnsubclass(this);
    Detach();
  }
}

// --- creation ---

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxDefaultWndClass();
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  ASSERT(m_hWnd == nullptr);
  CREATESTRUCT cs = {};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = static_cast<LONG>(dwStyle);
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }

  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // Never attached (the system failed before the first message): no WM_NCDESTROY will clean up.
  // If it was attached and creation failed, WM_NCDESTROY has already run PostNcDestroy.
  // Either way this object may be gone now: no member is touched below.
  if (!AfxUnhookWindowCreate())
    PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr)
    return FALSE;
  const bool bAttached = FromHandlePermanent(m_hWnd) == this;
  HWND hWnd = m_hWnd;
  const BOOL bResult = ::DestroyWindow(hWnd);
  // An attached object was detached by WM_NCDESTROY (and may be deleted); a plain one lets go here.
  if (!bAttached && bResult)
    m_hWnd = nullptr;
  return bResult;
}

void CWnd::PostNcDestroy() {}

// --- default handlers ---

int CWnd::OnCreate(LPCREATESTRUCT) {
  return static_cast<int>(Default());
}
void CWnd::OnPaint() {
  Default();
}
void CWnd::OnSize(UINT, int, int) {
  Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
  Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
  Default();
}
void CWnd::OnClose() {
  Default();
}
void CWnd::OnDestroy() {
  Default();
}
void CWnd::OnTimer(UINT_PTR) {
  Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnMouseHWheel(UINT, short, CPoint) {
  Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
  Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
  Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
  Default();
}

void CWnd::OnNcDestroy() {
  // The application's main window going away ends the application's message loop.
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pMainWnd == this) {
    pApp->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
  Default();
  AfxDetachDestroyed(this); // may delete this
}

// --- operations ---

BOOL CWnd::ShowWindow(int nCmdShow) {
  return ::ShowWindow(m_hWnd, nCmdShow);
}
void CWnd::UpdateWindow() {
  ::UpdateWindow(m_hWnd);
}
BOOL CWnd::IsIconic() const {
  return ::IsIconic(m_hWnd);
}
void CWnd::CloseWindow() {
  ::CloseWindow(m_hWnd);
}
BOOL CWnd::OpenIcon() {
  return ::OpenIcon(m_hWnd);
}
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
  ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
  MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
  ::GetClientRect(m_hWnd, lpRect);
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
  ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::Invalidate(BOOL bErase) {
  ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
  ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
  ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}
CDC* CWnd::GetDC() {
  return CDC::FromHandle(::GetDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* pDC) {
  return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc());
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
  return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}
int CWnd::GetScrollPos(int nBar) const {
  return ::GetScrollPos(m_hWnd, nBar);
}
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
  ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
  return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
  ::SetWindowTextA(m_hWnd, lpszString);
}
int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
  return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
  const int nLength = ::GetWindowTextLengthA(m_hWnd);
  LPTSTR pBuffer = rString.GetBuffer(nLength);
  const int nCopied = nLength > 0 ? ::GetWindowTextA(m_hWnd, pBuffer, nLength + 1) : 0;
  rString.ReleaseBuffer(nCopied);
}
int CWnd::GetWindowTextLength() const {
  return ::GetWindowTextLengthA(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const {
  return FromHandle(::GetDlgItem(m_hWnd, nID));
}
void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
  *phWnd = ::GetDlgItem(m_hWnd, nID);
}
int CWnd::GetDlgItemText(int nID, CString& rString) const {
  HWND hItem = ::GetDlgItem(m_hWnd, nID);
  if (hItem == nullptr) {
    rString.Empty();
    return 0;
  }
  const int nLength = ::GetWindowTextLengthA(hItem);
  LPTSTR pBuffer = rString.GetBuffer(nLength);
  const int nCopied = nLength > 0 ? ::GetWindowTextA(hItem, pBuffer, nLength + 1) : 0;
  rString.ReleaseBuffer(nCopied);
  return nCopied;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
