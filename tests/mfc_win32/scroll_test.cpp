// Scroll bars: the CWnd and CScrollBar members as the system sees them (GetScrollInfo), and the
// cracking of WM_HSCROLL, WM_VSCROLL and WM_SIZE into handler arguments.
#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

SCROLLINFO SystemScrollInfo(HWND hWnd, int nBar) {
  SCROLLINFO si = {};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ::GetScrollInfo(hWnd, nBar, &si);
  return si;
}

class CScrollingWnd : public CWnd {
public:
  struct Call {
    UINT message = 0;
    UINT code = 0;
    UINT pos = 0;
    CScrollBar* bar = nullptr; // may be temporary: compare it only while handling
    HWND barWnd = nullptr;
  };
  Call m_last;
  int m_nCalls = 0;
  UINT m_sizeType = 99;
  int m_cx = -1, m_cy = -1;

  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    Record(WM_HSCROLL, nSBCode, nPos, pScrollBar);
  }
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    Record(WM_VSCROLL, nSBCode, nPos, pScrollBar);
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    m_sizeType = nType;
    m_cx = cx;
    m_cy = cy;
  }

private:
  void Record(UINT message, UINT code, UINT pos, CScrollBar* bar) {
    ++m_nCalls;
    m_last = {message, code, pos, bar, bar->GetSafeHwnd()};
  }
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

  SCROLLINFO vert = SystemScrollInfo(m_wnd.m_hWnd, SB_VERT);
  EXPECT_EQ(vert.nMin, 0);
  EXPECT_EQ(vert.nMax, 80);
  EXPECT_EQ(vert.nPos, 40);
  SCROLLINFO horz = SystemScrollInfo(m_wnd.m_hWnd, SB_HORZ);
  EXPECT_EQ(horz.nMax, 91);
  EXPECT_EQ(horz.nPos, 5);
  EXPECT_EQ(m_wnd.GetScrollPos(SB_VERT), 40);
  EXPECT_EQ(m_wnd.GetScrollPos(SB_HORZ), 5);
  int nMin = -1, nMax = -1;
  m_wnd.GetScrollRange(SB_HORZ, &nMin, &nMax);
  EXPECT_EQ(nMin, 0);
  EXPECT_EQ(nMax, 91);

  SCROLLINFO mine = {};
  ASSERT_TRUE(m_wnd.GetScrollInfo(SB_VERT, &mine));
  EXPECT_EQ(mine.nPos, 40);
  EXPECT_EQ(mine.nMax, 80);

  // A range with equal ends hides the bar.
  m_wnd.SetScrollRange(SB_HORZ, 0, 0, TRUE);
  EXPECT_EQ(m_wnd.GetStyle() & WS_HSCROLL, 0u);
  EXPECT_NE(m_wnd.GetStyle() & WS_VSCROLL, 0u);
}

TEST_F(ScrollTest, ScrollMessagesAreCrackedIntoCodePositionAndBar) {
  m_wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 42), 0);
  EXPECT_EQ(m_wnd.m_nCalls, 1);
  EXPECT_EQ(m_wnd.m_last.message, static_cast<UINT>(WM_VSCROLL));
  EXPECT_EQ(m_wnd.m_last.code, static_cast<UINT>(SB_THUMBPOSITION));
  EXPECT_EQ(m_wnd.m_last.pos, 42u);
  EXPECT_EQ(m_wnd.m_last.bar, nullptr) << "the window's own bar has no control";

  m_wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
  EXPECT_EQ(m_wnd.m_nCalls, 2);
  EXPECT_EQ(m_wnd.m_last.message, static_cast<UINT>(WM_HSCROLL));
  EXPECT_EQ(m_wnd.m_last.code, static_cast<UINT>(SB_LINERIGHT));

  // A thumb position above 32767 arrives unsigned.
  m_wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000), 0);
  EXPECT_EQ(m_wnd.m_last.pos, 40000u);

  // From a scroll-bar control: its own object when it has one, else a temporary one for its window.
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_HORZ | WS_VISIBLE, CRect(0, 0, 100, 16), &m_wnd, 3));
  m_wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(bar.m_hWnd));
  EXPECT_EQ(m_wnd.m_last.bar, &bar);

  HWND hForeign = ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 20, 16, 100,
                                    m_wnd.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(hForeign, nullptr);
  m_wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(hForeign));
  EXPECT_NE(m_wnd.m_last.bar, nullptr);
  EXPECT_EQ(m_wnd.m_last.barWnd, hForeign);
}

TEST_F(ScrollTest, SizeMessagesAreCrackedIntoTypeAndClientSize) {
  m_wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200));
  EXPECT_EQ(m_wnd.m_sizeType, static_cast<UINT>(SIZE_MAXIMIZED));
  EXPECT_EQ(m_wnd.m_cx, 300);
  EXPECT_EQ(m_wnd.m_cy, 200);

  // MoveWindow sends a real WM_SIZE with the new client size.
  m_wnd.MoveWindow(0, 0, 500, 350);
  CRect client;
  m_wnd.GetClientRect(&client);
  EXPECT_EQ(m_wnd.m_cx, client.Width());
  EXPECT_EQ(m_wnd.m_cy, client.Height());
}

TEST_F(ScrollTest, ScrollBarControlWorksOnItsOwnBar) {
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_VERT | WS_VISIBLE, CRect(0, 0, 16, 100), &m_wnd, 4));
  bar.SetScrollRange(0, 10);
  EXPECT_EQ(bar.SetScrollPos(7), 0);
  EXPECT_EQ(bar.SetScrollPos(9), 7);
  SCROLLINFO si = SystemScrollInfo(bar.m_hWnd, SB_CTL);
  EXPECT_EQ(si.nMax, 10);
  EXPECT_EQ(si.nPos, 9);
  EXPECT_EQ(bar.GetScrollPos(), 9);
  // The parent's own bars are untouched.
  EXPECT_EQ(m_wnd.GetScrollPos(SB_VERT), 0);
}

} // namespace
