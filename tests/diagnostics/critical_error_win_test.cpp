// Critical errors in real Yes/No message boxes, answered by a watcher thread.
#include "dialog_watcher.h"
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {
std::string boxText(const std::string& description, const char* file, const std::string& line,
                    const char* date) {
  return description + "\nFichier :\t" + file + "\nLigne   :\t" + line + "\nDate    :\t" + date +
         "\n\nVoulez vous voir les prochains messages ?\n";
}

// Shows the critical error on the calling thread with the watcher giving `answer`; what the box said.
kqtest::SeenDialog showAnswered(KQDebugInfo& info, WORD answer, const char* file, int line) {
  kqtest::DialogWatcher watcher({.command = answer});
  info.displayCriticalError(file, line, "Dec  5 2026");
  return watcher.Result();
}
} // namespace

TEST(CriticalError, YesKeepsShowingEachBoxWithExactlyItsOwnText) {
  std::thread([] { // a fresh thread: a fresh record
    KQDebugInfo& info = GetDebugThreadInfo();
    const struct {
      const char* description;
      int line;
    } cases[] = {
        {"Disque plein: a rather long first description", 42},
        {"second", 7}, // shorter than the one before: nothing of it remains
        {"", 1},       // no description: the box starts with an empty line
        {"boom\n", 2}, // its own line end gives an empty line before the file line
    };
    for (const auto& c : cases) {
      info.CriticalErrorStream() << c.description;
      const auto seen = showAnswered(info, IDYES, "src\\copy.cpp", c.line);
      ASSERT_TRUE(seen.found) << c.description;
      EXPECT_EQ(seen.text, boxText(c.description, "src\\copy.cpp", std::to_string(c.line), "Dec  5 2026"));
    }
    info.CriticalErrorStream() << std::hex << "x"; // the line takes the stream's formatting
    EXPECT_EQ(showAnswered(info, IDYES, "f", 255).text, boxText("x", "f", "ff", "Dec  5 2026"));
    EXPECT_EQ(info.criticalErrorsHidden, 0);
  })
      .join();
}

TEST(CriticalError, NoSilencesOnlyThatThreadWhileAnotherStillShowsItsBox) {
  // Thread B opens its box and keeps it open until A is done.
  HANDLE bShowing = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE aDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  kqtest::SeenDialog bFirst, bSecond;
  int bHidden = -1;
  std::thread b([&] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.CriticalErrorStream() << "from B";
    kqtest::DialogWatcher watcher({.prepare =
                                       [&](HWND) {
                                         SetEvent(bShowing);
                                         WaitForSingleObject(aDone, 30000);
                                       },
                                   .command = IDYES});
    info.displayCriticalError("b.cpp", 2, "Dec  5 2026");
    bFirst = watcher.Result();
    info.CriticalErrorStream() << "B again";
    bSecond = showAnswered(info, IDYES, "b.cpp", 3);
    bHidden = info.criticalErrorsHidden;
  });

  ASSERT_EQ(WaitForSingleObject(bShowing, 30000), WAIT_OBJECT_0);
  std::thread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.CriticalErrorStream() << "from A";
    ASSERT_TRUE(showAnswered(info, IDNO, "a.cpp", 1).found);
    EXPECT_EQ(info.criticalErrorsHidden, 1);

    // Silenced: no box, the call returns at once, and the text written meanwhile stays and grows.
    info.CriticalErrorStream() << "kept";
    const auto before = info.criticalErrorStream.pcount();
    kqtest::DialogWatcher none({.command = IDYES, .timeoutMs = 2000});
    info.displayCriticalError("a.cpp", 2, "d");
    info.CriticalErrorStream() << "and more";
    none.StopWaiting();
    EXPECT_FALSE(none.Result().found);
    EXPECT_EQ(info.criticalErrorStream.pcount(), before + 8);
    EXPECT_EQ(info.criticalErrorsHidden, 1);
  }).join();
  SetEvent(aDone);
  b.join();
  CloseHandle(bShowing);
  CloseHandle(aDone);

  EXPECT_TRUE(bFirst.found);
  EXPECT_EQ(bFirst.text, boxText("from B", "b.cpp", "2", "Dec  5 2026"));
  EXPECT_TRUE(bSecond.found);
  EXPECT_EQ(bSecond.text, boxText("B again", "b.cpp", "3", "Dec  5 2026"));
  EXPECT_EQ(bHidden, 0);
}
