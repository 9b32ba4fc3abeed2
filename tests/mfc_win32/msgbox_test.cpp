// AfxMessageBox: the answer, the text (given or from the string table) and the caption (the
// application's name), and an application that replaces the box.
#include "test_resources.h"

#include <afxwin.h>

#include <dialog_watcher.h>

#include <gtest/gtest.h>

namespace {

TEST(AfxMessageBoxTest, AnswersAndTextsUnderTheExecutableName) {
  const struct {
    WORD answer;
    UINT nType;
    const char* text; // nullptr: IDS_PROMPT from the string table
  } cases[] = {{IDYES, MB_YESNO, "First line\nSecond line"},
               {IDNO, MB_YESNO, "Another one"},
               {IDCANCEL, MB_OKCANCEL, nullptr}};
  for (const auto& c : cases) {
    kqtest::DialogWatcher watcher({.command = c.answer});
    EXPECT_EQ(c.text != nullptr ? AfxMessageBox(c.text, c.nType) : AfxMessageBox(IDS_PROMPT, c.nType),
              c.answer);
    const kqtest::SeenDialog seen = watcher.Result();
    EXPECT_EQ(seen.text, c.text != nullptr ? c.text : "Prompt from the string table");
    EXPECT_EQ(seen.caption, "mfc_win32_dialog_test");
  }
}

class CHookedApp : public CWinApp {
public:
  CHookedApp() : CWinApp("Named application") {}
  bool m_replace = false;
  CString m_prompt;
  UINT m_type = 0, m_help = 0;
  int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override {
    m_prompt = lpszPrompt;
    m_type = nType;
    m_help = nIDPrompt;
    return m_replace ? IDRETRY : CWinApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
  }
};

TEST(AfxMessageBoxTest, TheApplicationNamesAndMayReplaceTheBox) {
  {
    CHookedApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(app.m_pszExeName, "mfc_win32_dialog_test");
    kqtest::DialogWatcher watcher({.command = IDOK});
    EXPECT_EQ(AfxMessageBox("Named"), IDOK);
    EXPECT_EQ(watcher.Result().caption, "Named application");
    app.m_replace = true;
    EXPECT_EQ(AfxMessageBox("Hooked", MB_YESNO, 7), IDRETRY);
    EXPECT_EQ(app.m_prompt, "Hooked");
    EXPECT_EQ(app.m_type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(app.m_help, 7u);
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_STREQ(AfxGetAppName(), "mfc_win32_dialog_test");
}

} // namespace
