#include "recording_buffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>

namespace {
class StreamBuffer : public ::testing::Test {
protected:
  std::vector<Delivery> deliveries;
  std::unique_ptr<RecordingBuffer> buffer = std::make_unique<RecordingBuffer>(deliveries);
  std::ostream out{buffer.get()};
};
} // namespace

TEST_F(StreamBuffer, NothingGoesOutBeforeAFlushThenOneDeliveryPerFlush) {
  out << "abc";
  EXPECT_TRUE(deliveries.empty());
  out << std::flush;
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_EQ(deliveries[0].text, "abc");
  EXPECT_EQ(deliveries[0].length, 3);
  out << std::flush; // an empty flush still delivers, with length 0
  ASSERT_EQ(deliveries.size(), 2u);
  EXPECT_EQ(deliveries[1].text, "");
  EXPECT_EQ(deliveries[1].length, 0);
}

TEST_F(StreamBuffer, EndlDeliversTheLineWithItsNewlineInOnePiece) {
  out << "abc" << std::endl;
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_EQ(deliveries[0].text, "abc\n");
  EXPECT_EQ(deliveries[0].length, 4);
  out << "x\ny\n"; // newlines alone do not flush
  EXPECT_EQ(deliveries.size(), 1u);
}

TEST_F(StreamBuffer, OverflowBoundariesAt1023_1024_1025) {
  out << std::string(1023, 'a');
  EXPECT_TRUE(deliveries.empty());
  out << 'b'; // 1024 pending: the put area is full but nothing is handed on yet
  EXPECT_TRUE(deliveries.empty());
  out << 'c'; // the 1025th character pushes out exactly the first 1024, terminated
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_EQ(deliveries[0].length, 1024);
  EXPECT_TRUE(deliveries[0].terminated);
  EXPECT_EQ(deliveries[0].text, std::string(1023, 'a') + "b");
  out << std::flush;
  ASSERT_EQ(deliveries.size(), 2u);
  EXPECT_EQ(deliveries[1].text, "c");
  out << std::string(1023, 'd') << 'e' << std::flush; // a full put area flushed explicitly is terminated too
  ASSERT_EQ(deliveries.size(), 3u);
  EXPECT_EQ(deliveries[2].length, 1024);
  EXPECT_TRUE(deliveries[2].terminated);
}

TEST_F(StreamBuffer, DestructionDeliversWhatIsPending) {
  out << "xyz";
  buffer.reset();
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_EQ(deliveries[0].text, "xyz");
  EXPECT_EQ(deliveries[0].length, 3);
}

TEST_F(StreamBuffer, ANulByteCountsInTheLengthButEndsTheCString) {
  out << "ab" << '\0' << "cd" << std::flush;
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_EQ(deliveries[0].length, 5);
  EXPECT_EQ(deliveries[0].text, "ab");
}

TEST_F(StreamBuffer, ReadingGivesEndOfFile) {
  EXPECT_EQ(buffer->sgetc(), EOF);
  EXPECT_EQ(buffer->sbumpc(), EOF);
}
