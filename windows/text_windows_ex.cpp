// Win32 only. COutputWindowEx and CFastDisplayWndEx: the same handlers over each base window, written
// once as a macro in the manner of the framework's own IMPLEMENT_ and message-map macros.
#include "kqwindowsex.h"

#include "view_input.h"

#define KQ_IMPLEMENT_TEXT_VIEWER(theClass, baseClass)                                                        \
  BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                     \
  ON_WM_MOUSEWHEEL()                                                                                         \
  ON_WM_MOUSEHWHEEL()                                                                                        \
  ON_WM_KEYDOWN()                                                                                            \
  ON_WM_CONTEXTMENU()                                                                                        \
  ON_WM_LBUTTONDOWN()                                                                                        \
  ON_COMMAND(ID_EDIT_COPY, &theClass::OnEditCopy)                                                            \
  ON_COMMAND(ID_KQ_COPY_ALL, &theClass::OnCopyAll)                                                           \
  END_MESSAGE_MAP()                                                                                          \
                                                                                                             \
  theClass::theClass() : m_wheelPending(0), m_hWheelPending(0) {}                                            \
  theClass::~theClass() = default;                                                                           \
                                                                                                             \
  BOOL theClass::OnMouseWheel(UINT, short delta, CPoint) {                                                   \
    KQWheelScroll(*this, m_wheelPending, delta, false);                                                      \
    return TRUE;                                                                                             \
  }                                                                                                          \
  void theClass::OnMouseHWheel(UINT, short delta, CPoint) {                                                  \
    KQWheelScroll(*this, m_hWheelPending, delta, true);                                                      \
  }                                                                                                          \
  void theClass::OnKeyDown(UINT key, UINT repeat, UINT flags) {                                              \
    if (!KQViewKey(*this, key, [this] { KQCopyVisible(*this); }))                                            \
      baseClass::OnKeyDown(key, repeat, flags);                                                              \
  }                                                                                                          \
  void theClass::OnContextMenu(CWnd*, CPoint at) {                                                           \
    KQTrackCopyMenu(*this, at);                                                                              \
  }                                                                                                          \
  /* A child window does not take the focus by itself: the click gives it the keys. */                       \
  void theClass::OnLButtonDown(UINT flags, CPoint point) {                                                   \
    ::SetFocus(GetSafeHwnd());                                                                               \
    baseClass::OnLButtonDown(flags, point);                                                                  \
  }                                                                                                          \
  void theClass::OnEditCopy() {                                                                              \
    KQCopyVisible(*this);                                                                                    \
  }                                                                                                          \
  void theClass::OnCopyAll() {                                                                               \
    KQCopyAll(*this);                                                                                        \
  }

KQ_IMPLEMENT_TEXT_VIEWER(COutputWindowEx, COutputWindow)
KQ_IMPLEMENT_TEXT_VIEWER(CFastDisplayWndEx, CFastDisplayWnd)
