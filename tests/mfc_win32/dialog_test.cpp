// Modal dialogs: templates found through the resource search (the executable first, then registered
// extension modules in registration order), run from code in a DLL or in the executable, with the
// commands reaching the virtual handlers.
#include "dlgdll.h"
#include "test_resources.h"

#include <afxwin.h>

#include <dialog_watcher.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A module loaded for the length of a scope (or until Free).
class LoadedModule {
public:
  explicit LoadedModule(const char* name) : m_hModule(::LoadLibraryA(name)) {}
  ~LoadedModule() { Free(); }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  bool Loaded() const { return m_hModule != nullptr; }
  void Free() {
    if (m_hModule != nullptr)
      ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
  }

private:
  HMODULE m_hModule;
};

// Runs template nID from the DLL's code, answers it with OK and returns the caption seen.
std::string CaptionOfDialogFromDll(UINT nID) {
  kqtest::DialogWatcher watcher({.command = IDOK});
  const INT_PTR nResult = KqTestDoModalFromDll(nID);
  kqtest::SeenDialog seen = watcher.Result();
  EXPECT_EQ(nResult, IDOK);
  return seen.found ? seen.caption : "(no dialog)";
}

// DoModal must fail at once with -1: no dialog may appear (one that did would be cancelled).
void ExpectNoDialogFromDll(UINT nID) {
  kqtest::DialogWatcher watcher({.command = IDCANCEL});
  EXPECT_EQ(KqTestDoModalFromDll(nID), -1) << "template " << nID;
  watcher.StopWaiting();
  EXPECT_FALSE(watcher.Result().found) << "template " << nID;
}

TEST(DialogTemplateSearch, CodeInADllFindsATemplateThatOnlyTheExecutableHolds) {
  {
    kqtest::DialogWatcher watcher({.command = IDOK});
    EXPECT_EQ(KqTestDoModalFromDll(IDD_HOST_ONLY), IDOK);
    kqtest::SeenDialog seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "Host dialog");
    EXPECT_EQ(seen.text, "Type a line");
  }
  {
    kqtest::DialogWatcher watcher({.command = IDCANCEL});
    EXPECT_EQ(KqTestDoModalFromDll(IDD_HOST_ONLY), IDCANCEL);
    EXPECT_TRUE(watcher.Result().found);
  }
}

TEST(DialogTemplateSearch, MissingOrUnregisteredTemplatesGiveMinusOne) {
  ExpectNoDialogFromDll(IDD_MISSING);
  ExpectNoDialogFromDll(IDD_UNREGISTERED); // its DLL is loaded but not an extension module
  ExpectNoDialogFromDll(IDD_EXTENSION);    // no extension module loaded yet
}

TEST(DialogTemplateSearch, ExtensionModulesComeAfterTheExecutableInRegistrationOrder) {
  {
    LoadedModule a("mfc_win32_ext_a.dll");
    ASSERT_TRUE(a.Loaded());
    EXPECT_EQ(CaptionOfDialogFromDll(IDD_EXTENSION), "Extension A");
    EXPECT_EQ(CaptionOfDialogFromDll(IDD_BOTH), "Host copy");
    LoadedModule b("mfc_win32_ext_b.dll");
    ASSERT_TRUE(b.Loaded());
    EXPECT_EQ(CaptionOfDialogFromDll(IDD_EXTENSION), "Extension A");
    a.Free(); // its DLL_PROCESS_DETACH takes it out of the search
    EXPECT_EQ(CaptionOfDialogFromDll(IDD_EXTENSION), "Extension B");
  }
  {
    LoadedModule b("mfc_win32_ext_b.dll");
    LoadedModule a("mfc_win32_ext_a.dll");
    ASSERT_TRUE(a.Loaded() && b.Loaded());
    EXPECT_EQ(CaptionOfDialogFromDll(IDD_EXTENSION), "Extension B");
    // The executable's own dialog is used from the executable too.
    kqtest::DialogWatcher watcher({.command = IDOK});
    CDialog dialog(IDD_BOTH);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(watcher.Result().caption, "Host copy");
  }
  ExpectNoDialogFromDll(IDD_EXTENSION); // both unloaded
}

// --- the dialog object ---

class CProbeDialog : public CDialog {
public:
  explicit CProbeDialog(CWnd* pParent) : CDialog(IDD_HOST_ONLY, pParent) {}

  int m_nInit = 0, m_nOK = 0, m_nCancel = 0;
  bool m_itemFound = false;
  HWND m_ownerAtInit = nullptr;
  CString m_okText;

  BOOL OnInitDialog() override {
    ++m_nInit;
    m_itemFound = GetDlgItem(IDC_TEXT) != nullptr;
    m_ownerAtInit = ::GetWindow(m_hWnd, GW_OWNER);
    SetDlgItemText(IDC_TEXT, "initial");
    return TRUE;
  }

protected:
  void OnOK() override {
    ++m_nOK;
    GetDlgItem(IDC_TEXT)->GetWindowText(m_okText);
    EndDialog(77);
  }
  void OnCancel() override {
    ++m_nCancel;
    EndDialog(55);
  }
};

TEST(DialogObject, OkAndCancelReachTheOverridesAndEndDialogGivesTheResult) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  CProbeDialog dialog(&owner);

  kqtest::DialogWatcher ok({.editId = IDC_TEXT, .editText = "typed", .command = IDOK});
  EXPECT_EQ(dialog.DoModal(), 77);
  kqtest::SeenDialog seen = ok.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(dialog.m_nInit, 1);
  EXPECT_TRUE(dialog.m_itemFound);
  EXPECT_EQ(dialog.m_ownerAtInit, owner.m_hWnd);
  EXPECT_EQ(dialog.m_nOK, 1);
  EXPECT_EQ(dialog.m_nCancel, 0);
  EXPECT_EQ(dialog.m_okText, "typed");
  EXPECT_EQ(dialog.m_hWnd, nullptr) << "detached when its window is gone";
  EXPECT_EQ(CWnd::FromHandlePermanent(seen.hwnd), nullptr);

  // The same object runs again; Cancel goes to OnCancel.
  kqtest::DialogWatcher cancel({.command = IDCANCEL});
  EXPECT_EQ(dialog.DoModal(), 55);
  EXPECT_TRUE(cancel.Result().found);
  EXPECT_EQ(dialog.m_nInit, 2);
  EXPECT_EQ(dialog.m_nOK, 1);
  EXPECT_EQ(dialog.m_nCancel, 1);
}

TEST(DialogObject, TemplateByNameIsFoundToo) {
  // A numbered resource can be named "#100".
  CDialog dialog("#100");
  kqtest::DialogWatcher watcher({.command = IDOK});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(watcher.Result().caption, "Host dialog");
}

} // namespace
