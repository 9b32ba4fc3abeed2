// Internals of kqafx.dll shared by its Win32 sources: per-thread state (window being created, the
// creation hook, the message being handled, temporary objects), the HWND map and helpers.
#pragma once

#include "afxwin.h"

#include <map>
#include <utility>

// The module handle of kqafx.dll (set at process attach).
extern HINSTANCE g_hKqafxModule;

// Where OnCmdMsg found a command's handler, when asked to report instead of running it.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// A temporary wrapper object made by FromHandle, with how to free it without touching its handle.
struct AfxTempEntry {
  CObject* pObject;
  void (*pfnRelease)(CObject*);
  bool bPinned; // made outside any message dispatch: kept until the thread ends
};

// State of one thread, created on first use and freed when the thread detaches.
struct AfxThreadState {
  CWnd* pWndInit = nullptr; // the object to attach at the next HCBT_CREATEWND
  HHOOK hHookCbt = nullptr;
  MSG lastSentMsg = {};   // the message being handled (for CWnd::Default)
  int nDispatchDepth = 0; // nesting of AfxWndProc calls on this thread
  std::map<std::pair<const void*, const void*>, AfxTempEntry> temps; // (type tag, handle) -> object

  AfxThreadState() = default;
  AfxThreadState(const AfxThreadState&) = delete;
  AfxThreadState& operator=(const AfxThreadState&) = delete;
  ~AfxThreadState();

  // Frees the temporary objects made inside message dispatches.
  void DeleteDispatchTemps() noexcept;
};

AfxThreadState* AfxGetThreadState();

// How a temporary object of each type is bound to and released from its handle.
template <class T> struct AfxTempTraits;
template <> struct AfxTempTraits<CWnd> {
  static void Set(CWnd& o, HWND h) { o.m_hWnd = h; }
  static void Clear(CWnd& o) { o.m_hWnd = nullptr; }
};
template <> struct AfxTempTraits<CScrollBar> {
  static void Set(CScrollBar& o, HWND h) { o.m_hWnd = h; }
  static void Clear(CScrollBar& o) { o.m_hWnd = nullptr; }
};
template <> struct AfxTempTraits<CMenu> {
  static void Set(CMenu& o, HMENU h) { o.m_hMenu = h; }
  static void Clear(CMenu& o) { o.m_hMenu = nullptr; }
};
template <> struct AfxTempTraits<CDC> {
  static void Set(CDC& o, HDC h) { o.m_hDC = o.m_hAttribDC = h; }
  static void Clear(CDC& o) { o.m_hDC = o.m_hAttribDC = nullptr; }
};
template <> struct AfxTempTraits<CGdiObject> {
  static void Set(CGdiObject& o, HGDIOBJ h) { o.m_hObject = h; }
  static void Clear(CGdiObject& o) { o.m_hObject = nullptr; }
};
template <> struct AfxTempTraits<CFont> {
  static void Set(CFont& o, HGDIOBJ h) { o.m_hObject = h; }
  static void Clear(CFont& o) { o.m_hObject = nullptr; }
};

// Distinguishes the temporary objects of each type made for the same handle value.
template <class T> inline const char afxTempTag = 0;

// The calling thread's temporary T for handle h (made on first request, reused after). NULL for NULL.
template <class T, class H> T* AfxTempObject(H h) {
  if (h == nullptr)
    return nullptr;
  AfxThreadState* pState = AfxGetThreadState();
  const auto key = std::make_pair(static_cast<const void*>(&afxTempTag<T>), static_cast<const void*>(h));
  auto it = pState->temps.find(key);
  if (it != pState->temps.end())
    return static_cast<T*>(it->second.pObject);
  T* pObject = new T;
  AfxTempTraits<T>::Set(*pObject, h);
  auto release = [](CObject* p) {
    T* pTyped = static_cast<T*>(p);
    AfxTempTraits<T>::Clear(*pTyped);
    delete pTyped;
  };
  try {
    pState->temps.emplace(key, AfxTempEntry{pObject, release, pState->nDispatchDepth == 0});
  } catch (...) {
    release(pObject);
    throw;
  }
  return pObject;
}

// Lets the Win32 sources reach CWnd's protected members.
struct KQAfxPrivate::WndAccess {
  static LRESULT WindowProc(CWnd& w, UINT m, WPARAM wp, LPARAM lp) { return w.WindowProc(m, wp, lp); }
  static WNDPROC& Super(CWnd& w) { return w.m_pfnSuper; }
  static void PostNcDestroy(CWnd& w) { w.PostNcDestroy(); }
};

// Window creation: the next window this thread creates is attached to pWnd (and subclassed).
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the creation hook. FALSE when no window was attached since AfxHookWindowCreate.
BOOL AfxUnhookWindowCreate();

// Routes hWnd's messages to AfxWndProc; the replaced procedure goes to pWnd's m_pfnSuper.
void AfxSubclass(CWnd* pWnd, HWND hWnd);
// Puts pWnd's original window procedure back if AfxWndProc is still the window's procedure.
void AfxUnsubclass(CWnd* pWnd);
// Detaches an object whose window got WM_NCDESTROY and runs its PostNcDestroy.
void AfxDetachDestroyed(CWnd* pWnd);

// The framework's default window classes (registered on first use).
LPCTSTR AfxDefaultWndClass();
LPCTSTR AfxDefaultFrameClass();

// A temporary (or the attached) CScrollBar for a scroll message's control handle; NULL for NULL.
CScrollBar* AfxScrollBarFromHandle(HWND hWnd);

// The owner for dialogs and message boxes: pParent's window, else the main window, else NULL.
HWND AfxGetOwnerHwnd(CWnd* pParent);
// WM_INITDIALOG of a dialog attached to a CDialog: its OnInitDialog (TRUE for an unattached one).
BOOL AfxCallOnInitDialog(HWND hWnd);
