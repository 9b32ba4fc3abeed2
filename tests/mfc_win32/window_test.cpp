// Windows and their objects: message maps reached from the first messages on, whatever the window
// class; default handling; the HWND map; destruction and self-deleting frames.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Records the messages its map handles, and what the object looked like at WM_CREATE.
class CRecordingFrame : public CFrameWnd {
public:
  explicit CRecordingFrame(int* pDeleted, int nCreateResult = 0)
      : m_pDeleted(pDeleted), m_nCreateResult(nCreateResult) {}
  ~CRecordingFrame() override { ++*m_pDeleted; }

  std::vector<UINT> m_events;
  bool m_attachedAtCreate = false;
  int m_cx = -1, m_cy = -1;

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
  }
  afx_msg void OnPaint() {
    m_events.push_back(WM_PAINT);
    CPaintDC dc(this);
  }

private:
  int* m_pDeleted;
  int m_nCreateResult;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(FrameWindow, MapSeesCreateThenSizeThenPaintAndFrameDeletesItselfOnClose) {
  int deleted = 0;
  auto* pFrame = new CRecordingFrame(&deleted);
  // Visible from the start, as the library's frames are: the system sizes it inside CreateWindowEx.
  ASSERT_TRUE(pFrame->Create(nullptr, "Recording frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  HWND hWnd = pFrame->m_hWnd;
  EXPECT_TRUE(pFrame->m_attachedAtCreate);
  // Create returns after WM_CREATE and WM_SIZE, before any painting.
  const std::vector<UINT> created = {WM_CREATE, WM_SIZE};
  ASSERT_GE(pFrame->m_events.size(), 2u);
  EXPECT_TRUE(std::equal(created.begin(), created.end(), pFrame->m_events.begin()));
  EXPECT_EQ(std::count(pFrame->m_events.begin(), pFrame->m_events.end(), static_cast<UINT>(WM_PAINT)), 0);
  // rectDefault let the system choose a real size, which WM_SIZE cracked into cx and cy.
  CRect client;
  pFrame->GetClientRect(&client);
  EXPECT_GT(pFrame->m_cx, 0);
  EXPECT_EQ(pFrame->m_cx, client.Width());
  EXPECT_EQ(pFrame->m_cy, client.Height());

  pFrame->UpdateWindow();
  EXPECT_EQ(pFrame->m_events.back(), static_cast<UINT>(WM_PAINT));
  RECT update;
  EXPECT_FALSE(::GetUpdateRect(hWnd, &update, FALSE)) << "CPaintDC must validate what it painted";

  // The frame's OnClose destroys the window; PostNcDestroy deletes the object.
  ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(FrameWindow, FailedCreateDeletesTheFrameOnce) {
  const struct {
    const char* lpszClass;
    int nCreateResult;
  } cases[] = {{nullptr, -1} /* OnCreate refuses */, {"KqNoSuchWindowClass", 0}};
  for (const auto& c : cases) {
    int deleted = 0;
    EXPECT_FALSE((new CRecordingFrame(&deleted, c.nCreateResult))->Create(c.lpszClass, "failing"));
    EXPECT_EQ(deleted, 1) << c.nCreateResult;
  }
}

// --- windows of a class the host registered itself ---

// How often the host's own procedure saw each message.
std::map<UINT, int> g_hostSeen;

LRESULT CALLBACK HostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_hostSeen[message];
  return message == WM_USER + 1 ? 1234 : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char* HostClass() {
  static const char* name = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KqTestHostClass";
    return ::RegisterClassA(&wc) != 0 ? "KqTestHostClass" : nullptr;
  }();
  return name;
}

class CHostWnd : public CWnd {
public:
  bool m_callBaseOnSize = false;
  CHostWnd* m_pChildToCreate = nullptr; // created as child 7 from OnCreate
  bool m_childCreated = false;
  int m_nNcCreate = 0, m_nCreate = 0, m_nPostNcDestroy = 0, m_nGo = 0;
  LPCSTR m_createClass = nullptr;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    ++m_nCreate;
    m_createClass = lpCreateStruct->lpszClass;
    if (m_pChildToCreate != nullptr)
      m_childCreated = m_pChildToCreate->Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), this, 7);
    return 0;
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
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
  g_hostSeen.clear();
  CHostWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, HostClass(), "host", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
  // The object had WM_NCCREATE already and passed it on (Default); WM_CREATE went to the map, which
  // did not pass it on.
  EXPECT_EQ(wnd.m_nNcCreate, 1);
  EXPECT_EQ(wnd.m_nCreate, 1);
  EXPECT_STREQ(wnd.m_createClass, "KqTestHostClass");
  EXPECT_EQ(g_hostSeen[WM_NCCREATE], 1);
  EXPECT_EQ(g_hostSeen[WM_CREATE], 0);

  EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 1234);
  EXPECT_EQ(wnd.SendMessage(WM_USER + 2, 40, 2), 42);
  const int nSizeBefore = g_hostSeen[WM_SIZE];
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  EXPECT_EQ(g_hostSeen[WM_SIZE], nSizeBefore) << "a handled message must not reach the original procedure";
  wnd.m_callBaseOnSize = true;
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  EXPECT_EQ(g_hostSeen[WM_SIZE], nSizeBefore + 1) << "the base handler passes the message on";

  // Commands with a mapped id go to the handler; others to the original procedure.
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, 0), 0);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(43, 0), 0);
  EXPECT_EQ(wnd.m_nGo, 1);
  EXPECT_EQ(g_hostSeen[WM_COMMAND], 1);

  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_FALSE(wnd.DestroyWindow()) << "no window left to destroy";
}

TEST(HostClassWindow, RegisteredClassesAreSharedAndAWindowCreatedInsideOnCreateGetsItsOwnObject) {
  HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, hBrush);
  ASSERT_NE(lpszClass, nullptr);
  EXPECT_EQ(AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, hBrush), lpszClass)
      << "same attributes, same class";
  EXPECT_NE(AfxRegisterWndClass(CS_HREDRAW, nullptr, hBrush), lpszClass);
  WNDCLASSA wc = {};
  ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), lpszClass, &wc)) << "usable from any module";
  EXPECT_EQ(wc.hbrBackground, hBrush);

  CHostWnd parent, child;
  parent.m_pChildToCreate = &child;
  ASSERT_TRUE(parent.CreateEx(0, lpszClass, "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  EXPECT_EQ(parent.m_nNcCreate, 1);
  EXPECT_EQ(parent.m_nCreate, 1);
  ASSERT_TRUE(parent.m_childCreated);
  EXPECT_EQ(child.m_nCreate, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(parent.m_hWnd), &parent);
  EXPECT_EQ(parent.GetDlgItem(7), &child);
  EXPECT_NE(child.GetStyle() & WS_CHILD, 0u) << "CWnd::Create makes child windows";

  // Destroying the parent destroys the child window; the child object stays, detached.
  HWND hChild = child.m_hWnd;
  parent.DestroyWindow();
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(hChild));
}

// --- the HWND map ---

TEST(HandleMap, ForeignWindowsGetATemporaryObjectSubclassedOnesTheirOwn) {
  ASSERT_NE(HostClass(), nullptr);
  g_hostSeen.clear();
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  HWND hWnd = ::CreateWindowExA(0, HostClass(), "foreign", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  CWnd* pTemp = CWnd::FromHandle(hWnd);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(pTemp->m_hWnd, hWnd);
  EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp) << "one temporary object per handle";
  CString text("longer old text");
  pTemp->GetWindowText(text);
  EXPECT_EQ(text, "foreign");
  EXPECT_EQ(text.GetLength(), 7);

  {
    CHostWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    CWnd other;
    EXPECT_FALSE(other.Attach(hWnd)) << "one object per window";
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(42, 0), 0);
    EXPECT_EQ(wnd.m_nGo, 1);
    EXPECT_EQ(::SendMessageA(hWnd, WM_USER + 1, 0, 0), 1234) << "unmapped messages reach the old procedure";
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(42, 0), 0);
    EXPECT_EQ(wnd.m_nGo, 1);
    EXPECT_EQ(g_hostSeen[WM_COMMAND], 1);
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
  EXPECT_EQ(CWnd::FromHandlePermanent(hOwned), nullptr);
}

} // namespace
