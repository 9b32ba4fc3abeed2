#include "pending_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string text(const CString& s) {
  return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
}
} // namespace

TEST(PendingInput, LaterReturnsComeOutFirst) {
  CString input;
  KQPrependInput(input, "b", 1);
  KQPrependInput(input, "a", 1);
  EXPECT_EQ(text(input), "ab");
  char buf[10] = {'#', '#', '#'};
  EXPECT_EQ(KQTakeInput(input, buf, 1), 1);
  EXPECT_EQ(buf[0], 'a');
  EXPECT_EQ(buf[1], '#'); // no NUL is added
  EXPECT_EQ(KQTakeInput(input, buf, 10), 1);
  EXPECT_EQ(buf[0], 'b');
  EXPECT_TRUE(input.IsEmpty());
  EXPECT_EQ(KQTakeInput(input, buf, 10), 0);
}

TEST(PendingInput, SizesAndCountsAtTheirEdges) {
  CString input;
  KQPrependInput(input, "xyz", 0);
  KQPrependInput(input, "xyz", -4);
  EXPECT_TRUE(input.IsEmpty());
  KQPrependInput(input, std::string("c\0d", 3).data(), 3); // NUL bytes travel like any other
  char buf[4] = {};
  EXPECT_EQ(KQTakeInput(input, buf, 0), 0);
  EXPECT_EQ(KQTakeInput(input, buf, -1), 0);
  EXPECT_EQ(text(input), std::string("c\0d", 3));
  EXPECT_EQ(KQTakeInput(input, buf, 2), 2);
  EXPECT_EQ(std::string(buf, 2), std::string("c\0", 2));
  EXPECT_EQ(text(input), "d");
  EXPECT_EQ(KQTakeInput(input, buf, 3), 1);
  EXPECT_EQ(buf[0], 'd');
}
