// afxwin.h: the framework's window, dialog, device-context, GDI-object and menu classes, message
// maps, AfxMessageBox and the resource search, over Win32 (ANSI). Built into kqafx.dll.
//
// How a CWnd gets its messages: Create/CreateEx (and CDialog::DoModal) record the object as this
// thread's "window being created" and set a WH_CBT hook; at HCBT_CREATEWND, before the window's first
// message, the hook attaches the object to the HWND and subclasses the window with AfxWndProc,
// whatever class the window has. AfxWndProc sends each message through the object's message map
// (WindowProc -> OnWndMsg); a message no map handles goes to DefWindowProc, i.e. the window's original
// window procedure. After WM_NCDESTROY the object is detached and its PostNcDestroy runs.
//
// docs/mfc-differences.md lists where this layer differs from the framework.
#pragma once

#include "afx.h"
#include "afxcoll.h"
#include "afxres.h"

class CWnd;
class CCmdTarget;
class CMenu;
class CDC;
class CFont;
class CGdiObject;
class CScrollBar;
class CCmdUI;
struct CCreateContext; // accepted for signature compatibility; only NULL is used
struct AFX_CMDHANDLERINFO;

// ---------------------------------------------------------------------------------------------------
// Message maps
//
// In the class declaration (at its end, as the framework asks; members after it need an access label):
//   DECLARE_MESSAGE_MAP()
// In the .cpp file:
//   BEGIN_MESSAGE_MAP(CMyWnd, CFrameWnd)
//     ON_WM_CREATE()
//     ON_WM_PAINT()
//   END_MESSAGE_MAP()
// Each macro below names the handler it calls and the exact signature the handler must have; a handler
// with another signature fails to compile (the macro static_casts the member pointer to that type).
// A map is searched from the most derived class to CCmdTarget; the first matching entry wins.
// ---------------------------------------------------------------------------------------------------

typedef void (CCmdTarget::*AFX_PMSG)();

// OnCmdMsg's nCode: run the command, or ask its handlers' state through a CCmdUI (pExtra).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (static_cast<UINT>(-1))

// What this layer's message-map macros need and the framework does not have: not for hosts.
namespace KQAfxPrivate {
// How a map entry's handler is called (the cracking of wParam/lParam).
enum Sig : UINT_PTR {
  sigEnd = 0, // marks the end of a map
  sigVV,      // void ()
  sigIS,      // int (LPCREATESTRUCT)
  sigVWII,    // void (UINT, int, int)
  sigVWWSB,   // void (UINT, UINT, CScrollBar*)
  sigLWL,     // LRESULT (WPARAM, LPARAM)
  sigCmdV,    // void () for WM_COMMAND with a control id
  sigBWsP,    // BOOL (UINT, short, CPoint)
  sigVWsP,    // void (UINT, short, CPoint)
  sigVWWW,    // void (UINT, UINT, UINT)
  sigVWP,     // void (UINT, CPoint)
  sigVWndP,   // void (CWnd*, CPoint)
  sigCmdUI,   // void (CCmdUI*) for WM_COMMAND's CN_UPDATE_COMMAND_UI
  sigVMwb,    // void (CMenu*, UINT, BOOL)
  sigVWnd,    // void (CWnd*)
  sigVWp,     // void (UINT_PTR)
};
// nMessage of an ON_REGISTERED_MESSAGE entry; its nSig holds the address of the message variable.
constexpr UINT nRegisteredMessage = 0xC000;

// Converts a handler to the map's generic member pointer and back. The round trip through
// reinterpret_cast is exact; the entry's Sig records the real type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class F> inline AFX_PMSG MsgCast(F pfn) noexcept {
  return reinterpret_cast<AFX_PMSG>(pfn);
}
template <class F> inline F MsgUncast(AFX_PMSG pfn) noexcept {
  return reinterpret_cast<F>(pfn);
}
#pragma GCC diagnostic pop

// Lets the layer's window procedure reach CWnd's protected members.
struct WndAccess;
} // namespace KQAfxPrivate

struct AFX_MSGMAP_ENTRY {
  UINT nMessage; // window message
  UINT nCode;    // notification code (WM_COMMAND only)
  UINT nID;      // first control/command id (WM_COMMAND only)
  UINT nLastID;  // last control/command id (WM_COMMAND only)
  UINT_PTR nSig; // how the handler is called
  AFX_PMSG pfn;  // the handler, converted to AFX_PMSG
};

struct AFX_MSGMAP {
  const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)(); // NULL for CCmdTarget's map
  const AFX_MSGMAP_ENTRY* lpEntries;          // ends with an entry whose nSig is 0
};

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                                       \
  virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
  const AFX_MSGMAP* theClass::GetMessageMap() const {                                                        \
    return GetThisMessageMap();                                                                              \
  }                                                                                                          \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                                   \
    using ThisClass [[maybe_unused]] = theClass;                                                             \
    using TheBaseClass = baseClass;                                                                          \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
  { 0, 0, 0, 0, KQAfxPrivate::sigEnd, nullptr }                                                              \
  }                                                                                                          \
  ;                                                                                                          \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};              \
  return &messageMap;                                                                                        \
  }

// WM_CREATE -> afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);  0 = go on, -1 = destroy the window.
#define ON_WM_CREATE()                                                                                       \
  {WM_CREATE,                                                                                                \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigIS,                                                                                      \
   KQAfxPrivate::MsgCast(static_cast<int (CWnd::*)(LPCREATESTRUCT)>(&ThisClass::OnCreate))},
// WM_PAINT -> afx_msg void OnPaint();  (paint with a CPaintDC, or call the base, to validate)
#define ON_WM_PAINT()                                                                                        \
  {WM_PAINT,                                                                                                 \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVV,                                                                                      \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)()>(&ThisClass::OnPaint))},
// WM_SIZE -> afx_msg void OnSize(UINT nType, int cx, int cy);  cx, cy: new client size.
#define ON_WM_SIZE()                                                                                         \
  {WM_SIZE,                                                                                                  \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWII,                                                                                    \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, int, int)>(&ThisClass::OnSize))},
// WM_HSCROLL -> afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
//   pScrollBar: NULL for the window's own bar, else the control (maybe a temporary object).
#define ON_WM_HSCROLL()                                                                                      \
  {WM_HSCROLL,                                                                                               \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWWSB,                                                                                   \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(&ThisClass::OnHScroll))},
// WM_VSCROLL -> afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);  as OnHScroll.
#define ON_WM_VSCROLL()                                                                                      \
  {WM_VSCROLL,                                                                                               \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWWSB,                                                                                   \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(&ThisClass::OnVScroll))},
// WM_CLOSE -> afx_msg void OnClose();
#define ON_WM_CLOSE()                                                                                        \
  {WM_CLOSE,                                                                                                 \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVV,                                                                                      \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)()>(&ThisClass::OnClose))},
// WM_DESTROY -> afx_msg void OnDestroy();
#define ON_WM_DESTROY()                                                                                      \
  {WM_DESTROY,                                                                                               \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVV,                                                                                      \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)()>(&ThisClass::OnDestroy))},
// WM_NCDESTROY -> afx_msg void OnNcDestroy();  an override must call the base's OnNcDestroy.
#define ON_WM_NCDESTROY()                                                                                    \
  {WM_NCDESTROY,                                                                                             \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVV,                                                                                      \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)()>(&ThisClass::OnNcDestroy))},
// The mouse and keyboard entries below: points are the signed coordinates packed in lParam.
// WM_MOUSEWHEEL -> afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
//   nFlags: MK_ keys; zDelta: multiples (or parts) of WHEEL_DELTA, > 0 away from the user;
//   pt: the cursor in screen coordinates. The result is the message's result.
#define ON_WM_MOUSEWHEEL()                                                                                   \
  {WM_MOUSEWHEEL,                                                                                            \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigBWsP,                                                                                    \
   KQAfxPrivate::MsgCast(static_cast<BOOL (CWnd::*)(UINT, short, CPoint)>(&ThisClass::OnMouseWheel))},
// WM_MOUSEHWHEEL -> afx_msg void OnMouseHWheel(UINT nFlags, short zDelta, CPoint pt);
//   as OnMouseWheel; zDelta > 0: tilted to the right.
#define ON_WM_MOUSEHWHEEL()                                                                                  \
  {WM_MOUSEHWHEEL,                                                                                           \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWsP,                                                                                    \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, short, CPoint)>(&ThisClass::OnMouseHWheel))},
// WM_KEYDOWN -> afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
//   nChar: the virtual key; nRepCnt: the repeat count; nFlags: scan code, extended, previous-state bits.
#define ON_WM_KEYDOWN()                                                                                      \
  {WM_KEYDOWN,                                                                                               \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWWW,                                                                                    \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnKeyDown))},
// WM_CONTEXTMENU -> afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
//   pWnd: the window clicked (maybe a temporary object); pos: screen coordinates, (-1, -1) when the
//   menu was asked for from the keyboard.
#define ON_WM_CONTEXTMENU()                                                                                  \
  {WM_CONTEXTMENU,                                                                                           \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWndP,                                                                                   \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(CWnd*, CPoint)>(&ThisClass::OnContextMenu))},
// WM_LBUTTONDOWN -> afx_msg void OnLButtonDown(UINT nFlags, CPoint point);  point: client coordinates.
#define ON_WM_LBUTTONDOWN()                                                                                  \
  {WM_LBUTTONDOWN,                                                                                           \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWP,                                                                                     \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, CPoint)>(&ThisClass::OnLButtonDown))},
// WM_LBUTTONUP -> afx_msg void OnLButtonUp(UINT nFlags, CPoint point);  as OnLButtonDown.
#define ON_WM_LBUTTONUP()                                                                                    \
  {WM_LBUTTONUP,                                                                                             \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWP,                                                                                     \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, CPoint)>(&ThisClass::OnLButtonUp))},
// WM_LBUTTONDBLCLK -> afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);  the class needs CS_DBLCLKS.
#define ON_WM_LBUTTONDBLCLK()                                                                                \
  {WM_LBUTTONDBLCLK,                                                                                         \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWP,                                                                                     \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, CPoint)>(&ThisClass::OnLButtonDblClk))},
// WM_MOUSEMOVE -> afx_msg void OnMouseMove(UINT nFlags, CPoint point);  as OnLButtonDown.
#define ON_WM_MOUSEMOVE()                                                                                    \
  {WM_MOUSEMOVE,                                                                                             \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWP,                                                                                     \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT, CPoint)>(&ThisClass::OnMouseMove))},
// WM_CAPTURECHANGED -> afx_msg void OnCaptureChanged(CWnd* pWnd);  pWnd: the window getting the capture
//   (maybe a temporary object, NULL when none).
#define ON_WM_CAPTURECHANGED()                                                                               \
  {WM_CAPTURECHANGED,                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWnd,                                                                                    \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(CWnd*)>(&ThisClass::OnCaptureChanged))},
// WM_TIMER -> afx_msg void OnTimer(UINT_PTR nIDEvent);  nIDEvent: the id given to SetTimer.
#define ON_WM_TIMER()                                                                                        \
  {WM_TIMER,                                                                                                 \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVWp,                                                                                     \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(UINT_PTR)>(&ThisClass::OnTimer))},
// WM_INITMENUPOPUP -> afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
//   pPopupMenu: the menu about to open (maybe a temporary object); nIndex: its position in its parent.
#define ON_WM_INITMENUPOPUP()                                                                                \
  {WM_INITMENUPOPUP,                                                                                         \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigVMwb,                                                                                    \
   KQAfxPrivate::MsgCast(static_cast<void (CWnd::*)(CMenu*, UINT, BOOL)>(&ThisClass::OnInitMenuPopup))},
// WM_COMMAND from a menu, an accelerator or a button click (BN_CLICKED) with the given id
//   -> void memberFxn();  written ON_COMMAND(IDOK, &CMyDlg::OnMyOk).
#define ON_COMMAND(id, memberFxn)                                                                            \
  {WM_COMMAND,                                                                                               \
   0,                                                                                                        \
   static_cast<UINT>(id),                                                                                    \
   static_cast<UINT>(id),                                                                                    \
   KQAfxPrivate::sigCmdV,                                                                                    \
   static_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(memberFxn))},
// Asks whether command id is available (CN_UPDATE_COMMAND_UI, e.g. before a menu opens)
//   -> void memberFxn(CCmdUI* pCmdUI);  the handler calls pCmdUI->Enable, SetCheck, ...
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
  {WM_COMMAND,                                                                                               \
   static_cast<UINT>(CN_UPDATE_COMMAND_UI),                                                                  \
   static_cast<UINT>(id),                                                                                    \
   static_cast<UINT>(id),                                                                                    \
   KQAfxPrivate::sigCmdUI,                                                                                   \
   KQAfxPrivate::MsgCast(static_cast<void (CCmdTarget::*)(CCmdUI*)>(memberFxn))},
// Any message -> LRESULT memberFxn(WPARAM wParam, LPARAM lParam);  the result is the message's result.
#define ON_MESSAGE(message, memberFxn)                                                                       \
  {static_cast<UINT>(message),                                                                               \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   KQAfxPrivate::sigLWL,                                                                                     \
   KQAfxPrivate::MsgCast(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(memberFxn))},
// The message whose number is in the UINT variable nMessageVariable (from RegisterWindowMessage; read
//   at each dispatch) -> LRESULT memberFxn(WPARAM wParam, LPARAM lParam);  as ON_MESSAGE.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
  {KQAfxPrivate::nRegisteredMessage,                                                                         \
   0,                                                                                                        \
   0,                                                                                                        \
   0,                                                                                                        \
   reinterpret_cast<UINT_PTR>(static_cast<const UINT*>(&nMessageVariable)),                                  \
   KQAfxPrivate::MsgCast(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(memberFxn))},

// ---------------------------------------------------------------------------------------------------

// The root of the classes that have a message map.
class KQAFX_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
public:
  CCmdTarget() noexcept {}

  // Routes a command to this object's map. nCode CN_COMMAND (menu, accelerator, button click) runs the
  // ON_COMMAND handler; CN_UPDATE_COMMAND_UI runs the ON_UPDATE_COMMAND_UI handler with the CCmdUI in
  // pExtra (FALSE when it called ContinueRouting). With pHandlerInfo, nothing runs: the handler found
  // is reported there. TRUE when a handler ran or was found.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  DECLARE_MESSAGE_MAP()
};

// The state of one user-interface item (a menu item by position, or a window) that asks whether its
// command is available: handed to ON_UPDATE_COMMAND_UI handlers. Popup items (m_pSubMenu set) are not
// changed.
class KQAFX_API CCmdUI {
public:
  UINT m_nID;        // the command
  UINT m_nIndex;     // the item's position in m_pMenu
  CMenu* m_pMenu;    // the menu holding the item, NULL if not a menu item
  CMenu* m_pSubMenu; // the popup at that position (m_nID: its first item's), else NULL
  CWnd* m_pOther;    // the window, when not a menu item

  // Enables or greys (MF_DISABLED | MF_GRAYED) the item; enables or disables the window.
  virtual void Enable(BOOL bOn = TRUE);
  // 0: no check mark, else checked. Windows: only buttons.
  virtual void SetCheck(int nCheck = 1);
  // Checked with a radio mark, or not checked.
  virtual void SetRadio(BOOL bOn = TRUE);
  // The item's or the window's text.
  virtual void SetText(LPCTSTR lpszText);
  // Lets the routing go on to the next command target after this handler.
  void ContinueRouting();

  CCmdUI() noexcept;
  BOOL m_bEnableChanged;   // Enable was called since DoUpdate began
  BOOL m_bContinueRouting; // ContinueRouting was called
  UINT m_nIndexMax;        // number of items in m_pMenu

  // Asks pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, NULL). With bDisableIfNoHndler, when the
  // handler did not call Enable (or there was none), enables the item exactly when pTarget has an
  // ON_COMMAND handler for m_nID. Ids 0 and 0xFFFF are left alone. TRUE when a handler ran.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// The window procedure that every attached window is subclassed with.
KQAFX_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
KQAFX_API WNDPROC AFXAPI AfxGetAfxWndProc();

// A window. The object and the HWND are separate: DestroyWindow destroys the window, not the object;
// destroying an object whose window still exists destroys the window. Not copyable.
class KQAFX_API CWnd : public CCmdTarget {
  DECLARE_DYNAMIC(CWnd)
public:
  HWND m_hWnd; // NULL while no window is attached

  CWnd() noexcept;
  ~CWnd() override;

  // --- HWND <-> object ---
  // The object attached to hWnd; for a window without one, a temporary CWnd (do not keep the pointer).
  // NULL for a NULL hWnd.
  static CWnd* PASCAL FromHandle(HWND hWnd);
  // The attached object, or NULL.
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  // Attaches an existing window without subclassing it (its messages do not reach the map).
  // FALSE when hWndNew is NULL or already attached to another object.
  BOOL Attach(HWND hWndNew);
  // Removes the attachment; returns the HWND (the window is not destroyed).
  HWND Detach();
  // Both may be called through a NULL pointer and then give NULL (as the framework's do).
  HWND GetSafeHwnd() const noexcept;
  operator HWND() const noexcept { return GetSafeHwnd(); }

  // --- creation and destruction ---
  // A child window (WS_CHILD is added) of pParentWnd at rect (parent client coordinates).
  // lpszClassName NULL: the framework's default window class. TRUE on success; OnCreate has run.
  // On failure FALSE, and PostNcDestroy has run (a CFrameWnd has deleted itself).
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
  // Any window: x, y, nWidth, nHeight as CreateWindowEx takes them (CW_USEDEFAULT allowed).
  // lpszClassName NULL: the framework's default window class; any class registered by the host works.
  // Failure as Create.
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                        int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                        LPVOID lpParam = NULL);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
  // Destroys the window (not this object; a CFrameWnd deletes itself in PostNcDestroy).
  // FALSE when there is no window or the system refuses.
  virtual BOOL DestroyWindow();
  // Called before the window is created; may change cs. FALSE cancels the creation.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

  // --- window state ---
  // Nonzero when the window was visible before.
  BOOL ShowWindow(int nCmdShow);
  // Paints the window now if it has an update region (sends WM_PAINT).
  void UpdateWindow();
  BOOL IsIconic() const;
  // Minimises the window (it is not destroyed).
  void CloseWindow();
  // Restores a minimised window; nonzero on success.
  BOOL OpenIcon();
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void GetClientRect(LPRECT lpRect) const;

  // --- painting ---
  // The whole client area is added to the update region (erased first when bErase).
  void Invalidate(BOOL bErase = TRUE);
  // lpRect NULL: the whole client area.
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
  // Moves the client area's pixels (lpRect NULL: all of it) and invalidates the uncovered part.
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL);
  // The client area's device context as a temporary CDC, NULL on failure. Give it back with ReleaseDC.
  CDC* GetDC();
  // Nonzero on success.
  int ReleaseDC(CDC* pDC);

  // --- scroll bars (nBar: SB_HORZ, SB_VERT or SB_CTL for a scroll-bar control) ---
  // Returns the previous position.
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
  // Equal ends hide the bar.
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);

  // --- menus ---
  // The system menu as a temporary CMenu (bRevert FALSE); NULL when bRevert is TRUE or there is none.
  CMenu* GetSystemMenu(BOOL bRevert) const;

  // --- text and children ---
  // Copies at most nMaxCount - 1 characters and a NUL; returns the number copied.
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
  int GetWindowTextLength() const;
  // The child with id nID (maybe a temporary object), or NULL.
  CWnd* GetDlgItem(int nID) const;

  // --- mouse capture (released with the Win32 ::ReleaseCapture) ---
  // Returns the window that had the capture before (maybe a temporary object), or NULL.
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  // The window of this thread that has the capture (maybe a temporary object), or NULL.
  static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }

  // --- timers ---
  // WM_TIMER with nIDEvent every nElapse ms (lpfnTimer NULL), or calls lpfnTimer instead. Returns
  // nIDEvent, 0 on failure. Setting an existing id again restarts it.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
  BOOL KillTimer(UINT_PTR nIDEvent);

  // --- message pump ---
  // Called by the pump before a message of this window or of a child is dispatched; TRUE: it was
  // handled here and is not dispatched. The default returns FALSE.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // PreTranslateMessage of each attached window from pMsg->hwnd up through the parents (and owners)
  // to hWndStop; TRUE as soon as one handled the message.
  static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  // The dialog manager's keyboard handling (Tab, Enter, Escape ...) for this dialog.
  BOOL IsDialogMessage(LPMSG lpMsg);
  // IsDialogMessage for keyboard and mouse messages; FALSE for the others.
  BOOL PreTranslateInput(LPMSG lpMsg);

  // --- default message handlers: each passes the current message to Default() ---
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  // Returns Default()'s result.
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnMouseHWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  // The last message: default handling, then the object is detached and PostNcDestroy runs.
  afx_msg void OnNcDestroy();

protected:
  // One message: OnWndMsg, else DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Looks the message up in the maps and calls the handler; FALSE when no entry matched.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // WM_COMMAND: OnCmdMsg with the id and notification code; TRUE when handled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // The window's original window procedure (the class's), or ::DefWindowProc.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs after the window is gone and the object detached; the default does nothing.
  virtual void PostNcDestroy();
  // DefWindowProc with the message being handled now on this thread.
  LRESULT Default();

  WNDPROC m_pfnSuper; // the window procedure that AfxWndProc replaced, NULL if none

  friend class CDialog;
  friend struct KQAfxPrivate::WndAccess;

  DECLARE_MESSAGE_MAP()
};

// A top-level (or child) frame window. Frames delete themselves after their window is destroyed, so
// they must be allocated with new and never deleted by their owner while the window exists.
class KQAFX_API CFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CFrameWnd)
public:
  // Lets Windows choose position and size (CW_USEDEFAULT).
  static AFX_DATA const CRect rectDefault;

  CFrameWnd() noexcept;
  ~CFrameWnd() override;

  // lpszClassName NULL: the framework's frame class (arrow cursor, application icon, window-colour
  // background, redrawn on resize). lpszMenuName: a menu resource found by AfxFindResourceHandle.
  // TRUE on success (WM_CREATE and WM_SIZE have been handled). On failure FALSE, and the object
  // has deleted itself.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL,
                      DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // Routes a command to this frame's map, then to the application's.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // Destroys the window.
  afx_msg void OnClose();
  // Updates each item of the popup through CCmdUI::DoUpdate with this frame's OnCmdMsg, so that
  // ON_UPDATE_COMMAND_UI handlers set its state; with m_bAutoMenuEnable, items whose handlers do not
  // call Enable are enabled exactly when an ON_COMMAND handler is found (not system commands, not
  // popups). The system menu is left alone.
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

  BOOL m_bAutoMenuEnable; // TRUE unless changed

protected:
  // delete this.
  void PostNcDestroy() override;

  DECLARE_MESSAGE_MAP()
};

// A dialog from a dialog template resource. WM_COMMAND IDOK and IDCANCEL (buttons, Enter, Escape,
// the close box) go to the virtual OnOK and OnCancel.
class KQAFX_API CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
public:
  // The template by name or MAKEINTRESOURCE (the pointer is kept, not copied).
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
  ~CDialog() override;

  // Finds the template with AfxFindResourceHandle (RT_DIALOG), runs the dialog modally with
  // m_pParentWnd (NULL: the main window) as owner and returns the EndDialog result; -1 when the
  // template is missing or the dialog cannot be created.
  virtual INT_PTR DoModal();
  // Ends a modal dialog once the current handler returns; DoModal returns nResult.
  void EndDialog(int nResult);
  // WM_INITDIALOG (not through the message map). Nonzero: the system focuses the first control.
  virtual BOOL OnInitDialog();
  // Gives keyboard and mouse messages of the dialog and its controls to IsDialogMessage, so that a
  // modeless dialog gets Tab, Enter and Escape through the application's message pump.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  LPCTSTR m_lpszTemplateName;
  UINT m_nIDHelp;
  CWnd* m_pParentWnd;

protected:
  CDialog() noexcept;
  // EndDialog(IDOK).
  virtual void OnOK();
  // EndDialog(IDCANCEL).
  virtual void OnCancel();

  DECLARE_MESSAGE_MAP()
};

// An edit control.
class KQAFX_API CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
public:
  CEdit() noexcept {}
  // An "EDIT" child control.
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
};

// A scroll-bar control (SB_CTL).
class KQAFX_API CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
public:
  CScrollBar() noexcept {}
  // A "SCROLLBAR" child control (SBS_HORZ or SBS_VERT in dwStyle).
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
};

// A menu handle. The destructor destroys an attached menu; temporary objects (FromHandle) do not.
class KQAFX_API CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)
public:
  HMENU m_hMenu;

  CMenu() noexcept : m_hMenu(nullptr) {}
  ~CMenu() override;

  // A temporary CMenu for hMenu (do not keep the pointer); NULL for NULL.
  static CMenu* PASCAL FromHandle(HMENU hMenu);
  BOOL Attach(HMENU hNewMenu);
  HMENU Detach();
  BOOL DestroyMenu();
  // May be called through a NULL pointer (gives NULL).
  HMENU GetSafeHmenu() const noexcept;
  operator HMENU() const noexcept { return GetSafeHmenu(); }

  // nEnable: MF_BYCOMMAND or MF_BYPOSITION with MF_ENABLED, MF_DISABLED or MF_GRAYED.
  // Returns the previous state (MF_ENABLED, MF_DISABLED, MF_GRAYED), or (UINT)-1 if no such item.
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  // nCheck: MF_BYCOMMAND or MF_BYPOSITION with MF_CHECKED or MF_UNCHECKED. The previous state, or
  // (UINT)-1 if no such item.
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  // (UINT)-1 on error.
  UINT GetMenuItemCount() const;
  // The command id at nPos; (UINT)-1 for a popup, 0 for a separator.
  UINT GetMenuItemID(int nPos) const;
  // The popup at nPos (maybe a temporary object), NULL if that item is not one.
  CMenu* GetSubMenu(int nPos) const;
};

// A GDI object handle. The destructor deletes an attached object (DeleteObject); temporary objects do not.
// Select it out of every device context before it is deleted.
class KQAFX_API CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)
public:
  HGDIOBJ m_hObject;

  CGdiObject() noexcept : m_hObject(nullptr) {}
  ~CGdiObject() override;

  // A temporary CGdiObject for hObject; NULL for NULL.
  static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
  // May be called through a NULL pointer (gives NULL).
  HGDIOBJ GetSafeHandle() const noexcept;
  operator HGDIOBJ() const noexcept { return GetSafeHandle(); }
  // FALSE when hObject is NULL or an object is already attached.
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  // Deletes the attached object; FALSE when there is none.
  BOOL DeleteObject();
};

// A font. The destructor deletes the font.
class KQAFX_API CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
public:
  CFont() noexcept {}
  // A temporary CFont for hFont; NULL for NULL.
  static CFont* PASCAL FromHandle(HFONT hFont);
  operator HFONT() const noexcept { return static_cast<HFONT>(GetSafeHandle()); }
  // Creates the font and attaches it. FALSE on failure or when a font is already attached.
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
};

// A device context. m_hDC is used for output, m_hAttribDC for queries; both are the same handle here.
// The destructor deletes an attached DC (DeleteDC); temporary objects and CPaintDC give theirs back
// their own way.
class KQAFX_API CDC : public CObject {
  DECLARE_DYNAMIC(CDC)
public:
  HDC m_hDC;
  HDC m_hAttribDC;

  CDC() noexcept : m_hDC(nullptr), m_hAttribDC(nullptr) {}
  ~CDC() override;

  // A temporary CDC for hDC; NULL for NULL.
  static CDC* PASCAL FromHandle(HDC hDC);
  // May be called through a NULL pointer (gives NULL).
  HDC GetSafeHdc() const noexcept;
  operator HDC() const noexcept { return GetSafeHdc(); }
  BOOL Attach(HDC hDC);
  HDC Detach();
  BOOL DeleteDC();

  // Selects the font; returns the previously selected font as a temporary CFont, NULL on error.
  virtual CFont* SelectObject(CFont* pFont);
  // Selects a stock object; returns the previous object (temporary), NULL on error.
  virtual CGdiObject* SelectStockObject(int nIndex);
  // Return the previous colour (SetBkColor: CLR_INVALID on error).
  virtual COLORREF SetTextColor(COLORREF crColor);
  virtual COLORREF SetBkColor(COLORREF crColor);
  // Returns the previous flags (GDI_ERROR on failure).
  UINT SetTextAlign(UINT nFlags);
  // nCount bytes of lpszString (no NUL needed), at (x, y).
  virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
  // Metrics of the font selected into m_hAttribDC.
  BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
};

// BeginPaint when constructed, EndPaint when destroyed. Use only in a WM_PAINT handler.
class KQAFX_API CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)
public:
  // Throws CResourceException* when BeginPaint fails.
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps; // rcPaint: the rectangle to paint

protected:
  HWND m_hWnd;
};

// ---------------------------------------------------------------------------------------------------
// Application object (minimal)
// ---------------------------------------------------------------------------------------------------

class KQAFX_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
public:
  CWinThread() noexcept : m_pMainWnd(nullptr) {}
  // The main window: owner of dialogs and message boxes with no parent; when its window is destroyed,
  // the pointer is cleared and WM_QUIT posted.
  CWnd* m_pMainWnd;

  virtual BOOL InitInstance();
  // Runs PumpMessage until WM_QUIT; returns ExitInstance().
  virtual int Run();
  // Waits for one message and dispatches it unless PreTranslateMessage handled it. FALSE on WM_QUIT.
  virtual BOOL PumpMessage();
  // CWnd::WalkPreTranslateTree from the message's window up to the main window.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Returns the WM_QUIT exit code.
  virtual int ExitInstance();

protected:
  int m_nExitCode = 0;
};

// At most one exists at a time: the constructor registers it (AfxGetApp), the destructor unregisters it.
class KQAFX_API CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
public:
  // lpszAppName NULL: the executable's string resource AFX_IDS_APP_TITLE when it has one, else its base
  // name (without ".exe"). The text is copied.
  explicit CWinApp(LPCTSTR lpszAppName = NULL);
  ~CWinApp() override;

  LPCTSTR m_pszAppName; // caption of AfxMessageBox
  LPCTSTR m_pszExeName; // executable's base name
  HINSTANCE m_hInstance;

  // AfxMessageBox ends here: a MessageBox owned by the main window, captioned m_pszAppName. When nType
  // asks for no icon, MB_ICONEXCLAMATION (OK, OK/Cancel, retry) or MB_ICONQUESTION (Yes/No[/Cancel])
  // is added, as the framework does.
  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

private:
  CString m_strAppName;
  CString m_strExeName;
};

KQAFX_API CWinApp* AFXAPI AfxGetApp();
// The application's main window, NULL without an application or main window.
KQAFX_API CWnd* AFXAPI AfxGetMainWnd();
// The application's name: the CWinApp's m_pszAppName, else the executable's base name.
KQAFX_API LPCTSTR AFXAPI AfxGetAppName();
// Runs AfxGetApp(): InitInstance, then Run (which ends with ExitInstance) and returns its result.
// When InitInstance fails, the main window (if any) is destroyed and ExitInstance's result returned;
// -1 without an application. Call it from the host's WinMain.
KQAFX_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// A message box captioned with the application's name, owned by the main window if there is one.
// Returns the button chosen (IDOK, IDYES, ...), 0 when the box cannot be shown. nIDHelp is not used.
KQAFX_API int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string resource nIDPrompt, found by AfxFindResourceHandle (empty when missing).
KQAFX_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Registers (once) a global window class with these attributes and DefWindowProc as its procedure
// (objects are attached by the creation hook, as for any class); returns its generated name, valid for
// the life of the process, or NULL when registration fails. Equal attributes give the same class.
KQAFX_API LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0,
                                             HICON hIcon = 0);

// ---------------------------------------------------------------------------------------------------
// Modules and the resource search
// ---------------------------------------------------------------------------------------------------

// The executable's module handle (the application's m_hInstance).
KQAFX_API HINSTANCE AFXAPI AfxGetInstanceHandle();
// The module searched first for resources: the executable unless AfxSetResourceHandle changed it.
KQAFX_API HINSTANCE AFXAPI AfxGetResourceHandle();
KQAFX_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// The module holding resource (lpszName, lpszType): AfxGetResourceHandle() first, then each module
// registered with a CDynLinkLibrary in registration order (those with bSystem FALSE first, then the
// system ones). When none has it, AfxGetResourceHandle().
KQAFX_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

#include "afxdll_.h"
