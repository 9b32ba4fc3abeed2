// Critical errors in real Yes/No boxes, answered by a watcher; each thread has a fresh record.
#include <afxwin.h> // the framework before <windows.h>

#include "dialog_watcher.h"
#include "iat_hook.h"
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>

namespace {
std::string boxText(const std::string& description, const std::string& line) {
  return description + "\nFichier :\tsrc\\copy.cpp\nLigne   :\t" + line +
         "\nDate    :\tDec  5 2026\n\nVoulez vous voir les prochains messages ?\n";
}

// Records the style and help context AfxMessageBox asks of the application.
struct BoxApp : CWinApp {
  int DoMessageBox(LPCTSTR prompt, UINT type, UINT help) override {
    asked = {type, help};
    return CWinApp::DoMessageBox(prompt, type, help);
  }
  std::pair<UINT, UINT> asked{};
};

kqtest::SeenDialog show(KQDebugInfo& info, const char* description, WORD answer, int line) {
  BoxApp app;
  info.CriticalErrorStream() << description;
  kqtest::DialogWatcher watcher({.command = answer});
  info.displayCriticalError("src\\copy.cpp", line, "Dec  5 2026");
  watcher.StopWaiting(); // the call has returned: a box, if any, has been answered
  const kqtest::SeenDialog seen = watcher.Result();
  EXPECT_EQ(app.asked, seen.found ? std::make_pair(UINT(MB_YESNO), 0u) : std::make_pair(0u, 0u));
  return seen;
}
} // namespace

TEST(CriticalError, YesShowsEachBoxWithItsOwnTextAndNoSilencesOnlyItsThread) {
  std::thread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    const std::pair<const char*, int> cases[] = {
        {"Disque plein: a rather long first description", 42},
        {"second", 7}, // shorter than the one before: nothing of it remains
        {"", 1},       // no description: the box starts with an empty line
        {"boom\n", 2}, // its own line end gives an empty line before the file line
    };
    for (const auto& [description, line] : cases) {
      const auto seen = show(info, description, IDYES, line);
      ASSERT_TRUE(seen.found) << description;
      EXPECT_EQ(seen.text, boxText(description, std::to_string(line)));
    }
    // A stream that failed: its last character gives way to the end; with nothing stored since the last
    // box, an empty box, not the last one's text.
    for (const auto& [stored, text] : {std::pair<const char*, const char*>{"abc", "ab"}, {"", ""}}) {
      info.CriticalErrorStream() << stored;
      info.CriticalErrorStream().setstate(std::ios::badbit);
      EXPECT_EQ(show(info, "", IDYES, 8).text, text);
    }
    info.CriticalErrorStream() << std::hex; // the line takes the stream's formatting
    EXPECT_EQ(show(info, "x", IDYES, 255).text, boxText("x", "ff"));
    EXPECT_EQ(info.criticalErrorsHidden, 0);

    EXPECT_EQ(show(info, "from A", IDNO, 3).text, boxText("from A", "3"));
    EXPECT_EQ(info.criticalErrorsHidden, 1);
    // Silenced: no box, and the text written meanwhile stays and grows.
    const auto before = info.criticalErrorStream.pcount();
    EXPECT_FALSE(show(info, "kept", IDYES, 4).found);
    info.CriticalErrorStream() << "and more";
    EXPECT_EQ(info.criticalErrorStream.pcount(), before + 12);
    EXPECT_EQ(info.criticalErrorsHidden, 1);
  }).join();
  std::thread([] { // another thread still shows its box
    EXPECT_EQ(show(GetDebugThreadInfo(), "from B", IDYES, 5).text, boxText("from B", "5"));
  })
      .join();
  std::thread([] { // a box that cannot be shown silences the thread as No does
    kqtest::IatHook failing("kqafx.dll", "user32.dll", "MessageBoxA",
                            kqtest::FailingCall<decltype(::MessageBoxA)>());
    ASSERT_TRUE(failing.installed());
    BoxApp app;
    KQDebugInfo& info = GetDebugThreadInfo();
    info.displayCriticalError("src\\copy.cpp", 6, "Dec  5 2026");
    EXPECT_EQ(app.asked.first, UINT(MB_YESNO));
    EXPECT_EQ(info.criticalErrorsHidden, 1);
  })
      .join();
}
