// Win32 only. COutputWindowEx and CFastDisplayWndEx: the same handlers over each base window, written
// once as a macro in the manner of the framework's own IMPLEMENT_ and message-map macros.
#include "kqwindowsex.h"

#include "text_viewer.h"

#define KQ_IMPLEMENT_TEXT_VIEWER(theClass, baseClass)                                                        \
  BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                     \
  ON_WM_MOUSEWHEEL()                                                                                         \
  ON_WM_MOUSEHWHEEL()                                                                                        \
  ON_WM_KEYDOWN()                                                                                            \
  ON_WM_CONTEXTMENU()                                                                                        \
  ON_WM_LBUTTONDOWN()                                                                                        \
  ON_WM_LBUTTONUP()                                                                                          \
  ON_WM_LBUTTONDBLCLK()                                                                                      \
  ON_WM_MOUSEMOVE()                                                                                          \
  ON_WM_CAPTURECHANGED()                                                                                     \
  ON_WM_TIMER()                                                                                              \
  ON_WM_PAINT()                                                                                              \
  ON_WM_DESTROY()                                                                                            \
  ON_COMMAND(ID_EDIT_COPY, &theClass::OnEditCopy)                                                            \
  ON_COMMAND(ID_KQ_COPY_ALL, &theClass::OnCopyAll)                                                           \
  ON_COMMAND(ID_EDIT_SELECT_ALL, &theClass::OnEditSelectAll)                                                 \
  ON_COMMAND(ID_EDIT_FIND, &theClass::OnEditFind)                                                            \
  ON_COMMAND(ID_EDIT_REPEAT, &theClass::OnEditRepeat)                                                        \
  ON_COMMAND(ID_FILE_SAVE_AS, &theClass::OnFileSaveAs)                                                       \
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &theClass::OnUpdateNeedsText)                                           \
  ON_UPDATE_COMMAND_UI(ID_KQ_COPY_ALL, &theClass::OnUpdateNeedsText)                                         \
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, &theClass::OnUpdateNeedsText)                                     \
  ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, &theClass::OnUpdateEditRepeat)                                        \
  ON_REGISTERED_MESSAGE(kqFindMessage, &theClass::OnFindReplace)                                             \
  END_MESSAGE_MAP()                                                                                          \
                                                                                                             \
  theClass::theClass() {                                                                                     \
    KQInitViewer(m_viewer);                                                                                  \
  }                                                                                                          \
  theClass::~theClass() = default;                                                                           \
                                                                                                             \
  void theClass::OnClearBuffer() {                                                                           \
    m_viewer.selection = KQTextSelection{};                                                                  \
    baseClass::OnClearBuffer();                                                                              \
  }                                                                                                          \
  BOOL theClass::OnMouseWheel(UINT, short delta, CPoint) {                                                   \
    KQWheelScroll(*this, m_viewer.wheelPending, delta, false);                                               \
    return TRUE;                                                                                             \
  }                                                                                                          \
  void theClass::OnMouseHWheel(UINT, short delta, CPoint) {                                                  \
    KQWheelScroll(*this, m_viewer.hWheelPending, delta, true);                                               \
  }                                                                                                          \
  void theClass::OnKeyDown(UINT key, UINT repeat, UINT flags) {                                              \
    if (!KQViewerKey(*this, m_viewer, key))                                                                  \
      baseClass::OnKeyDown(key, repeat, flags);                                                              \
  }                                                                                                          \
  void theClass::OnContextMenu(CWnd*, CPoint at) {                                                           \
    KQTrackViewerMenu(*this, at);                                                                            \
  }                                                                                                          \
  void theClass::OnLButtonDown(UINT flags, CPoint point) {                                                   \
    KQPressAt(*this, m_viewer, flags, point);                                                                \
  }                                                                                                          \
  void theClass::OnLButtonUp(UINT, CPoint) {                                                                 \
    KQEndDrag(*this, m_viewer);                                                                              \
  }                                                                                                          \
  void theClass::OnLButtonDblClk(UINT, CPoint point) {                                                       \
    KQSelectWordAt(*this, m_viewer, point);                                                                  \
  }                                                                                                          \
  void theClass::OnMouseMove(UINT, CPoint point) {                                                           \
    KQMoveTo(*this, m_viewer, point);                                                                        \
  }                                                                                                          \
  void theClass::OnCaptureChanged(CWnd*) {                                                                   \
    KQEndDrag(*this, m_viewer);                                                                              \
  }                                                                                                          \
  void theClass::OnTimer(UINT_PTR id) {                                                                      \
    KQDragTimer(*this, m_viewer, id);                                                                        \
  }                                                                                                          \
  void theClass::OnPaint() {                                                                                 \
    KQPaintView(*this, m_viewer.selection);                                                                  \
  }                                                                                                          \
  void theClass::OnDestroy() {                                                                               \
    KQEndDrag(*this, m_viewer);                                                                              \
    if (m_viewer.findDialog != nullptr)                                                                      \
      m_viewer.findDialog->DestroyWindow(); /* deletes itself */                                             \
    m_viewer.findDialog = nullptr;                                                                           \
    baseClass::OnDestroy();                                                                                  \
  }                                                                                                          \
  void theClass::OnEditCopy() {                                                                              \
    KQCopySelection(*this, m_viewer);                                                                        \
  }                                                                                                          \
  void theClass::OnCopyAll() {                                                                               \
    KQCopyAll(*this);                                                                                        \
  }                                                                                                          \
  void theClass::OnEditSelectAll() {                                                                         \
    KQSelectAllLines(*this, m_viewer);                                                                       \
  }                                                                                                          \
  void theClass::OnEditFind() {                                                                              \
    KQOpenFind(*this, m_viewer);                                                                             \
  }                                                                                                          \
  void theClass::OnEditRepeat() {                                                                            \
    KQRepeatFind(*this, m_viewer, false);                                                                    \
  }                                                                                                          \
  void theClass::OnFileSaveAs() {                                                                            \
    KQSaveWithDialog(*this);                                                                                 \
  }                                                                                                          \
  void theClass::OnUpdateNeedsText(CCmdUI* cmdUI) {                                                          \
    cmdUI->Enable(KQHoldsText(*this));                                                                       \
  }                                                                                                          \
  void theClass::OnUpdateEditRepeat(CCmdUI* cmdUI) {                                                         \
    cmdUI->Enable(m_viewer.findWhat[0] != '\0');                                                             \
  }                                                                                                          \
  LRESULT theClass::OnFindReplace(WPARAM, LPARAM lParam) {                                                   \
    return KQOnFindMessage(*this, m_viewer, lParam);                                                         \
  }

KQ_IMPLEMENT_TEXT_VIEWER(COutputWindowEx, COutputWindow)
KQ_IMPLEMENT_TEXT_VIEWER(CFastDisplayWndEx, CFastDisplayWnd)
