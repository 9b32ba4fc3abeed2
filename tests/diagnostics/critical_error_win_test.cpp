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

kqtest::DialogAnswer answering(WORD command, DWORD timeoutMs = 30000) {
  kqtest::DialogAnswer answer;
  answer.command = command;
  answer.timeoutMs = timeoutMs;
  return answer;
}

// Shows the critical error on the calling thread with the watcher giving `answer`; what the box said.
kqtest::SeenDialog showAnswered(KQDebugInfo& info, WORD answer, const char* file, int line,
                                const char* date) {
  kqtest::DialogWatcher watcher(answering(answer));
  info.displayCriticalError(file, line, date);
  return watcher.Result();
}

// Runs `body` on a new thread (which gets a fresh record) and waits for it.
template <class Body> void onFreshThread(Body body) {
  std::thread(body).join();
}
} // namespace

TEST(CriticalError, TheBoxTextIsExactByteForByte) {
  onFreshThread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.CriticalErrorStream() << "Disque plein";
    auto seen = showAnswered(info, IDYES, "src\\copy.cpp", 42, "Dec  5 2026");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, boxText("Disque plein", "src\\copy.cpp", "42", "Dec  5 2026"));
  });
}

TEST(CriticalError, WithoutADescriptionTheBoxStartsWithAnEmptyLine) {
  onFreshThread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    auto seen = showAnswered(info, IDYES, "a.cpp", 1, "today");
    EXPECT_EQ(seen.text, boxText("", "a.cpp", "1", "today"));
    // A description ending with its own line end gives an empty line before the file line.
    info.CriticalErrorStream() << "boom" << std::endl;
    seen = showAnswered(info, IDYES, "a.cpp", 2, "today");
    EXPECT_EQ(seen.text, boxText("boom\n", "a.cpp", "2", "today"));
  });
}

TEST(CriticalError, YesKeepsShowingAndEachBoxHasOnlyItsOwnDescription) {
  onFreshThread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.CriticalErrorStream() << "a rather long first description";
    ASSERT_TRUE(showAnswered(info, IDYES, "f", 1, "d").found);
    info.CriticalErrorStream() << "second";
    auto seen = showAnswered(info, IDYES, "f", 2, "d");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, boxText("second", "f", "2", "d"));
    EXPECT_EQ(info.criticalErrorsHidden, 0);
  });
}

TEST(CriticalError, HexOnTheStreamShowsTheLineInHex) {
  onFreshThread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.CriticalErrorStream() << std::hex << "x";
    EXPECT_EQ(showAnswered(info, IDYES, "f", 255, "d").text, boxText("x", "f", "ff", "d"));
  });
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
    kqtest::DialogAnswer holdOpen = answering(IDYES);
    holdOpen.prepare = [&](HWND) {
      SetEvent(bShowing);
      WaitForSingleObject(aDone, 30000);
    };
    kqtest::DialogWatcher watcher(holdOpen);
    info.displayCriticalError("b.cpp", 2, "d");
    bFirst = watcher.Result();
    info.CriticalErrorStream() << "B again";
    bSecond = showAnswered(info, IDYES, "b.cpp", 3, "d");
    bHidden = info.criticalErrorsHidden;
  });

  ASSERT_EQ(WaitForSingleObject(bShowing, 30000), WAIT_OBJECT_0);
  onFreshThread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.CriticalErrorStream() << "from A";
    ASSERT_TRUE(showAnswered(info, IDNO, "a.cpp", 1, "d").found);
    EXPECT_EQ(info.criticalErrorsHidden, 1);

    // Silenced: no box, the call returns at once, and the text written meanwhile stays and grows.
    info.CriticalErrorStream() << "kept";
    const auto before = info.criticalErrorStream.pcount();
    kqtest::DialogWatcher none(answering(IDYES, 2000));
    info.displayCriticalError("a.cpp", 2, "d");
    info.CriticalErrorStream() << "and more";
    none.StopWaiting();
    EXPECT_FALSE(none.Result().found);
    EXPECT_EQ(info.criticalErrorStream.pcount(), before + 8);
    EXPECT_EQ(info.criticalErrorsHidden, 1);
  });
  SetEvent(aDone);
  b.join();
  CloseHandle(bShowing);
  CloseHandle(aDone);

  EXPECT_TRUE(bFirst.found);
  EXPECT_EQ(bFirst.text, boxText("from B", "b.cpp", "2", "d"));
  EXPECT_TRUE(bSecond.found);
  EXPECT_EQ(bSecond.text, boxText("B again", "b.cpp", "3", "d"));
  EXPECT_EQ(bHidden, 0);
}
