// Fonts in device contexts: the font object's lifetime and the previous font returned by SelectObject.
// (What CDC::TextOut draws and the greyed system menu are checked by the text windows' tests.)
#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

TEST(Gdi, FontObjectDeletesItsFontAndSelectReturnsThePreviousOne) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "gdi", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  HGDIOBJ hFont = nullptr;
  {
    CClientDC dc(&wnd);
    HGDIOBJ hOriginal = ::GetCurrentObject(dc.m_hDC, OBJ_FONT);
    CFont font;
    LOGFONTA lf = {};
    ::GetObjectA(::GetStockObject(ANSI_VAR_FONT), sizeof(lf), &lf);
    lf.lfHeight = -30;
    lf.lfWidth = 0;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    hFont = font.m_hObject;
    EXPECT_FALSE(font.CreateFontIndirect(&lf)) << "one font per object";

    CFont* pOld = dc.SelectObject(&font);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(pOld->m_hObject, hOriginal);
    TEXTMETRICA tm = {};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 30) << "metrics of the selected font";
    EXPECT_EQ(dc.SelectObject(pOld)->m_hObject, hFont);
  }
  EXPECT_EQ(::GetObjectType(hFont), 0u) << "the CFont destructor deletes the font";
}

} // namespace
