// CInputDlg run modally from this executable's template (as a host supplies it), answered by a watcher
// thread; the beep seen by replacing MessageBeep in the library's import table.
#include "kqwindows.h" // the framework before <windows.h>

#include "dialog_watcher.h"
#include "iat_hook.h"
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

std::string text(const CString& s) {
  return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
}
} // namespace

// One dialog object opened three times: OK with the edit control empty, OK with text, Cancel after typing.
TEST(InputDialog, ResultAfterOkAndCancelOneBeepPerOpeningAndTheEditControl) {
  kqtest::IatHook hook("kqmfc.dll", "user32.dll", "MessageBeep", reinterpret_cast<void*>(&countBeep));
  ASSERT_TRUE(hook.installed()) << "kqmfc.dll imports MessageBeep by name";
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
  CString result("old");
  CInputDlg dialog(CWnd::FromHandle(owner), result);
  const struct {
    WORD command;
    const char* typed;
    const char* expected;
  } cases[] = {{IDOK, "", "\n"}, {IDOK, "abc", "abc\n"}, {IDCANCEL, "typed", ""}};
  for (const auto& c : cases) {
    beeps = 0;
    const std::string before = text(result);
    std::string during;
    HWND editSeen = nullptr, editExpected = nullptr, ownerSeen = nullptr;
    const auto look = [&](HWND dialogWindow) {
      during = text(result);
      editSeen = dialog.EditCtl().GetSafeHwnd();
      editExpected = ::GetDlgItem(dialogWindow, IDC_INPUT_EDIT);
      ownerSeen = ::GetWindow(dialogWindow, GW_OWNER);
    };
    {
      kqtest::DialogWatcher watcher(
          {.editId = IDC_INPUT_EDIT, .editText = c.typed, .prepare = look, .command = c.command});
      EXPECT_EQ(dialog.DoModal(), c.command);
      EXPECT_TRUE(watcher.Result().found);
    }
    EXPECT_EQ(text(result), c.expected);
    EXPECT_EQ(during, before); // not written while the dialog runs
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(lastBeep, static_cast<UINT>(MB_OK));
    EXPECT_NE(editSeen, nullptr);
    EXPECT_EQ(editSeen, editExpected);
    EXPECT_EQ(ownerSeen, owner);
  }
  ::DestroyWindow(owner);
  kqtest::PumpPending();
}
