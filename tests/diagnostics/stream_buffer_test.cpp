// The put-area steps both stream buffers share, seen through a buffer that records each delivery.
#include "put_area.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {
// Each delivery as the `length` characters handed on plus the byte after them (the NUL placed there).
using Deliveries = std::vector<std::string>;

class RecordingBuffer : public std::basic_streambuf<char> {
public:
  explicit RecordingBuffer(Deliveries& sink) : buffer(KQPutArea::allocate()), sink(sink) {
    KQPutArea::empty(*this);
  }
  ~RecordingBuffer() override { delete[] buffer; }
  RecordingBuffer(const RecordingBuffer&) = delete;
  RecordingBuffer& operator=(const RecordingBuffer&) = delete;

  int overflow(int ch) override { return KQPutArea::overflow(*this, ch); }
  int sync() override {
    KQPutArea::handOn(*this, [this](const char* text, int length) {
      if (failNext)
        throw std::runtime_error("delivery failed");
      sink.emplace_back(text, length + 1);
    });
    return 0;
  }
  bool failNext = false;

private:
  friend class ::KQPutArea; // the buffer lives in an unnamed namespace
  virtual int out_waiting() const { return KQPutArea::pending(*this); }
  char* buffer;
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

// A delivery that throws still empties the put area: the text is not handed on a second time.
TEST_F(StreamBuffer, AFailedDeliveryLeavesNothingPending) {
  out << "lost";
  buffer.failNext = true;
  EXPECT_THROW(buffer.pubsync(), std::runtime_error);
  buffer.failNext = false;
  out << "next" << std::flush;
  EXPECT_EQ(deliveries, Deliveries{"next\0"s});
}
