// The put-area steps both stream buffers share, seen through a buffer that records each delivery, and
// KQOwnedStream over that buffer.
#include "kqdiagnostics.h"
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
Deliveries deliveries;
bool failNext = false;

// Hands on at each flush and at destruction, as the library's buffers do.
class RecordingBuffer : public std::basic_streambuf<char> {
public:
  RecordingBuffer() : buffer(KQPutArea::allocate()) { KQPutArea::empty(*this); }
  ~RecordingBuffer() override {
    sync();
    delete[] buffer;
  }
  RecordingBuffer(const RecordingBuffer&) = delete;
  RecordingBuffer& operator=(const RecordingBuffer&) = delete;

  int overflow(int ch) override { return KQPutArea::overflow(*this, ch); }
  int sync() override {
    KQPutArea::handOn(*this, [](const char* text, int length) {
      if (failNext)
        throw std::runtime_error("delivery failed");
      deliveries.emplace_back(text, length + 1);
    });
    return 0;
  }

private:
  friend class ::KQPutArea; // the buffer lives in an unnamed namespace
  virtual int out_waiting() const { return KQPutArea::pending(*this); }
  char* buffer;
};

class StreamBuffer : public ::testing::Test {
protected:
  StreamBuffer() { deliveries.clear(), failNext = false; }
  RecordingBuffer buffer;
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

TEST_F(StreamBuffer, OverflowAtThe1025thCharacterHandsOnExactly1024AndReturns0) {
  const std::string full = std::string(1023, 'a') + 'b';
  out << full; // the put area is full but nothing is handed on yet
  EXPECT_EQ(deliveries, Deliveries{});
  EXPECT_EQ(buffer.sputc('c'), 0); // overflow's own result
  EXPECT_EQ(deliveries, Deliveries{full + '\0'});
  EXPECT_EQ(buffer.overflow(EOF), 0); // hands on "c" and keeps nothing
  out << full << std::flush;          // a full put area flushed explicitly is terminated too
  EXPECT_EQ(deliveries, (Deliveries{full + '\0', "c\0"s, full + '\0'}));
}

// A delivery that throws still empties the put area: the stream goes bad, the text is not handed on a
// second time, and clear() makes the stream usable again.
TEST_F(StreamBuffer, AFailedDeliveryLeavesNothingPending) {
  failNext = true;
  out << "lost" << std::flush;
  EXPECT_TRUE(out.bad());
  failNext = false;
  out.clear();
  out << "next" << std::flush;
  EXPECT_EQ(deliveries, Deliveries{"next\0"s});
}

TEST_F(StreamBuffer, AnOwnedStreamDeletedByItsRecordHandsOnItsLastText) {
  auto* owned = new KQOwnedStream<RecordingBuffer>;
  EXPECT_TRUE(owned->good());
  EXPECT_EQ(owned->rdbuf(), &owned->Buffer());
  KQDebugInfo info;
  info.setLogStream(owned, 1);
  info.LogStream() << "last";
  info.finish(); // deletes the stream through std::ostream: its buffer goes with it
  EXPECT_EQ(deliveries, Deliveries{"last\0"s});
}
