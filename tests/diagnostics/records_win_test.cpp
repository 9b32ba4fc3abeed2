// Per-thread records on real Win32 threads: one per thread, released when the thread ends.
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

namespace {
// Fires when the stream it is registered on is destroyed, i.e. when its record is.
void noteErase(std::ios_base::event event, std::ios_base& stream, int index) {
  if (event == std::ios_base::erase_event)
    *static_cast<bool*>(stream.pword(index)) = true;
}

int destroyedStreams = 0;
struct CountedStream : std::ostringstream {
  ~CountedStream() override { ++destroyedStreams; }
};
} // namespace

TEST(Records, SameRecordOnOneThreadDifferentOnTwo) {
  KQDebugInfo* mine = &GetDebugThreadInfo();
  EXPECT_EQ(&GetDebugThreadInfo(), mine);
  KQDebugInfo* other = nullptr;
  KQDebugInfo* otherAgain = nullptr;
  std::thread([&] {
    other = &GetDebugThreadInfo();
    otherAgain = &GetDebugThreadInfo();
  }).join();
  EXPECT_NE(other, nullptr);
  EXPECT_NE(other, mine);
  EXPECT_EQ(other, otherAgain);
}

TEST(Records, ANewThreadsRecordStartsEmpty) {
  std::thread([] {
    KQDebugInfo& info = GetDebugThreadInfo();
    EXPECT_EQ(info.debugStream, nullptr);
    EXPECT_EQ(info.logStream, nullptr);
    EXPECT_EQ(info.warningStream, nullptr);
    EXPECT_EQ(info.criticalErrorsHidden, 0);
    EXPECT_EQ(info.criticalErrorStream.pcount(), 0);
  }).join();
}

TEST(Records, TheRecordIsReleasedWhenItsThreadEnds) {
  static const int slot = std::ios_base::xalloc();
  bool erased = false;
  std::thread([&] {
    std::ostream& stream = GetDebugThreadInfo().CriticalErrorStream();
    stream.pword(slot) = &erased;
    stream.register_callback(noteErase, slot);
  }).join();
  EXPECT_TRUE(erased);
}

TEST(Records, OwnedStreamsOutliveAThreadThatDidNotCallFinish) {
  destroyedStreams = 0;
  CountedStream* leaked = new CountedStream;
  std::thread([&] { GetDebugThreadInfo().setLogStream(leaked, 1); }).join();
  EXPECT_EQ(destroyedStreams, 0);
  delete leaked;
  std::thread([&] {
    GetDebugThreadInfo().setLogStream(new CountedStream, 1);
    GetDebugThreadInfo().finish();
  }).join();
  EXPECT_EQ(destroyedStreams, 2);
}
