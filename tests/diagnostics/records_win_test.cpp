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

bool streamDeleted = false;
struct Watched : std::ostringstream {
  ~Watched() override { streamDeleted = true; }
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

TEST(Records, TheRecordIsReleasedAtThreadEndLeavingOwnedStreamsAlone) {
  static const int slot = std::ios_base::xalloc();
  bool erased = false;
  auto* owned = new Watched;
  std::thread([&] {
    KQDebugInfo& info = GetDebugThreadInfo();
    info.setLogStream(owned, 1); // finish is not called: the stream stays the host's problem
    info.CriticalErrorStream().pword(slot) = &erased;
    info.CriticalErrorStream().register_callback(noteErase, slot);
  }).join();
  EXPECT_TRUE(erased);
  ASSERT_FALSE(streamDeleted); // stop here rather than delete it a second time
  delete owned;
}
