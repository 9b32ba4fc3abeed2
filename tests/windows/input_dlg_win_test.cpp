// CInputDlg run modally from the test executable's own template (as a host supplies it), answered by a
// watcher thread. The beep is seen by replacing MessageBeep in the library's import table.
#include "dialog_watcher.h"
#include "iat_hook.h"
#include "kqwindows.h"
#include "message_pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {
std::atomic<int> beeps{0};
std::atomic<UINT> lastBeep{0xFFFFFFFF};
BOOL WINAPI countBeep(UINT type) {
  ++beeps;
  lastBeep = type;
  return TRUE; // silent
}

class InputDialogTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(hook.installed()) << "kqmfc.dll imports MessageBeep by name";
    beeps = 0;
  }
  std::string text(const CString& s) {
    return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
  }

  kqtest::IatHook hook{"kqmfc.dll", "user32.dll", "MessageBeep", reinterpret_cast<void*>(&countBeep)};
};

kqtest::DialogAnswer answer(WORD command, const char* typed = nullptr) {
  kqtest::DialogAnswer a;
  a.command = command;
  if (typed != nullptr) {
    a.editId = IDC_INPUT_EDIT;
    a.editText = typed;
  }
  return a;
}
} // namespace

TEST_F(InputDialogTest, OkWithNothingTypedGivesOneLineFeed) {
  CString result("old");
  CInputDlg dialog(nullptr, result);
  kqtest::DialogWatcher watcher(answer(IDOK));
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(watcher.Result().found);
  EXPECT_EQ(text(result), "\n");
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(lastBeep, static_cast<UINT>(MB_OK));
}

TEST_F(InputDialogTest, OkWithTextGivesTheTextAndALineFeed) {
  CString result;
  CInputDlg dialog(nullptr, result);
  kqtest::DialogWatcher watcher(answer(IDOK, "abc"));
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(text(result), "abc\n");
  EXPECT_EQ(result.GetLength(), 4);
  EXPECT_EQ(beeps, 1);
}

TEST_F(InputDialogTest, CancelEmptiesTheResultWhateverWasTyped) {
  CString result("kept until the end");
  CInputDlg dialog(nullptr, result);
  kqtest::DialogAnswer a = answer(IDCANCEL, "typed");
  std::string duringDialog;
  a.prepare = [&](HWND) { duringDialog = text(result); };
  kqtest::DialogWatcher watcher(a);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(duringDialog, "kept until the end"); // not read, not written while the dialog runs
  EXPECT_TRUE(result.IsEmpty());
  EXPECT_EQ(beeps, 1);
}

TEST_F(InputDialogTest, EachOpeningBeepsOnceAndEditCtlIsControl101OfItsOwner) {
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
  CString result;
  CInputDlg dialog(CWnd::FromHandle(owner), result);
  HWND editSeen = nullptr, editExpected = nullptr, ownerSeen = nullptr;
  std::string editClass;
  kqtest::DialogAnswer a = answer(IDOK, "xy");
  a.prepare = [&](HWND dialogWindow) {
    editSeen = dialog.EditCtl().GetSafeHwnd();
    editExpected = ::GetDlgItem(dialogWindow, IDC_INPUT_EDIT);
    editClass = kqtest::ClassName(editSeen);
    ownerSeen = ::GetWindow(dialogWindow, GW_OWNER);
  };
  {
    kqtest::DialogWatcher watcher(a);
    EXPECT_EQ(dialog.DoModal(), IDOK);
  }
  EXPECT_NE(editSeen, nullptr);
  EXPECT_EQ(editSeen, editExpected);
  EXPECT_EQ(editClass, "Edit");
  EXPECT_EQ(ownerSeen, owner);
  EXPECT_EQ(text(result), "xy\n");
  {
    kqtest::DialogWatcher watcher(answer(IDCANCEL));
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
  EXPECT_EQ(beeps, 2);
  ::DestroyWindow(owner);
  kqtest::PumpPending();
}
