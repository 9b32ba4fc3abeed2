// Scroll messages: the cracking of WM_HSCROLL, WM_VSCROLL and WM_SIZE into handler arguments, with the
// scroll-bar control as its own object or a temporary one. (Setting the bars is seen through the text
// windows' tests.)
#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

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
