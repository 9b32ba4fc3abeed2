// Maps reached from the first message on, whatever the class (the library's tests see its messages cracked);
// a frame's menu updated and its commands routed to a child; self-deleting frames; fonts.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::map<UINT, int> g_hostSeen; // how often the host's own window procedure saw each message

LRESULT CALLBACK HostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_hostSeen[message];
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A window class the host registered itself.
const char* HostClass() {
  static const WNDCLASSA wc = {0, HostWndProc, 0, 0, ::GetModuleHandleA(nullptr), 0, 0, 0, 0, "KqTestHost"};
  static const ATOM atom = ::RegisterClassA(&wc);
  return atom != 0 ? wc.lpszClassName : nullptr;
}

const UINT g_msgMapped = ::RegisterWindowMessageA("KqTestMapped");
const UINT g_msgOther = ::RegisterWindowMessageA("KqTestOther");

// Counts its creation messages; answers its registered message itself.
class CTestWnd : public CWnd {
public:
  CTestWnd* m_pChild = nullptr; // created as child 7 from OnCreate
  int m_nCreate = 0;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) { // not passed on
    m_nCreate += lpCreateStruct->cx > 0;
    return m_pChild && !m_pChild->Create(nullptr, "child", 0, CRect(0, 0, 50, 50), this, 7) ? -1 : 0;
  }
  LRESULT OnRegistered(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
ON_WM_CREATE()
ON_REGISTERED_MESSAGE(g_msgMapped, &CTestWnd::OnRegistered)
END_MESSAGE_MAP()

TEST(HostClassWindow, MappedMessagesReachTheMapOthersTheHostProcedure) {
  CTestWnd wnd, child;
  wnd.m_pChild = &child; // a window created while another one is being created
  ASSERT_TRUE(wnd.CreateEx(0, HostClass(), "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
  // WM_CREATE reached only the map; WM_NCCREATE, not mapped, the host's procedure.
  EXPECT_EQ(
      (std::vector<int>{wnd.m_nCreate, child.m_nCreate, g_hostSeen[WM_NCCREATE], g_hostSeen[WM_CREATE]}),
      (std::vector<int>{1, 1, 1, 0}));
  EXPECT_NE(::GetWindowLongA(child.m_hWnd, GWL_STYLE) & WS_CHILD, 0) << "CWnd::Create makes child windows";
  const HWND hWnd = wnd.m_hWnd;
  EXPECT_EQ(::SendMessageA(hWnd, g_msgMapped, 3, 4), 7);  // not passed on
  ::SendMessageA(hWnd, g_msgOther, 0, 0);                 // registered, not mapped: the original procedure
  ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(43, 0), 0); // no handler: the original procedure
  EXPECT_EQ(g_hostSeen[g_msgMapped] * 10 + g_hostSeen[WM_COMMAND] + g_hostSeen[g_msgOther], 2);

  // SelectObject gives the previous font; a CFont deletes its font, a CWnd destroys its window.
  HGDIOBJ hFont = nullptr;
  HWND hOwned = nullptr;
  {
    CWnd owned;
    ASSERT_TRUE(owned.Create(nullptr, "owned", 0, CRect(0, 0, 9, 9), &wnd, 8));
    hOwned = owned.m_hWnd;
    const LOGFONTA lf = {};
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    hFont = font.m_hObject;
    CDC* pDC = wnd.GetDC();
    const HGDIOBJ hOriginal = ::GetCurrentObject(pDC->m_hDC, OBJ_FONT);
    EXPECT_EQ(pDC->SelectObject(&font)->m_hObject, hOriginal);
    EXPECT_EQ(pDC->SelectObject(CFont::FromHandle(static_cast<HFONT>(hOriginal)))->m_hObject, hFont);
    EXPECT_NE(wnd.ReleaseDC(pDC), 0);
  }
  EXPECT_TRUE(::GetObjectType(hFont) == 0 && !::IsWindow(hOwned));

  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_TRUE(!wnd.m_hWnd && !child.m_hWnd && !CWnd::FromHandlePermanent(hWnd)) << "the child went too";
}

// A child window with the Edit commands; its frame routes commands to it by overriding OnCmdMsg.
class CCommandChild : public CWnd {
public:
  BOOL m_bCanFind = TRUE;
  int m_nFound = 0, m_nCopied = 0;
  void OnFind() { ++m_nFound; }
  void OnCopy() { ++m_nCopied; }
  void OnUpdateFind(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanFind); }
  void OnUpdateRepeat(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); } // no Enable, no command handler
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandChild, CWnd)
ON_COMMAND(ID_EDIT_FIND, &CCommandChild::OnFind)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, &CCommandChild::OnUpdateFind)
ON_COMMAND(ID_EDIT_COPY, &CCommandChild::OnCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, &CCommandChild::OnUpdateRepeat)
END_MESSAGE_MAP()

// Routes commands to its child; counts deletions; refuses its window when asked to. WM_CLOSE: base map only.
class CRoutingFrame : public CFrameWnd {
public:
  explicit CRoutingFrame(bool refuse = false) : m_refuse(refuse) {}
  ~CRoutingFrame() override { ++deleted; }
  afx_msg int OnCreate(LPCREATESTRUCT) { return m_refuse ? -1 : 0; }
  static inline int deleted = 0;
  const bool m_refuse;
  CCommandChild m_child;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    return m_child.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) ||
           CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

// Each item of the popup: 'E' enabled or 'G' greyed, lower case when checked.
std::string MenuStates(HMENU hMenu) {
  std::string states;
  for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
    const UINT nState = ::GetMenuState(hMenu, i, MF_BYPOSITION);
    states += "EGeg"[((nState & MF_GRAYED) ? 1 : 0) + ((nState & MF_CHECKED) ? 2 : 0)];
  }
  return states;
}

TEST(CommandRouting, MenuItemsFollowTheChildsUpdateHandlersAndItsCommandsRun) {
  // Copy (command only), Find (both), Repeat (update only), Select All (nothing), Close (a system command).
  const struct {
    BOOL bCanFind, bStartGrayed;
    const char* states;
  } cases[] = {{TRUE, FALSE, "EEgGE"}, {FALSE, TRUE, "EGgGG"}};
  for (const auto& c : cases) {
    auto* pFrame = new CRoutingFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "routing", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    ASSERT_TRUE(pFrame->m_child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), pFrame, 1));
    pFrame->m_child.m_bCanFind = c.bCanFind;
    HMENU hPopup = ::CreatePopupMenu();
    const UINT nStart = c.bStartGrayed ? MF_GRAYED : MF_ENABLED;
    for (int nID : {ID_EDIT_COPY, ID_EDIT_FIND, ID_EDIT_REPEAT, ID_EDIT_SELECT_ALL, SC_CLOSE})
      ::AppendMenuA(hPopup, MF_STRING | nStart, nID, "item");
    ::SendMessageA(pFrame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(0, FALSE));
    EXPECT_EQ(MenuStates(hPopup), c.states) << c.bCanFind;
    EXPECT_EQ(pFrame->m_child.m_nCopied, 0) << "asking for a handler does not run it";
    // The frame's menu commands reach the child, unless its update handler disables them.
    for (UINT nID : {ID_EDIT_FIND, ID_EDIT_COPY})
      ::SendMessageA(pFrame->m_hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    EXPECT_EQ(pFrame->m_child.m_nFound * 10 + pFrame->m_child.m_nCopied, c.bCanFind ? 11 : 1);
    ::DestroyMenu(hPopup);
    const HWND hFrame = pFrame->m_hWnd;
    CRoutingFrame::deleted = 0;
    ::SendMessageA(hFrame, WM_CLOSE, 0, 0); // the frame deletes itself once
    EXPECT_TRUE(!::IsWindow(hFrame) && CRoutingFrame::deleted == 1 && !CWnd::FromHandlePermanent(hFrame));
  }
  for (const char* lpszClass : {static_cast<const char*>(nullptr), "KqNoSuchWindowClass"}) {
    CRoutingFrame::deleted = 0; // OnCreate refuses, or the system finds no such class
    EXPECT_FALSE((new CRoutingFrame(lpszClass == nullptr))->Create(lpszClass, "failing"));
    EXPECT_EQ(CRoutingFrame::deleted, 1) << (lpszClass != nullptr ? lpszClass : "refused");
  }
}

} // namespace
