// Dialogs run from code in a DLL find their templates in the executable first, then in the registered
// extension modules in registration order; message boxes take their caption from the application.
// (Handlers, answers and texts: the input dialog and critical-error tests.)
#include "test_resources.h"

#include <afxwin.h>

#include <dialog_watcher.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// CDialog(nIDTemplate).DoModal(), run from the code of mfc_win32_dlgdll.dll.
extern "C" __declspec(dllimport) INT_PTR KqTestDoModalFromDll(UINT nIDTemplate);

namespace {

using LoadedModule = std::unique_ptr<HINSTANCE__, decltype(&::FreeLibrary)>;
LoadedModule Load(const char* name) {
  return LoadedModule(::LoadLibraryA(name), &::FreeLibrary);
}

// Runs template nID from the DLL's code and answers any dialog with `command`; gives the caption seen,
// "" when no dialog appeared (then DoModal must have returned at once).
std::string CaptionFromDll(UINT nID, INT_PTR nExpected, WORD command = IDOK) {
  kqtest::DialogWatcher watcher({.command = command});
  EXPECT_EQ(KqTestDoModalFromDll(nID), nExpected) << "template " << nID;
  watcher.StopWaiting();
  const kqtest::SeenDialog seen = watcher.Result();
  return seen.found ? seen.caption : "";
}

TEST(DialogTemplateSearch, ExecutableFirstThenExtensionModulesInRegistrationOrder) {
  EXPECT_EQ(CaptionFromDll(IDD_BOTH, IDCANCEL, IDCANCEL), "Host copy");
  // Not anywhere, or only in the calling (loaded but unregistered) DLL.
  for (UINT nID : {IDD_MISSING, IDD_EXTENSION})
    EXPECT_EQ(CaptionFromDll(nID, -1, IDCANCEL), "");
  {
    LoadedModule a = Load("mfc_win32_ext_a.dll");
    ASSERT_TRUE(a);
    EXPECT_EQ(CaptionFromDll(IDD_EXTENSION, IDOK), "Extension A");
    EXPECT_EQ(CaptionFromDll(IDD_BOTH, IDOK), "Host copy");
    LoadedModule b = Load("mfc_win32_ext_b.dll");
    ASSERT_TRUE(b);
    EXPECT_EQ(CaptionFromDll(IDD_EXTENSION, IDOK), "Extension A");
    a.reset(); // its DLL_PROCESS_DETACH takes it out of the search
    EXPECT_EQ(CaptionFromDll(IDD_EXTENSION, IDOK), "Extension B");
  }
  {
    LoadedModule b = Load("mfc_win32_ext_b.dll"), a = Load("mfc_win32_ext_a.dll");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(CaptionFromDll(IDD_EXTENSION, IDOK), "Extension B");
  }
  EXPECT_EQ(CaptionFromDll(IDD_EXTENSION, -1, IDCANCEL), "") << "both unloaded";
}

TEST(AfxMessageBoxTest, PromptFromTheStringTableCaptionFromTheApplication) {
  {
    CWinApp app("Named application");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(app.m_pszExeName, "mfc_win32_dialog_test");
    kqtest::DialogWatcher watcher({.command = IDCANCEL});
    EXPECT_EQ(AfxMessageBox(IDS_PROMPT, MB_OKCANCEL), IDCANCEL);
    const kqtest::SeenDialog seen = watcher.Result();
    EXPECT_EQ(seen.text, "Prompt from the string table");
    EXPECT_EQ(seen.caption, "Named application");
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_STREQ(AfxGetAppName(), "mfc_win32_dialog_test") << "no application: the executable's name";
  CWinApp unnamed; // this executable has an AFX_IDS_APP_TITLE string
  EXPECT_STREQ(unnamed.m_pszAppName, "Title from the string table");
}

} // namespace
