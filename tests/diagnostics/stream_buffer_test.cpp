// The put area both stream buffers share, seen through a buffer that records each delivery.
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {
// Each delivery as the `length` characters handed on plus the byte after them (the NUL the buffer placed).
using Deliveries = std::vector<std::string>;

class RecordingBuffer : public KQMFCStreamBuffer {
public:
  explicit RecordingBuffer(Deliveries& sink) : sink(sink) {}

private:
  void deliver(const char* text, int length) override { sink.emplace_back(text, length + 1); }
  Deliveries& sink;
};

class StreamBuffer : public ::testing::Test {
protected:
  Deliveries deliveries;
  RecordingBuffer buffer{deliveries};
  std::ostream out{&buffer};
};
} // namespace

TEST_F(StreamBuffer, EachFlushHandsOnThePendingTextInOnePiece) {
  out << "ab\ncd"; // a newline alone does not flush
  EXPECT_EQ(deliveries, Deliveries{});
  // An empty flush still delivers; a NUL counts in the length.
  out << std::flush << std::flush << "x" << '\0' << "y" << std::endl;
  EXPECT_EQ(deliveries, (Deliveries{"ab\ncd\0"s, "\0"s, "x\0y\n\0"s}));
}

TEST_F(StreamBuffer, OverflowAtThe1025thCharacterHandsOnExactly1024) {
  const std::string full = std::string(1023, 'a') + 'b';
  out << full; // the put area is full but nothing is handed on yet
  EXPECT_EQ(deliveries, Deliveries{});
  out << 'c';
  EXPECT_EQ(deliveries, Deliveries{full + '\0'});
  out << std::flush << full << std::flush; // a full put area flushed explicitly is terminated too
  EXPECT_EQ(deliveries, (Deliveries{full + '\0', "c\0"s, full + '\0'}));
}

TEST_F(StreamBuffer, ReadingGivesEndOfFile) {
  EXPECT_EQ(buffer.sgetc(), EOF);
  EXPECT_EQ(buffer.sbumpc(), EOF);
}
