// How windows reach their objects: the creation hook that attaches and subclasses a window at
// HCBT_CREATEWND (before its first message), and AfxWndProc, which hands each message to the object.
#include "afximpl.h"

namespace {
// Input-method windows that the system may create on the thread are never the window being created.
bool IsImeWindow(HWND hWnd) {
  if (::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_IME)
    return true;
  char name[16] = {};
  ::GetClassNameA(hWnd, name, sizeof(name));
  return ::lstrcmpiA(name, "IME") == 0;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  AfxThreadState* pState = AfxGetThreadState();
  if (code == HCBT_CREATEWND && pState->pWndInit != nullptr) {
    auto hWnd = reinterpret_cast<HWND>(wParam);
    if (!IsImeWindow(hWnd)) {
      CWnd* pWnd = pState->pWndInit;
      pState->pWndInit = nullptr;
      if (pWnd->Attach(hWnd))
        AfxSubclass(pWnd, hWnd);
    }
  }
  return ::CallNextHookEx(pState->hHookCbt, code, wParam, lParam);
}

// Restores the thread's dispatch state when a message's handling ends, even by an exception.
class DispatchScope {
public:
  DispatchScope(AfxThreadState* pState, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
      : m_pState(pState), m_saved(pState->lastSentMsg) {
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = nMsg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    m_pState->lastSentMsg = msg;
    ++m_pState->nDispatchDepth;
  }
  ~DispatchScope() {
    m_pState->lastSentMsg = m_saved;
    if (--m_pState->nDispatchDepth == 0)
      m_pState->DeleteDispatchTemps();
  }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

private:
  AfxThreadState* m_pState;
  MSG m_saved;
};
} // namespace

void AfxHookWindowCreate(CWnd* pWnd) {
  AfxThreadState* pState = AfxGetThreadState();
  ASSERT(pState->pWndInit == nullptr);
  if (pState->hHookCbt == nullptr) {
    pState->hHookCbt = ::SetWindowsHookExA(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
    if (pState->hHookCbt == nullptr)
      AfxThrowResourceException();
  }
  pState->pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  AfxThreadState* pState = AfxGetThreadState();
  if (pState->hHookCbt != nullptr) {
    ::UnhookWindowsHookEx(pState->hHookCbt);
    pState->hHookCbt = nullptr;
  }
  if (pState->pWndInit != nullptr) {
    pState->pWndInit = nullptr;
    return FALSE;
  }
  return TRUE;
}

WNDPROC AFXAPI AfxGetAfxWndProc() {
  return &AfxWndProc;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr)
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  DispatchScope scope(AfxGetThreadState(), hWnd, nMsg, wParam, lParam);
  const LRESULT lResult = KQAfxPrivate::WndAccess::WindowProc(*pWnd, nMsg, wParam, lParam);
  // A handler of WM_NCDESTROY that did not call CWnd::OnNcDestroy leaves the object attached.
  if (nMsg == WM_NCDESTROY) {
    if (CWnd* pStill = CWnd::FromHandlePermanent(hWnd))
      AfxDetachDestroyed(pStill);
  }
  return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult))
    lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr)
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = AfxGetThreadState()->lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}
