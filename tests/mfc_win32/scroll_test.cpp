// Scroll bars: the CWnd and CScrollBar members as the system sees them (GetScrollInfo), and the
// cracking of WM_HSCROLL, WM_VSCROLL and WM_SIZE into handler arguments.
#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

SCROLLINFO SystemScrollInfo(HWND hWnd, int nBar) {
  SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(hWnd, nBar, &si);
  return si;
}

// Keeps the arguments of the last handler call (the bar also as its window: it may be temporary).
class CScrollingWnd : public CWnd {
public:
  struct Call {
    UINT message, code, pos;
    CScrollBar* pBar;
    HWND barWnd;
    int cx, cy;
  } m_last = {};

  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) {
    m_last = {WM_HSCROLL, nSBCode, nPos, pBar, pBar->GetSafeHwnd(), 0, 0};
  }
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) {
    m_last = {WM_VSCROLL, nSBCode, nPos, pBar, pBar->GetSafeHwnd(), 0, 0};
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) { m_last = {WM_SIZE, nType, 0, nullptr, nullptr, cx, cy}; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollingWnd, CWnd)
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_SIZE()
END_MESSAGE_MAP()

class ScrollTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "scrolling", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, 0, 0,
                               400, 300, nullptr, nullptr));
  }
  CScrollingWnd m_wnd;
};

TEST_F(ScrollTest, WindowBarsKeepTheirOwnRangeAndPosition) {
  m_wnd.SetScrollRange(SB_VERT, 0, 80, FALSE);
  EXPECT_EQ(m_wnd.SetScrollPos(SB_VERT, 30), 0);
  m_wnd.SetScrollRange(SB_HORZ, 0, 91, FALSE);
  EXPECT_EQ(m_wnd.SetScrollPos(SB_HORZ, 5), 0);
  EXPECT_EQ(m_wnd.SetScrollPos(SB_VERT, 40), 30) << "returns the previous position";

  const SCROLLINFO vert = SystemScrollInfo(m_wnd.m_hWnd, SB_VERT),
                   horz = SystemScrollInfo(m_wnd.m_hWnd, SB_HORZ);
  EXPECT_EQ(vert.nMax, 80);
  EXPECT_EQ(vert.nPos, 40);
  EXPECT_EQ(horz.nMax, 91);
  EXPECT_EQ(horz.nPos, 5);
  EXPECT_EQ(m_wnd.GetScrollPos(SB_HORZ), 5);
  SCROLLINFO mine = {};
  ASSERT_TRUE(m_wnd.GetScrollInfo(SB_VERT, &mine));
  EXPECT_EQ(mine.nPos, 40);
  EXPECT_EQ(mine.nMax, 80);

  // A range with equal ends hides the bar.
  m_wnd.SetScrollRange(SB_HORZ, 0, 0, TRUE);
  EXPECT_EQ(m_wnd.GetStyle() & WS_HSCROLL, 0u);
  EXPECT_NE(m_wnd.GetStyle() & WS_VSCROLL, 0u);

  // A scroll-bar control works on its own bar, not on its parent's.
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_VERT | WS_VISIBLE, CRect(0, 0, 16, 100), &m_wnd, 4));
  bar.SetScrollRange(0, 10);
  EXPECT_EQ(bar.SetScrollPos(7), 0);
  EXPECT_EQ(bar.SetScrollPos(9), 7);
  const SCROLLINFO control = SystemScrollInfo(bar.m_hWnd, SB_CTL);
  EXPECT_EQ(control.nMax, 10);
  EXPECT_EQ(control.nPos, 9);
  EXPECT_EQ(m_wnd.GetScrollPos(SB_VERT), 40);
}

TEST_F(ScrollTest, MessagesAreCrackedIntoHandlerArguments) {
  const struct {
    UINT message;
    WPARAM wParam;
    UINT code, pos;
  } cases[] = {
      {WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 42), SB_THUMBPOSITION, 42},
      {WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), SB_LINERIGHT, 0},
      {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000), SB_THUMBTRACK, 40000}, // above 32767: unsigned
      {WM_SIZE, SIZE_MAXIMIZED, SIZE_MAXIMIZED, 0},
  };
  for (const auto& c : cases) {
    m_wnd.m_last = {};
    m_wnd.SendMessage(c.message, c.wParam, c.message == WM_SIZE ? MAKELPARAM(300, 200) : 0);
    EXPECT_EQ(m_wnd.m_last.message, c.message);
    EXPECT_EQ(m_wnd.m_last.code, c.code) << c.message;
    EXPECT_EQ(m_wnd.m_last.pos, c.pos) << c.message;
    EXPECT_EQ(m_wnd.m_last.pBar, nullptr) << "the window's own bar has no control";
  }
  EXPECT_EQ(m_wnd.m_last.cx, 300);
  EXPECT_EQ(m_wnd.m_last.cy, 200);

  // From a scroll-bar control: its own object when it has one, else a temporary one for its window.
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_HORZ | WS_VISIBLE, CRect(0, 0, 100, 16), &m_wnd, 3));
  m_wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(bar.m_hWnd));
  EXPECT_EQ(m_wnd.m_last.pBar, &bar);
  HWND hForeign = ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 20, 16, 100,
                                    m_wnd.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(hForeign, nullptr);
  m_wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(hForeign));
  EXPECT_NE(m_wnd.m_last.pBar, nullptr);
  EXPECT_EQ(m_wnd.m_last.barWnd, hForeign);
}

} // namespace
