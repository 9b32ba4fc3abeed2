// Modal dialogs run from code in a DLL: templates found through the resource search (the executable
// first, then registered extension modules in registration order). The dialog object's own handlers
// (OnInitDialog, OnOK, OnCancel overrides) are exercised by the library's input dialog tests.
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
  // Code in a DLL finds a template that only the executable holds; an unloaded, unregistered or missing
  // template gives -1 without any dialog.
  EXPECT_EQ(CaptionFromDll(IDD_HOST_ONLY, IDOK), "Host dialog");
  EXPECT_EQ(CaptionFromDll(IDD_HOST_ONLY, IDCANCEL, IDCANCEL), "Host dialog");
  for (UINT nID : {IDD_MISSING, IDD_UNREGISTERED, IDD_EXTENSION})
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

} // namespace
