// The process-wide HWND -> CWnd map, temporary CWnd objects, attaching and subclassing.
#include "afximpl.h"

#include <mutex>
#include <unordered_map>

namespace {
// Windows of any thread look their object up here (AfxWndProc), so the map is shared and locked.
class PermanentMap {
public:
  CWnd* Lookup(HWND hWnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_map.find(hWnd);
    return it == m_map.end() ? nullptr : it->second;
  }
  // FALSE when hWnd already has an object.
  bool Insert(HWND hWnd, CWnd* pWnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_map.emplace(hWnd, pWnd).second;
  }
  // Removes hWnd only if it maps to pWnd.
  void Remove(HWND hWnd, const CWnd* pWnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_map.find(hWnd);
    if (it != m_map.end() && it->second == pWnd)
      m_map.erase(it);
  }

private:
  std::mutex m_lock;
  std::unordered_map<HWND, CWnd*> m_map;
};

PermanentMap& Permanent() {
  static PermanentMap map;
  return map;
}
} // namespace

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd == nullptr ? nullptr : Permanent().Lookup(hWnd);
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
  if (CWnd* pWnd = FromHandlePermanent(hWnd))
    return pWnd;
  return AfxTempObject<CWnd>(hWnd);
}

HWND CWnd::GetSafeHwnd() const noexcept {
  // Reached through NULL pointers by design (pParentWnd->GetSafeHwnd()); this file is built so that
  // the comparison is kept.
  return this == nullptr ? nullptr : m_hWnd;
}

BOOL CWnd::Attach(HWND hWndNew) {
  ASSERT(m_hWnd == nullptr);
  if (hWndNew == nullptr || m_hWnd != nullptr || !Permanent().Insert(hWndNew, this))
    return FALSE;
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd != nullptr)
    Permanent().Remove(hWnd, this);
  m_hWnd = nullptr;
  return hWnd;
}

void AfxSubclass(CWnd* pWnd, HWND hWnd) {
  auto old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
  // A class whose own procedure is AfxWndProc has nothing underneath but DefWindowProc.
  KQAfxPrivate::WndAccess::Super(*pWnd) = old == AfxGetAfxWndProc() ? nullptr : old;
}

void AfxUnsubclass(CWnd* pWnd) {
  WNDPROC& super = KQAfxPrivate::WndAccess::Super(*pWnd);
  if (pWnd->m_hWnd != nullptr && super != nullptr &&
      reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(pWnd->m_hWnd, GWLP_WNDPROC)) == AfxGetAfxWndProc())
    ::SetWindowLongPtrA(pWnd->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
  super = nullptr;
}

void AfxDetachDestroyed(CWnd* pWnd) {
  AfxUnsubclass(pWnd);
  pWnd->Detach();
  KQAfxPrivate::WndAccess::PostNcDestroy(*pWnd); // may delete pWnd
}
