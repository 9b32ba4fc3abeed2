// The record's set operations and finish: which streams get deleted, when, and what is returned.
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {
// Streams append their names here when deleted, so ownership mistakes show as a wrong string.
std::string deleted;
struct Named : std::ostringstream {
  explicit Named(char name) : name(name) {}
  ~Named() override { deleted += name; }
  char name;
};
} // namespace

TEST(Record, SetOperationsAndFinishDeleteOnlyOwnedStreams) {
  const struct {
    std::ostream* (KQDebugInfo::*set)(std::ostream*, int);
    std::ostream* KQDebugInfo::*stream;
    int KQDebugInfo::*owns;
  } slots[] = {
      {&KQDebugInfo::setDebugStream, &KQDebugInfo::debugStream, &KQDebugInfo::ownsDebugStream},
      {&KQDebugInfo::setLogStream, &KQDebugInfo::logStream, &KQDebugInfo::ownsLogStream},
      {&KQDebugInfo::setWarningStream, &KQDebugInfo::warningStream, &KQDebugInfo::ownsWarningStream}};
  for (const auto& slot : slots) {
    SCOPED_TRACE(&slot - slots);
    deleted.clear();
    KQDebugInfo info;
    // A new record shows its critical errors and owns no stream.
    EXPECT_EQ(info.criticalErrorsHidden + info.*slot.owns, 0);
    Named kept('k');
    auto* owned = new Named('o');
    EXPECT_EQ((info.*slot.set)(&kept, 0), nullptr);
    EXPECT_EQ((info.*slot.set)(owned, 1), &kept);
    EXPECT_EQ(deleted, "");
    EXPECT_EQ((info.*slot.set)(&kept, 0), static_cast<std::ostream*>(owned)); // deleted on the way
    EXPECT_EQ(info.*slot.stream, &kept);
    EXPECT_EQ((info.*slot.set)(nullptr, 0), &kept);
    EXPECT_EQ(deleted, "o");
  }
  deleted.clear(); // finish: the owned ones, in debug, log, warning order
  Named log('l');
  auto* leftAlone = new Named('x');
  {
    KQDebugInfo info;
    info.setWarningStream(new Named('w'), 1);
    info.setLogStream(&log, 0);
    info.setDebugStream(new Named('d'), 1);
    info.finish();
    EXPECT_EQ(deleted, "dw");
    EXPECT_TRUE(!info.debugStream && !info.logStream && !info.warningStream);
    info.setDebugStream(&log, 0); // nothing is owned any more: finish deletes nothing
    info.finish();
    info.setLogStream(leftAlone, 1); // destroying the record leaves even an owned stream alone
  }
  EXPECT_EQ(deleted, "dw");
  delete leftAlone;
}
