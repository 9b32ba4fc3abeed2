// Message boxes' captions, the modeless find dialog's keys and self-deletion, the save dialog's filter and
// default extension: what the library's own dialog tests (input, critical error, log viewer) do not reach.
#include <afxdlgs.h>

#include <dialog_watcher.h>

#include <gtest/gtest.h>

#include <cstring>
#include <dlgs.h>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST(AfxMessageBoxTest, CaptionedByTheApplicationElseByTheExecutable) {
  for (const char* lpszApp : {"Named application", static_cast<const char*>(nullptr)}) {
    std::unique_ptr<CWinApp> pApp(lpszApp ? new CWinApp(lpszApp) : nullptr);
    EXPECT_EQ(AfxGetApp(), pApp.get());
    kqtest::DialogWatcher watcher({.command = IDCANCEL});
    EXPECT_EQ(AfxMessageBox("Prompt", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(watcher.Result().caption, lpszApp ? lpszApp : "mfc_win32_dialog_test");
  }
}

const UINT g_findMessage = ::RegisterWindowMessageA(FINDMSGSTRING);

class CCountedFind : public CFindReplaceDialog {
public:
  ~CCountedFind() override { ++deleted; }
  static inline int deleted = 0;
};

// The find dialog's owner: notes what each notification asks for.
class CFindOwner : public CWnd {
public:
  std::vector<std::string> m_seen;
  LRESULT OnFindMessage(WPARAM, LPARAM lParam) {
    const CFindReplaceDialog* p = CFindReplaceDialog::GetNotifier(lParam);
    m_seen.push_back(p->IsTerminating() ? "end" : p->FindNext() ? "next" : "?");
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFindOwner, CWnd)
ON_REGISTERED_MESSAGE(g_findMessage, &CFindOwner::OnFindMessage)
END_MESSAGE_MAP()

TEST(FindDialog, NotifiesItsOwnerAnswersKeysThroughThePumpAndDeletesItselfWhenClosed) {
  CWinApp app("find");
  CFindOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  auto* pDialog = new CCountedFind;
  ASSERT_TRUE(pDialog->Create(TRUE, "needle", nullptr, FR_DOWN, &owner));
  const HWND hDialog = pDialog->GetSafeHwnd();
  EXPECT_EQ(CWnd::FromHandlePermanent(hDialog), pDialog);
  ::SetFocus(::GetDlgItem(hDialog, edt1));
  // Keys the edit control would swallow: Tab moves the focus on, Enter is Find Next, Escape closes.
  for (WPARAM key : {VK_TAB, VK_RETURN, VK_ESCAPE}) {
    const HWND hFocus = ::GetFocus();
    ::PostMessageA(hFocus, WM_KEYDOWN, key, 1);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && app.PumpMessage()) {
    }
    EXPECT_TRUE(key != VK_TAB || ::GetFocus() != hFocus) << "Tab";
  }
  EXPECT_EQ(owner.m_seen, (std::vector<std::string>{"next", "end"}));
  EXPECT_TRUE(!::IsWindow(hDialog) && CCountedFind::deleted == 1);
}

TEST(FileDialog, SaveGivesTheFileTheUserNamedWithTheDefaultExtension) {
  char path[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, path);
  const std::string folder = path;
  ::DeleteFileA((folder + "kq_saved.log").c_str());
  CFileDialog dialog(FALSE, "log", "start.log", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "Logs (*.log)|*.log|All files (*.*)|*.*||");
  const char filter[] = "Logs (*.log)\0*.log\0All files (*.*)\0*.*\0";
  EXPECT_EQ(std::memcmp(dialog.m_ofn.lpstrFilter, filter, sizeof filter), 0);
  {
    // The file name box: a combo box (cmb13) in newer dialogs, an edit control (edt1) in older ones.
    auto type = [&](HWND h) {
      ::SetWindowTextA(::GetDlgItem(h, ::GetDlgItem(h, cmb13) ? cmb13 : edt1), (folder + "kq_saved").c_str());
    };
    kqtest::DialogWatcher watcher({.prepare = type, .command = IDOK});
    ASSERT_EQ(dialog.DoModal(), IDOK);
  }
  EXPECT_EQ(dialog.GetPathName(), CString((folder + "kq_saved.log").c_str())) << "the default extension";
}

} // namespace
