// AfxMessageBox: the answer, the text and the caption (the application's name).
#include "test_resources.h"

#include <afxwin.h>

#include <dialog_watcher.h>

#include <gtest/gtest.h>

namespace {

TEST(AfxMessageBoxTest, AnswersYesAndNoUnderTheExecutableName) {
  kqtest::DialogWatcher yes({.command = IDYES});
  EXPECT_EQ(AfxMessageBox("First line\nSecond line", MB_YESNO), IDYES);
  kqtest::SeenDialog seen = yes.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.caption, "mfc_win32_dialog_test");
  EXPECT_EQ(seen.text, "First line\nSecond line");

  kqtest::DialogWatcher no({.command = IDNO});
  EXPECT_EQ(AfxMessageBox("Another one", MB_YESNO, 0), IDNO);
  seen = no.Result();
  EXPECT_EQ(seen.text, "Another one");
  EXPECT_EQ(seen.caption, "mfc_win32_dialog_test");
}

TEST(AfxMessageBoxTest, TextFromTheStringTable) {
  kqtest::DialogWatcher watcher({.command = IDCANCEL});
  EXPECT_EQ(AfxMessageBox(IDS_PROMPT, MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(watcher.Result().text, "Prompt from the string table");
}

class CNamedApp : public CWinApp {
public:
  CNamedApp() : CWinApp("Named application") {}
};

class CHookedApp : public CWinApp {
public:
  CString m_prompt;
  UINT m_type = 0, m_help = 0;
  int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override {
    m_prompt = lpszPrompt;
    m_type = nType;
    m_help = nIDPrompt;
    return IDRETRY;
  }
};

TEST(AfxMessageBoxTest, TheApplicationNamesAndMayReplaceTheBox) {
  {
    CNamedApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(AfxGetAppName(), "Named application");
    kqtest::DialogWatcher watcher({.command = IDOK});
    EXPECT_EQ(AfxMessageBox("Named"), IDOK);
    EXPECT_EQ(watcher.Result().caption, "Named application");
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_STREQ(AfxGetAppName(), "mfc_win32_dialog_test");
  {
    CHookedApp app;
    EXPECT_STREQ(app.m_pszExeName, "mfc_win32_dialog_test");
    EXPECT_EQ(AfxMessageBox("Hooked", MB_YESNO, 7), IDRETRY);
    EXPECT_EQ(app.m_prompt, "Hooked");
    EXPECT_EQ(app.m_type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(app.m_help, 7u);
  }
}

} // namespace
