// Windows and their objects: message maps reached from the first messages on, whatever the window
// class; default handling; the HWND map; destruction and self-deleting frames.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Records the messages its map handles, and what the object looked like at WM_CREATE.
class CRecordingFrame : public CFrameWnd {
public:
  explicit CRecordingFrame(bool* pDeleted, int nCreateResult = 0)
      : m_pDeleted(pDeleted), m_nCreateResult(nCreateResult) {}
  ~CRecordingFrame() override { *m_pDeleted = true; }

  std::vector<UINT> m_events;
  bool m_attachedAtCreate = false;
  CRect m_clientAtSize;
  int m_cx = -1, m_cy = -1;
  bool m_paintValidated = false;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    m_events.push_back(WM_CREATE);
    m_attachedAtCreate = m_hWnd != nullptr && CWnd::FromHandlePermanent(m_hWnd) == this &&
                         lpCreateStruct != nullptr && lpCreateStruct->lpszName != nullptr;
    return m_nCreateResult;
  }
  afx_msg void OnSize(UINT, int cx, int cy) {
    m_events.push_back(WM_SIZE);
    m_cx = cx;
    m_cy = cy;
    GetClientRect(&m_clientAtSize);
  }
  afx_msg void OnPaint() {
    m_events.push_back(WM_PAINT);
    CPaintDC dc(this);
    m_paintValidated = dc.m_hDC != nullptr;
  }

private:
  bool* m_pDeleted;
  int m_nCreateResult;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(FrameWindow, MapSeesCreateThenSizeThenPaintAndFrameDeletesItselfOnClose) {
  bool deleted = false;
  auto* pFrame = new CRecordingFrame(&deleted);
  // Visible from the start, as the library's frames are: the system sizes it inside CreateWindowEx.
  ASSERT_TRUE(pFrame->Create(nullptr, "Recording frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  HWND hWnd = pFrame->m_hWnd;
  ASSERT_NE(hWnd, nullptr);
  EXPECT_TRUE(pFrame->m_attachedAtCreate);
  // Create returns after WM_CREATE and WM_SIZE, before any painting.
  ASSERT_GE(pFrame->m_events.size(), 2u);
  EXPECT_EQ(pFrame->m_events[0], static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(pFrame->m_events[1], static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(std::count(pFrame->m_events.begin(), pFrame->m_events.end(), static_cast<UINT>(WM_PAINT)), 0);
  EXPECT_EQ(pFrame->m_cx, pFrame->m_clientAtSize.Width());
  EXPECT_EQ(pFrame->m_cy, pFrame->m_clientAtSize.Height());
  // rectDefault let the system choose a real size; the default style is an overlapped window.
  EXPECT_GT(pFrame->m_cx, 0);
  EXPECT_GT(pFrame->m_cy, 0);
  EXPECT_EQ(pFrame->GetStyle() & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));

  pFrame->UpdateWindow();
  ASSERT_GE(pFrame->m_events.size(), 3u);
  EXPECT_EQ(pFrame->m_events.back(), static_cast<UINT>(WM_PAINT));
  EXPECT_TRUE(pFrame->m_paintValidated);
  RECT update;
  EXPECT_FALSE(::GetUpdateRect(hWnd, &update, FALSE)) << "CPaintDC must validate what it painted";

  // The frame's OnClose destroys the window; PostNcDestroy deletes the object.
  ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_TRUE(deleted);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(FrameWindow, OnCreateRefusingMakesCreateFailAndDeletesTheFrameOnce) {
  bool deleted = false;
  auto* pFrame = new CRecordingFrame(&deleted, -1);
  EXPECT_FALSE(pFrame->Create(nullptr, "Refused"));
  EXPECT_TRUE(deleted);
}

TEST(FrameWindow, UnknownClassFailsAndStillDeletesTheFrame) {
  bool deleted = false;
  auto* pFrame = new CRecordingFrame(&deleted);
  EXPECT_FALSE(pFrame->Create("KqNoSuchWindowClass", "Nothing"));
  EXPECT_TRUE(deleted);
}

// --- a window of a class the host registered itself ---

struct HostClassLog {
  int nNcCreate = 0;
  int nCreate = 0;
  int nSize = 0;
  int nUser = 0;
  int nCommand = 0;
};
HostClassLog g_hostLog;

LRESULT CALLBACK HostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_NCCREATE:
    ++g_hostLog.nNcCreate;
    break;
  case WM_CREATE:
    ++g_hostLog.nCreate;
    break;
  case WM_SIZE:
    ++g_hostLog.nSize;
    break;
  case WM_COMMAND:
    ++g_hostLog.nCommand;
    break;
  case WM_USER + 1:
    ++g_hostLog.nUser;
    return 1234;
  default:
    break;
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char* HostClass() {
  static const char* name = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KqTestHostClass";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    return ::RegisterClassA(&wc) != 0 ? "KqTestHostClass" : nullptr;
  }();
  return name;
}

class CHostWnd : public CWnd {
public:
  bool m_callBaseOnSize = false;
  int m_nNcCreate = 0, m_nCreate = 0, m_nSize = 0, m_nPostNcDestroy = 0, m_nGo = 0;
  LPCSTR m_createClass = nullptr;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    ++m_nCreate;
    m_createClass = lpCreateStruct->lpszClass;
    return 0;
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    ++m_nSize;
    if (m_callBaseOnSize)
      CWnd::OnSize(nType, cx, cy);
  }
  void OnGo() { ++m_nGo; }
  LRESULT OnAsk(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
  LRESULT OnNcCreateMessage(WPARAM, LPARAM) {
    ++m_nNcCreate;
    return Default();
  }

protected:
  void PostNcDestroy() override { ++m_nPostNcDestroy; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_COMMAND(42, &CHostWnd::OnGo)
ON_MESSAGE(WM_USER + 2, &CHostWnd::OnAsk)
ON_MESSAGE(WM_NCCREATE, &CHostWnd::OnNcCreateMessage)
END_MESSAGE_MAP()

TEST(HostClassWindow, MappedMessagesReachTheObjectOthersTheHostProcedure) {
  ASSERT_NE(HostClass(), nullptr);
  g_hostLog = {};
  CHostWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, HostClass(), "host", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
  // The object had WM_NCCREATE already and passed it on (Default); WM_CREATE went to the map, which
  // did not pass it on.
  EXPECT_EQ(wnd.m_nNcCreate, 1);
  EXPECT_EQ(wnd.m_nCreate, 1);
  EXPECT_STREQ(wnd.m_createClass, "KqTestHostClass");
  EXPECT_EQ(g_hostLog.nNcCreate, 1);
  EXPECT_EQ(g_hostLog.nCreate, 0);
  const int nSizeBefore = g_hostLog.nSize;

  EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 1234);
  EXPECT_EQ(g_hostLog.nUser, 1);
  EXPECT_EQ(wnd.SendMessage(WM_USER + 2, 40, 2), 42);

  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  EXPECT_EQ(g_hostLog.nSize, nSizeBefore) << "a handled message must not reach the original procedure";
  wnd.m_callBaseOnSize = true;
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  EXPECT_EQ(g_hostLog.nSize, nSizeBefore + 1) << "the base handler passes the message on";

  // Commands with a mapped id go to the handler; others to the original procedure.
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, 0), 0);
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(g_hostLog.nCommand, 0);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(43, 0), 0);
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(g_hostLog.nCommand, 1);

  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_FALSE(wnd.DestroyWindow()) << "no window left to destroy";
}

TEST(HostClassWindow, RegisteredClassesAreSharedAndRouted) {
  HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, hBrush);
  ASSERT_NE(lpszClass, nullptr);
  EXPECT_EQ(AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, hBrush), lpszClass)
      << "same attributes, same class";
  EXPECT_NE(AfxRegisterWndClass(CS_HREDRAW, nullptr, hBrush), lpszClass);
  WNDCLASSA wc = {};
  ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), lpszClass, &wc)) << "usable from any module";
  EXPECT_EQ(wc.hbrBackground, hBrush);

  CHostWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, lpszClass, "registered", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  EXPECT_EQ(wnd.m_nCreate, 1);
  EXPECT_EQ(wnd.m_nNcCreate, 1);
}

// --- creation inside creation ---

class CChildWnd : public CWnd {
public:
  int m_nCreate = 0;
  afx_msg int OnCreate(LPCREATESTRUCT) {
    ++m_nCreate;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChildWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class CParentFrame : public CFrameWnd {
public:
  explicit CParentFrame(CChildWnd* pChild) : m_pChild(pChild) {}
  int m_nCreate = 0;
  bool m_childCreated = false;

  afx_msg int OnCreate(LPCREATESTRUCT) {
    ++m_nCreate;
    m_childCreated = m_pChild->Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), this, 7) != FALSE;
    return 0;
  }

private:
  CChildWnd* m_pChild;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(Creation, AWindowCreatedInsideOnCreateGetsItsOwnObject) {
  CChildWnd child;
  auto* pFrame = new CParentFrame(&child);
  ASSERT_TRUE(pFrame->Create(nullptr, "parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  EXPECT_EQ(pFrame->m_nCreate, 1);
  ASSERT_TRUE(pFrame->m_childCreated);
  EXPECT_EQ(child.m_nCreate, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(pFrame->m_hWnd), pFrame);
  EXPECT_EQ(CWnd::FromHandlePermanent(child.m_hWnd), &child);
  EXPECT_EQ(::GetParent(child.m_hWnd), pFrame->m_hWnd);
  EXPECT_NE(child.GetStyle() & WS_CHILD, 0u) << "CWnd::Create makes child windows";
  EXPECT_EQ(pFrame->GetDlgItem(7), &child);
  HWND hChild = nullptr;
  pFrame->GetDlgItem(7, &hChild);
  EXPECT_EQ(hChild, child.m_hWnd);
  EXPECT_EQ(pFrame->GetDlgItem(8), nullptr);
  EXPECT_EQ(child.GetParent(), pFrame);

  // Destroying the frame destroys the child window; the child object (not a frame) stays.
  HWND hFrame = pFrame->m_hWnd;
  ::DestroyWindow(hFrame);
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(hChild));
}

// --- the HWND map ---

TEST(HandleMap, ForeignWindowsGetATemporaryObjectAttachedOnesTheirOwn) {
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  HWND hForeign =
      ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hForeign, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hForeign), nullptr);
  CWnd* pTemp = CWnd::FromHandle(hForeign);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(pTemp->m_hWnd, hForeign);
  EXPECT_EQ(pTemp->GetSafeHwnd(), hForeign);
  EXPECT_EQ(static_cast<HWND>(*pTemp), hForeign);
  CString text;
  pTemp->GetWindowText(text);
  EXPECT_EQ(text, "foreign");

  {
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(hForeign));
    EXPECT_EQ(CWnd::FromHandle(hForeign), &wnd);
    CWnd other;
    EXPECT_FALSE(other.Attach(hForeign)) << "one object per window";
    EXPECT_EQ(wnd.Detach(), hForeign);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
  }
  EXPECT_TRUE(::IsWindow(hForeign)) << "a detached object's destruction leaves the window";
  EXPECT_EQ(CWnd::FromHandlePermanent(hForeign), nullptr);
  ::DestroyWindow(hForeign);
}

TEST(HandleMap, DestroyingAnObjectDestroysItsWindow) {
  HWND hWnd = nullptr;
  {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    hWnd = wnd.m_hWnd;
    EXPECT_TRUE(::IsWindow(hWnd));
  }
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(HandleMap, SubclassWindowRoutesAnExistingWindowUntilUnsubclassed) {
  ASSERT_NE(HostClass(), nullptr);
  g_hostLog = {};
  HWND hWnd = ::CreateWindowExA(0, HostClass(), "existing", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(hWnd, nullptr);
  CHostWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(hWnd));
  ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(42, 0), 0);
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(::SendMessageA(hWnd, WM_USER + 1, 0, 0), 1234) << "unmapped messages reach the old procedure";
  EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
  ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(42, 0), 0);
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(g_hostLog.nCommand, 1);
  ::DestroyWindow(hWnd);
  EXPECT_EQ(wnd.m_nPostNcDestroy, 0) << "an unsubclassed window no longer reaches the object";
}

} // namespace
