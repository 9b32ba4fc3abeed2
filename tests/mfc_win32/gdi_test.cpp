// Device contexts, fonts, the system menu and the window operations the text windows rely on
// (text, invalidation, scrolling, minimise and restore).
#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

// One visible frame for the whole suite: without a window manager, Wine waits about two seconds for
// each mapped window to be withdrawn when it goes away.
class GdiTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    s_pFrame = new CFrameWnd;
    if (s_pFrame->Create(nullptr, "gdi", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 320, 240))) {
      s_hWnd = s_pFrame->m_hWnd;
      s_pFrame->UpdateWindow();
    }
  }
  static void TearDownTestSuite() {
    if (::IsWindow(s_hWnd))
      s_pFrame->DestroyWindow(); // deletes the frame
  }
  void SetUp() override {
    ASSERT_NE(s_hWnd, nullptr);
    m_pFrame = s_pFrame;
    m_hWnd = s_hWnd;
  }
  static inline CFrameWnd* s_pFrame = nullptr;
  static inline HWND s_hWnd = nullptr;
  CFrameWnd* m_pFrame = nullptr;
  HWND m_hWnd = nullptr;
};

LOGFONTA FontOfHeight(int height) {
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(ANSI_VAR_FONT), sizeof(lf), &lf);
  lf.lfHeight = -height;
  lf.lfWidth = 0;
  return lf;
}

TEST_F(GdiTest, FontObjectDeletesItsFontAndSelectReturnsThePreviousOne) {
  HGDIOBJ hFont = nullptr;
  {
    CClientDC dc(m_pFrame);
    EXPECT_EQ(dc.m_hAttribDC, dc.m_hDC);
    HGDIOBJ hOriginal = ::GetCurrentObject(dc.m_hDC, OBJ_FONT);

    CFont font;
    LOGFONTA lf = FontOfHeight(30);
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    hFont = font.m_hObject;
    EXPECT_EQ(::GetObjectType(hFont), static_cast<DWORD>(OBJ_FONT));
    EXPECT_FALSE(font.CreateFontIndirect(&lf)) << "one font per object";

    CFont* pOld = dc.SelectObject(&font);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(pOld->m_hObject, hOriginal);
    TEXTMETRICA tm = {};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 30) << "metrics of the selected font";
    CFont* pMine = dc.SelectObject(pOld);
    ASSERT_NE(pMine, nullptr);
    EXPECT_EQ(pMine->m_hObject, hFont);
  }
  EXPECT_EQ(::GetObjectType(hFont), 0u) << "the CFont destructor deletes the font";
}

TEST_F(GdiTest, DeviceContextSettersReturnThePreviousValues) {
  CDC* pDC = m_pFrame->GetDC();
  ASSERT_NE(pDC, nullptr);
  ASSERT_NE(pDC->m_hDC, nullptr);
  pDC->SetTextColor(RGB(1, 2, 3));
  EXPECT_EQ(pDC->SetTextColor(RGB(200, 0, 0)), RGB(1, 2, 3));
  EXPECT_EQ(::GetTextColor(pDC->m_hDC), RGB(200, 0, 0));
  pDC->SetBkColor(RGB(4, 5, 6));
  EXPECT_EQ(pDC->SetBkColor(RGB(0, 0, 200)), RGB(4, 5, 6));
  pDC->SetTextAlign(TA_BASELINE);
  EXPECT_EQ(pDC->SetTextAlign(0), static_cast<UINT>(TA_BASELINE));
  EXPECT_EQ(::GetTextAlign(pDC->m_hDC), 0u);
  EXPECT_EQ(CDC::FromHandle(pDC->m_hDC), pDC) << "one temporary object per handle";
  EXPECT_NE(m_pFrame->ReleaseDC(pDC), 0);
}

TEST_F(GdiTest, TextOutDrawsExactlyTheCountedCharacters) {
  // Draw into a memory bitmap: "M" in black on white, then only the first of "MM" counted.
  HDC hScreen = ::GetDC(nullptr);
  CDC dc;
  ASSERT_TRUE(dc.Attach(::CreateCompatibleDC(hScreen)));
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 100, 40);
  ::ReleaseDC(nullptr, hScreen);
  HGDIOBJ hOldBitmap = ::SelectObject(dc.m_hDC, hBitmap);
  auto inkColumns = [&](int from, int to) {
    int n = 0;
    for (int x = from; x < to; ++x)
      for (int y = 0; y < 40; ++y)
        if (::GetPixel(dc.m_hDC, x, y) == RGB(0, 0, 0)) {
          ++n;
          break;
        }
    return n;
  };
  auto clear = [&] {
    RECT all = {0, 0, 100, 40};
    ::FillRect(dc.m_hDC, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  };
  dc.SetTextColor(RGB(0, 0, 0));
  dc.SetBkColor(RGB(255, 255, 255));
  clear();
  ASSERT_TRUE(dc.TextOut(2, 2, CString("M")));
  const int oneM = inkColumns(0, 100);
  EXPECT_GT(oneM, 0);
  clear();
  ASSERT_TRUE(dc.TextOut(2, 2, "MM", 1));
  EXPECT_EQ(inkColumns(0, 100), oneM);
  clear();
  ASSERT_TRUE(dc.TextOut(2, 2, CString("MM")));
  EXPECT_GT(inkColumns(0, 100), oneM);

  ::SelectObject(dc.m_hDC, hOldBitmap);
  ::DeleteObject(hBitmap);
  // dc's destructor deletes the memory DC.
}

TEST_F(GdiTest, SystemMenuItemsCanBeGreyed) {
  CMenu* pMenu = m_pFrame->GetSystemMenu(FALSE);
  ASSERT_NE(pMenu, nullptr);
  EXPECT_EQ(static_cast<HMENU>(*pMenu), ::GetSystemMenu(m_hWnd, FALSE));
  EXPECT_EQ(CMenu::FromHandle(pMenu->m_hMenu), pMenu);
  EXPECT_EQ(pMenu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
  EXPECT_NE(pMenu->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(pMenu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_ENABLED), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(pMenu->EnableMenuItem(0x1234, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(-1)) << "no such item";
}

TEST_F(GdiTest, WindowTextIsCopiedWithinTheGivenRoom) {
  m_pFrame->SetWindowText("Hello");
  EXPECT_EQ(m_pFrame->GetWindowTextLength(), 5);
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(m_pFrame->GetWindowText(buffer, 3), 2);
  EXPECT_STREQ(buffer, "He");
  CString text("old");
  m_pFrame->GetWindowText(text);
  EXPECT_EQ(text, "Hello");
  EXPECT_EQ(text.GetLength(), 5);
  m_pFrame->SetWindowText("");
  m_pFrame->GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty());
}

TEST_F(GdiTest, InvalidationAndScrollingMarkTheRightAreas) {
  CRect client;
  m_pFrame->GetClientRect(&client);
  RECT update;
  // (A caption change may leave a non-client update pending; only the client rectangle is compared.)
  ::ValidateRect(m_hWnd, nullptr);
  ::GetUpdateRect(m_hWnd, &update, FALSE);
  ASSERT_TRUE(::IsRectEmpty(&update));

  m_pFrame->InvalidateRect(CRect(10, 20, 30, 40), FALSE);
  ASSERT_TRUE(::GetUpdateRect(m_hWnd, &update, FALSE));
  EXPECT_EQ(CRect(update), CRect(10, 20, 30, 40));
  ::ValidateRect(m_hWnd, nullptr);

  m_pFrame->Invalidate();
  ASSERT_TRUE(::GetUpdateRect(m_hWnd, &update, FALSE));
  EXPECT_EQ(CRect(update), client);
  ::ValidateRect(m_hWnd, nullptr);

  // Scrolling the contents up by 10 pixels uncovers a 10-pixel strip at the bottom.
  m_pFrame->ScrollWindow(0, -10);
  ASSERT_TRUE(::GetUpdateRect(m_hWnd, &update, FALSE));
  EXPECT_EQ(CRect(update), CRect(0, client.bottom - 10, client.right, client.bottom));
}

TEST_F(GdiTest, CloseWindowMinimisesAndOpenIconRestores) {
  EXPECT_TRUE(m_pFrame->IsWindowVisible());
  EXPECT_FALSE(m_pFrame->IsIconic());
  m_pFrame->CloseWindow();
  EXPECT_TRUE(m_pFrame->IsIconic());
  EXPECT_TRUE(::IsWindow(m_hWnd)) << "CloseWindow does not destroy";
  EXPECT_TRUE(m_pFrame->OpenIcon());
  EXPECT_FALSE(m_pFrame->IsIconic());
}

} // namespace
