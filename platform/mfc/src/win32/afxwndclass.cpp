// The framework's window classes: the defaults for CWnd and CFrameWnd, and AfxRegisterWndClass.
// They belong to kqafx.dll and are global classes, so any module's CreateWindowEx finds them; their
// window procedure is DefWindowProc (objects get their messages by subclassing, as for any class).
#include "afximpl.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {
// Registers the class if this module has not yet; FALSE when registration fails.
bool RegisterOnce(LPCTSTR lpszName, UINT nStyle, HCURSOR hCursor, HBRUSH hBrush, HICON hIcon) {
  WNDCLASSA existing = {};
  if (::GetClassInfoA(g_hKqafxModule, lpszName, &existing))
    return true;
  WNDCLASSA wc = {};
  wc.style = nStyle | CS_GLOBALCLASS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = g_hKqafxModule;
  wc.hCursor = hCursor;
  wc.hbrBackground = hBrush;
  wc.hIcon = hIcon;
  wc.lpszClassName = lpszName;
  return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
} // namespace

LPCTSTR AfxDefaultWndClass() {
  static const bool registered =
      RegisterOnce("KqAfxWnd", CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */),
                   reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr);
  return registered ? "KqAfxWnd" : nullptr;
}

LPCTSTR AfxDefaultFrameClass() {
  static const bool registered =
      RegisterOnce("KqAfxFrameOrView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                   ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */),
                   reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                   ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */));
  return registered ? "KqAfxFrameOrView" : nullptr;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  // The name encodes the attributes, so equal requests share one class. Names live as long as the process.
  static std::mutex lock;
  static std::set<std::string> names;
  char name[96];
  std::snprintf(name, sizeof(name), "Afx:%p:%x:%p:%p:%p", static_cast<void*>(g_hKqafxModule), nClassStyle,
                static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  std::lock_guard<std::mutex> guard(lock);
  if (!RegisterOnce(name, nClassStyle, hCursor, hbrBackground, hIcon))
    return nullptr;
  return names.insert(name).first->c_str();
}
