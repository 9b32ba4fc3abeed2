// Windows and their objects: message maps reached from the first message on, whatever the window class;
// default handling; handler arguments; the HWND map's permanent and temporary objects; self-deleting
// frames; fonts in a window's device context.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <map>

namespace {

// Counts deletions; OnCreate refuses the window when asked to.
class CCountedFrame : public CFrameWnd {
public:
  explicit CCountedFrame(bool refuse = false) : m_refuse(refuse) {}
  ~CCountedFrame() override { ++deleted; }
  afx_msg int OnCreate(LPCREATESTRUCT) { return m_refuse ? -1 : 0; }
  static inline int deleted = 0;
  const bool m_refuse;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountedFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(FrameWindow, DeletesItselfOnceWhenClosedOrWhenCreationFails) {
  auto* pFrame = new CCountedFrame;
  ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  const HWND hWnd = pFrame->m_hWnd;
  CCountedFrame::deleted = 0;
  ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CCountedFrame::deleted, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  for (const char* lpszClass : {static_cast<const char*>(nullptr), "KqNoSuchWindowClass"}) {
    CCountedFrame::deleted = 0; // OnCreate refuses, or the system finds no such class
    EXPECT_FALSE((new CCountedFrame(lpszClass == nullptr))->Create(lpszClass, "failing"));
    EXPECT_EQ(CCountedFrame::deleted, 1) << (lpszClass != nullptr ? lpszClass : "refused");
  }
}

std::map<UINT, int> g_hostSeen; // how often the host's own window procedure saw each message

LRESULT CALLBACK HostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_hostSeen[message];
  return message == WM_USER + 1 ? 1234 : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A window class the host registered itself.
const char* HostClass() {
  static const bool registered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KqTestHostClass";
    return ::RegisterClassA(&wc) != 0;
  }();
  return registered ? "KqTestHostClass" : nullptr;
}

// Records what its handlers are given; with m_callBase set, each handler also calls CWnd's.
class CTestWnd : public CWnd {
public:
  struct Call {
    UINT message = 0;
    long a = 0, b = 0, c = 0; // the handler's integer arguments in order (WM_SIZE: nType, cx, cy)
    CPoint pt = CPoint();
    HWND hWnd = nullptr; // the scroll bar's or context menu's window: its object may be a temporary one
    CWnd* pWnd = nullptr;
    bool operator==(const Call&) const = default;
    friend void PrintTo(const Call& c, std::ostream* os) {
      *os << "{msg " << c.message << ": " << c.a << ", " << c.b << ", " << c.c << ", (" << c.pt.x << ", "
          << c.pt.y << "), " << c.hWnd << ", " << c.pWnd << "}";
    }
  } m_last = {};
  bool m_callBase = false;
  CTestWnd* m_pChild = nullptr; // created as child 7 from OnCreate
  int m_nNcCreate = 0, m_nCreate = 0, m_nGo = 0;
  LPCSTR m_createClass = nullptr;

  void Record(Call call) { m_last = call; }
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    ++m_nCreate;
    m_createClass = lpCreateStruct->lpszClass;
    return m_pChild == nullptr || m_pChild->Create(nullptr, "child", 0, CRect(0, 0, 50, 50), this, 7) ? 0
                                                                                                      : -1;
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    Record({WM_SIZE, static_cast<long>(nType), cx, cy});
    if (m_callBase)
      CWnd::OnSize(nType, cx, cy);
  }
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) {
    Record(
        {WM_HSCROLL, static_cast<long>(nSBCode), static_cast<long>(nPos), 0, {}, pBar->GetSafeHwnd(), pBar});
    if (m_callBase)
      CWnd::OnHScroll(nSBCode, nPos, pBar);
  }
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) {
    Record(
        {WM_VSCROLL, static_cast<long>(nSBCode), static_cast<long>(nPos), 0, {}, pBar->GetSafeHwnd(), pBar});
    if (m_callBase)
      CWnd::OnVScroll(nSBCode, nPos, pBar);
  }
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    Record({WM_MOUSEWHEEL, static_cast<long>(nFlags), zDelta, 0, pt});
    return m_callBase ? CWnd::OnMouseWheel(nFlags, zDelta, pt) : 77;
  }
  afx_msg void OnMouseHWheel(UINT nFlags, short zDelta, CPoint pt) {
    Record({WM_MOUSEHWHEEL, static_cast<long>(nFlags), zDelta, 0, pt});
    if (m_callBase)
      CWnd::OnMouseHWheel(nFlags, zDelta, pt);
  }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    Record({WM_KEYDOWN, static_cast<long>(nChar), static_cast<long>(nRepCnt), static_cast<long>(nFlags)});
    if (m_callBase)
      CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
  }
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos) {
    Record({WM_CONTEXTMENU, 0, 0, 0, pos, pWnd->GetSafeHwnd(), pWnd});
    if (m_callBase)
      CWnd::OnContextMenu(pWnd, pos);
  }
  // The mouse buttons and moves: one recorder, one base call each.
  template <UINT message, void (CWnd::*base)(UINT, CPoint)> void OnMouse(UINT nFlags, CPoint point) {
    Record({message, static_cast<long>(nFlags), 0, 0, point});
    if (m_callBase)
      (this->*base)(nFlags, point);
  }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
    OnMouse<WM_LBUTTONDOWN, &CWnd::OnLButtonDown>(nFlags, point);
  }
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point) {
    OnMouse<WM_LBUTTONUP, &CWnd::OnLButtonUp>(nFlags, point);
  }
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point) {
    OnMouse<WM_LBUTTONDBLCLK, &CWnd::OnLButtonDblClk>(nFlags, point);
  }
  afx_msg void OnMouseMove(UINT nFlags, CPoint point) {
    OnMouse<WM_MOUSEMOVE, &CWnd::OnMouseMove>(nFlags, point);
  }
  void OnGo() { ++m_nGo; }
  LRESULT OnAsk(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
  LRESULT OnNcCreateMessage(WPARAM, LPARAM) {
    ++m_nNcCreate;
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEHWHEEL()
ON_WM_KEYDOWN()
ON_WM_CONTEXTMENU()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_COMMAND(42, &CTestWnd::OnGo)
ON_MESSAGE(WM_USER + 2, &CTestWnd::OnAsk)
ON_MESSAGE(WM_NCCREATE, &CTestWnd::OnNcCreateMessage)
END_MESSAGE_MAP()

TEST(HostClassWindow, MappedMessagesReachTheObjectOthersTheHostProcedure) {
  g_hostSeen.clear();
  CTestWnd wnd, child;
  wnd.m_pChild = &child; // a window created while another one is being created
  ASSERT_TRUE(wnd.CreateEx(0, HostClass(), "host", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
  // WM_NCCREATE reached the map, which passed it on (Default); WM_CREATE went to the map only.
  EXPECT_EQ(wnd.m_nNcCreate, 1);
  EXPECT_EQ(wnd.m_nCreate, 1);
  EXPECT_STREQ(wnd.m_createClass, "KqTestHostClass");
  EXPECT_EQ(g_hostSeen[WM_NCCREATE], 1);
  EXPECT_EQ(g_hostSeen[WM_CREATE], 0);
  EXPECT_EQ(child.m_nCreate, 1);
  EXPECT_NE(child.GetStyle() & WS_CHILD, 0u) << "CWnd::Create makes child windows";

  const int nSizeBefore = g_hostSeen[WM_SIZE];
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  EXPECT_EQ(g_hostSeen[WM_SIZE], nSizeBefore) << "a handled message must not reach the original procedure";
  wnd.m_callBase = true;
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  EXPECT_EQ(g_hostSeen[WM_SIZE], nSizeBefore + 1) << "the base handler passes the message on";
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, 0), 0);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(43, 0), 0); // not mapped: the original procedure
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(g_hostSeen[WM_COMMAND], 1);

  const HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(child.m_hWnd, nullptr) << "the child window went with its parent";
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_FALSE(wnd.DestroyWindow()) << "no window left to destroy";
}

TEST(WindowClass, EqualAttributesShareOneFrameworkClassUsableFromAnyModule) {
  HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  const CString name = AfxRegisterWndClass(CS_HREDRAW, nullptr, hBrush);
  EXPECT_EQ(name, AfxRegisterWndClass(CS_HREDRAW, nullptr, hBrush));
  EXPECT_NE(name, AfxRegisterWndClass(CS_VREDRAW, nullptr, hBrush));
  WNDCLASSA wc = {};
  ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), name, &wc));
  EXPECT_EQ(wc.hbrBackground, hBrush);
}

TEST(HandleMap, ForeignWindowsGetOneTemporaryObjectSubclassedOnesTheirOwn) {
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  HWND hWnd = ::CreateWindowExA(0, HostClass(), "foreign", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  CWnd* pTemp = CWnd::FromHandle(hWnd);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);
  CString text("longer old text");
  pTemp->GetWindowText(text);
  EXPECT_EQ(text, "foreign");
  {
    CTestWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    CWnd other;
    EXPECT_FALSE(other.Attach(hWnd)) << "one object per window";
    EXPECT_EQ(::SendMessageA(hWnd, WM_USER + 2, 40, 2), 42);
    EXPECT_EQ(::SendMessageA(hWnd, WM_USER + 1, 0, 0), 1234) << "unmapped messages reach the old procedure";
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    EXPECT_EQ(::SendMessageA(hWnd, WM_USER + 2, 40, 2), 0) << "the old procedure is back";
  }
  EXPECT_TRUE(::IsWindow(hWnd)) << "a detached object's destruction leaves the window";
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  ::DestroyWindow(hWnd);

  HWND hOwned = nullptr;
  {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    hOwned = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hOwned)) << "an attached object's destruction destroys its window";
}

TEST(MessageCracking, EachMessageReachesItsHandlerDecodedAndTheBaseHandlerPassesItOn) {
  CTestWnd wnd, child;
  wnd.m_pChild = &child;
  ASSERT_TRUE(wnd.CreateEx(0, HostClass(), "cracking", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
  const HWND hChild = child.m_hWnd;
  using Call = CTestWnd::Call;
  const struct {
    WPARAM wParam;
    LPARAM lParam;
    Call expected;
    LRESULT result; // when the handler does not call the base
  } cases[] = {
      {MAKEWPARAM(SB_THUMBPOSITION, 42), 0, {WM_VSCROLL, SB_THUMBPOSITION, 42}, 0},
      {MAKEWPARAM(SB_THUMBTRACK, 40000), 0, {WM_HSCROLL, SB_THUMBTRACK, 40000}, 0}, // above 32767: unsigned
      {SIZE_MAXIMIZED, MAKELPARAM(300, 200), {WM_SIZE, SIZE_MAXIMIZED, 300, 200}, 0},
      {MAKEWPARAM(MK_CONTROL, -240),
       MAKELPARAM(-5, 300),
       {WM_MOUSEWHEEL, MK_CONTROL, -240, 0, {-5, 300}},
       77},
      {MAKEWPARAM(MK_SHIFT, 30), MAKELPARAM(10, -20), {WM_MOUSEHWHEEL, MK_SHIFT, 30, 0, {10, -20}}, 0},
      {VK_NEXT, MAKELPARAM(3, 0x151), {WM_KEYDOWN, VK_NEXT, 3, 0x151}, 0},
      {reinterpret_cast<WPARAM>(hChild),
       MAKELPARAM(-1, -1),
       {WM_CONTEXTMENU, 0, 0, 0, {-1, -1}, hChild, &child},
       0},
      {MK_LBUTTON, MAKELPARAM(7, 9), {WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {7, 9}}, 0},
      {0, MAKELPARAM(-3, 4), {WM_LBUTTONUP, 0, 0, 0, {-3, 4}}, 0},
      {MK_LBUTTON | MK_SHIFT, MAKELPARAM(1, 2), {WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, 0, 0, {1, 2}}, 0},
      {MK_RBUTTON, MAKELPARAM(300, -2), {WM_MOUSEMOVE, MK_RBUTTON, 0, 0, {300, -2}}, 0},
  };
  for (const auto& c : cases) {
    const UINT message = c.expected.message;
    for (const bool callBase : {false, true}) {
      wnd.m_last = {};
      wnd.m_callBase = callBase;
      const int nSeen = g_hostSeen[message];
      const LRESULT result = wnd.SendMessage(message, c.wParam, c.lParam);
      EXPECT_EQ(wnd.m_last, c.expected) << "message " << message;
      EXPECT_EQ(g_hostSeen[message], nSeen + (callBase ? 1 : 0))
          << "message " << message << " base " << callBase;
      if (!callBase) {
        EXPECT_EQ(result, c.result) << "message " << message;
      }
    }
  }
  // From a scroll-bar control: its own object when it has one, else a temporary one for its window.
  wnd.m_callBase = false;
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_HORZ, CRect(0, 0, 100, 16), &wnd, 3));
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(bar.m_hWnd));
  EXPECT_EQ(wnd.m_last.pWnd, &bar);
  HWND hForeign = ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 20, 16, 100, wnd.m_hWnd,
                                    nullptr, nullptr, nullptr);
  ASSERT_NE(hForeign, nullptr);
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(hForeign));
  EXPECT_EQ(wnd.m_last.hWnd, hForeign);

  // The capture: SetCapture gives the previous holder; ::ReleaseCapture ends it.
  EXPECT_EQ(wnd.SetCapture(), nullptr);
  EXPECT_EQ(CWnd::GetCapture(), &wnd);
  EXPECT_EQ(child.SetCapture(), &wnd);
  EXPECT_EQ(CWnd::GetCapture(), &child);
  ::ReleaseCapture();
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(Gdi, SelectGivesThePreviousFontAndTheFontObjectDeletesItsFont) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "gdi", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(ANSI_VAR_FONT), sizeof(lf), &lf);
  HGDIOBJ hFont = nullptr;
  {
    CClientDC dc(&wnd);
    const HGDIOBJ hOriginal = ::GetCurrentObject(dc.m_hDC, OBJ_FONT);
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    hFont = font.m_hObject;
    EXPECT_FALSE(font.CreateFontIndirect(&lf)) << "one font per object";
    CFont* pOld = dc.SelectObject(&font);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(pOld->m_hObject, hOriginal);
    EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_FONT), hFont);
    EXPECT_EQ(dc.SelectObject(pOld)->m_hObject, hFont);
  }
  EXPECT_EQ(::GetObjectType(hFont), 0u) << "the CFont destructor deletes the font";
}

} // namespace

// This executable has no AFX_IDS_APP_TITLE string: an application given no name takes the executable's.
TEST(Application, WithoutATitleStringTakesTheExecutablesName) {
  CWinApp app;
  EXPECT_STREQ(app.m_pszAppName, "mfc_win32_window_test");
}
