// Windows and their objects: message maps reached from the first message on, whatever the window class,
// and searched up to the base class's map; each mapped message cracked into its handler's arguments, and
// CWnd's own handlers passing messages on; the HWND map's permanent and temporary objects; self-deleting
// frames; fonts in a window's device context.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Counts deletions; OnCreate refuses the window when asked to. WM_CLOSE is in the base class's map only.
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
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
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

// Records what its handlers are given: the integer arguments in order, the point, the window argument.
class CTestWnd : public CWnd {
public:
  struct Call {
    UINT message = 0;
    long a = 0, b = 0, c = 0;
    CPoint pt = CPoint();
    HWND hWnd = nullptr; // the window argument's window: its object may be a temporary one
    CWnd* pWnd = nullptr;
    bool operator==(const Call&) const = default;
    friend void PrintTo(const Call& c, std::ostream* os) {
      *os << "{" << c.message << ": " << c.a << ", " << c.b << ", " << c.c << ", (" << c.pt.x << ", "
          << c.pt.y << "), " << c.hWnd << ", " << c.pWnd << "}";
    }
  } m_last;
  CTestWnd* m_pChild = nullptr; // created as child 7 from OnCreate
  int m_nNcCreate = 0, m_nCreate = 0, m_nGo = 0;
  std::string m_createClass; // copied: the system's CREATESTRUCT may hold a temporary

  void Rec(UINT message, long a, long b, long c, CPoint pt = CPoint(), CWnd* pWnd = nullptr) {
    m_last = {message, a, b, c, pt, pWnd != nullptr ? pWnd->m_hWnd : nullptr, pWnd};
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    ++m_nCreate;
    m_createClass = lpCreateStruct->lpszClass;
    return m_pChild == nullptr || m_pChild->Create(nullptr, "child", 0, CRect(0, 0, 50, 50), this, 7) ? 0
                                                                                                      : -1;
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) { Rec(WM_SIZE, nType, cx, cy); }
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) {
    Rec(WM_HSCROLL, nSBCode, nPos, 0, {}, pBar);
  }
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) {
    Rec(WM_VSCROLL, nSBCode, nPos, 0, {}, pBar);
  }
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    Rec(WM_MOUSEWHEEL, nFlags, zDelta, 0, pt);
    return 77;
  }
  afx_msg void OnMouseHWheel(UINT nFlags, short zDelta, CPoint pt) {
    Rec(WM_MOUSEHWHEEL, nFlags, zDelta, 0, pt);
  }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Rec(WM_KEYDOWN, nChar, nRepCnt, nFlags); }
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos) { Rec(WM_CONTEXTMENU, 0, 0, 0, pos, pWnd); }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Rec(WM_LBUTTONDOWN, nFlags, 0, 0, point); }
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point) { Rec(WM_LBUTTONUP, nFlags, 0, 0, point); }
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point) { Rec(WM_LBUTTONDBLCLK, nFlags, 0, 0, point); }
  afx_msg void OnMouseMove(UINT nFlags, CPoint point) { Rec(WM_MOUSEMOVE, nFlags, 0, 0, point); }
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

// The same messages mapped to CWnd's own handlers, as a derived handler calling its base reaches them.
class CBaseHandlers : public CWnd {
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseHandlers, CWnd)
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
END_MESSAGE_MAP()

TEST(HostClassWindow, EachMappedMessageReachesItsHandlerDecodedOthersTheHostProcedure) {
  g_hostSeen.clear();
  CTestWnd wnd, child;
  CBaseHandlers base;
  wnd.m_pChild = &child; // a window created while another one is being created
  ASSERT_TRUE(wnd.CreateEx(0, HostClass(), "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
  ASSERT_TRUE(base.CreateEx(0, HostClass(), "base", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
  // WM_NCCREATE reached the map, which passed it on (Default); WM_CREATE went to the map only.
  EXPECT_EQ(wnd.m_nNcCreate, 1);
  EXPECT_EQ(wnd.m_nCreate, 1);
  EXPECT_EQ(wnd.m_createClass, "KqTestHostClass");
  EXPECT_EQ(g_hostSeen[WM_NCCREATE], 2); // wnd's (passed on) and base's
  EXPECT_EQ(g_hostSeen[WM_CREATE], 1);   // base's only
  EXPECT_EQ(child.m_nCreate, 1);
  EXPECT_NE(::GetWindowLongA(child.m_hWnd, GWL_STYLE) & WS_CHILD, 0) << "CWnd::Create makes child windows";
  const HWND hWnd = wnd.m_hWnd, hChild = child.m_hWnd;

  using Call = CTestWnd::Call;
  const struct {
    WPARAM wParam;
    LPARAM lParam;
    Call expected;
    LRESULT result;
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
    const int nSeen = g_hostSeen[message];
    wnd.m_last = {};
    EXPECT_EQ(::SendMessageA(hWnd, message, c.wParam, c.lParam), c.result) << message;
    EXPECT_EQ(wnd.m_last, c.expected) << message;
    EXPECT_EQ(g_hostSeen[message], nSeen) << message << ": handled, so not passed on";
    ::SendMessageA(base.m_hWnd, message, c.wParam, c.lParam);
    EXPECT_EQ(g_hostSeen[message], nSeen + 1) << message << ": CWnd's handler passes it on";
  }
  EXPECT_EQ(::SendMessageA(hWnd, WM_USER + 2, 40, 2), 42) << "ON_MESSAGE's result is the message's";
  ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(42, 0), 0);
  ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(43, 0), 0); // not mapped: the original procedure
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(g_hostSeen[WM_COMMAND], 1);

  // From a scroll-bar control: its own object when it has one, else a temporary one for its window.
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_HORZ, CRect(0, 0, 100, 16), &wnd, 3));
  ::SendMessageA(hWnd, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(bar.m_hWnd));
  EXPECT_EQ(wnd.m_last.pWnd, &bar);
  HWND hForeign = ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 20, 16, 100, hWnd,
                                    nullptr, nullptr, nullptr);
  ASSERT_NE(hForeign, nullptr);
  ::SendMessageA(hWnd, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(hForeign));
  EXPECT_EQ(wnd.m_last.hWnd, hForeign);

  // The capture: SetCapture gives the previous holder; ::ReleaseCapture ends it.
  EXPECT_EQ(wnd.SetCapture(), nullptr);
  EXPECT_EQ(child.SetCapture(), &wnd);
  EXPECT_EQ(CWnd::GetCapture(), &child);
  ::ReleaseCapture();
  EXPECT_EQ(CWnd::GetCapture(), nullptr);

  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(child.m_hWnd, nullptr) << "the child window went with its parent";
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_FALSE(wnd.DestroyWindow()) << "no window left to destroy";
}

TEST(WindowClass, EqualAttributesShareOneFrameworkClass) {
  HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  const CString name = AfxRegisterWndClass(CS_HREDRAW, nullptr, hBrush);
  EXPECT_EQ(name, AfxRegisterWndClass(CS_HREDRAW, nullptr, hBrush));
  EXPECT_NE(name, AfxRegisterWndClass(CS_VREDRAW, nullptr, hBrush));
  WNDCLASSA wc = {};
  ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), name, &wc));
  EXPECT_EQ(wc.hbrBackground, hBrush);
}

TEST(HandleMap, ForeignWindowsGetOneTemporaryObjectAttachedOnesTheirOwn) {
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  HWND hWnd = ::CreateWindowExA(0, HostClass(), "foreign", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(hWnd, nullptr);
  CWnd* pTemp = CWnd::FromHandle(hWnd);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  {
    CWnd wnd, other;
    ASSERT_TRUE(wnd.Attach(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    EXPECT_FALSE(other.Attach(hWnd)) << "one object per window";
    EXPECT_EQ(wnd.Detach(), hWnd);
  }
  EXPECT_TRUE(::IsWindow(hWnd)) << "a detached object's destruction leaves the window";
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  ::DestroyWindow(hWnd);
  {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    hWnd = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hWnd)) << "an attached object's destruction destroys its window";
}

TEST(Gdi, SelectGivesThePreviousFontAndTheFontObjectDeletesItsFont) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "gdi", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(ANSI_VAR_FONT), sizeof(lf), &lf);
  HGDIOBJ hFont = nullptr;
  {
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    hFont = font.m_hObject;
    EXPECT_FALSE(font.CreateFontIndirect(&lf)) << "one font per object";
    CDC* pDC = wnd.GetDC();
    ASSERT_NE(pDC, nullptr);
    const HGDIOBJ hOriginal = ::GetCurrentObject(pDC->m_hDC, OBJ_FONT);
    CFont* pOld = pDC->SelectObject(&font);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(pOld->m_hObject, hOriginal);
    EXPECT_EQ(::GetCurrentObject(pDC->m_hDC, OBJ_FONT), hFont);
    EXPECT_EQ(pDC->SelectObject(pOld)->m_hObject, hFont);
    EXPECT_NE(wnd.ReleaseDC(pDC), 0);
  }
  EXPECT_EQ(::GetObjectType(hFont), 0u) << "the CFont destructor deletes the font";
}

} // namespace
