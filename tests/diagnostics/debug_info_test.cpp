#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
// A stream that counts its own destructions, so ownership mistakes show as wrong counts.
int destroyed = 0;
struct CountedStream : std::ostringstream {
  ~CountedStream() override { ++destroyed; }
};

class Record : public ::testing::Test {
protected:
  void SetUp() override { destroyed = 0; }
  KQDebugInfo info;
};
} // namespace

TEST_F(Record, StartsEmpty) {
  EXPECT_EQ(info.debugStream, nullptr);
  EXPECT_EQ(info.logStream, nullptr);
  EXPECT_EQ(info.warningStream, nullptr);
  EXPECT_EQ(info.criticalErrorsHidden, 0);
  EXPECT_EQ(info.criticalErrorStream.pcount(), 0);
}

TEST_F(Record, ReplacingAnOwnedStreamDeletesItAndReturnsItsAddress) {
  CountedStream a; // not owned: stays alive
  auto* b = new CountedStream;
  EXPECT_EQ(info.setDebugStream(&a, 0), nullptr);
  EXPECT_EQ(info.setDebugStream(b, 1), &a);
  EXPECT_EQ(destroyed, 0);
  CountedStream c;
  EXPECT_EQ(info.setDebugStream(&c, 0), static_cast<std::ostream*>(b)); // b deleted on the way
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(&info.DebugStream(), &c);
}

TEST_F(Record, EachStreamHasItsOwnOwnershipFlag) {
  auto* log = new CountedStream;
  CountedStream warning;
  info.setLogStream(log, 1);
  info.setWarningStream(&warning, 0);
  info.setWarningStream(nullptr, 0); // not owned: nothing deleted
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(info.warningStream, nullptr);
  EXPECT_EQ(info.setLogStream(nullptr, 0), static_cast<std::ostream*>(log)); // owned: deleted
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(info.logStream, nullptr);
}

TEST_F(Record, FinishDeletesOnlyOwnedStreamsInDebugLogWarningOrder) {
  static std::string order;
  order.clear();
  struct Named : std::ostringstream {
    explicit Named(char n) : name(n) {}
    ~Named() override { order += name; }
    char name;
  };
  Named log('l');
  info.setWarningStream(new Named('w'), 1);
  info.setLogStream(&log, 0);
  info.setDebugStream(new Named('d'), 1);
  info.finish();
  EXPECT_EQ(order, "dw");
  EXPECT_EQ(info.debugStream, nullptr);
  EXPECT_EQ(info.logStream, nullptr);
  EXPECT_EQ(info.warningStream, nullptr);
  // After finish the next set operations delete nothing.
  info.setDebugStream(&log, 0);
  info.setWarningStream(&log, 0);
  EXPECT_EQ(order, "dw");
  info.finish(); // nothing owned now
  EXPECT_EQ(order, "dw");
}

TEST_F(Record, DestroyingARecordLeavesOwnedStreamsAlone) {
  auto* owned = new CountedStream;
  {
    KQDebugInfo other;
    other.setDebugStream(owned, 1);
  }
  EXPECT_EQ(destroyed, 0);
  delete owned;
}
