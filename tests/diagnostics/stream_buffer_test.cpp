// The put-area steps both stream buffers share, seen through a buffer that records each delivery.
#include "put_area.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {
// Each delivery as the `length` characters handed on plus the byte after them (the NUL placed there).
using Deliveries = std::vector<std::string>;

// Hands on at each flush, as the library's buffers do. (A delivery that throws: the log buffer's Windows
// test, whose window runs out of memory.)
class RecordingBuffer : public std::basic_streambuf<char> {
public:
  RecordingBuffer() : buffer(KQPutArea::allocate()) { KQPutArea::empty(*this); }
  ~RecordingBuffer() override { delete[] buffer; }
  RecordingBuffer(const RecordingBuffer&) = delete;
  RecordingBuffer& operator=(const RecordingBuffer&) = delete;

  int overflow(int ch) override { return KQPutArea::overflow(*this, ch); }
  int sync() override {
    KQPutArea::handOn(*this,
                      [this](const char* text, int length) { deliveries.emplace_back(text, length + 1); });
    return 0;
  }
  Deliveries deliveries;

private:
  friend class ::KQPutArea; // the buffer lives in an unnamed namespace
  virtual int out_waiting() const { return KQPutArea::pending(*this); }
  char* buffer;
};
} // namespace

TEST(StreamBuffer, EachFlushAndOverflowHandsOnThePendingTextInOnePiece) {
  RecordingBuffer buffer;
  std::ostream out(&buffer);
  out << "ab\ncd"; // a newline alone does not flush
  EXPECT_EQ(buffer.deliveries, Deliveries{});
  // An empty flush still delivers; a NUL counts in the length.
  out << std::flush << std::flush << "x" << '\0' << "y" << std::endl;
  const std::string full = std::string(1023, 'a') + 'b';
  out << full; // the put area is full but nothing is handed on yet
  EXPECT_EQ(buffer.deliveries.size(), 3u);
  EXPECT_EQ(buffer.sputc('c'), 0);    // overflow's own result, after handing on exactly 1024
  EXPECT_EQ(buffer.overflow(EOF), 0); // hands on "c" and keeps nothing
  out << full << std::flush;          // a full put area flushed explicitly is terminated too
  EXPECT_EQ(buffer.deliveries,
            (Deliveries{"ab\ncd\0"s, "\0"s, "x\0y\n\0"s, full + '\0', "c\0"s, full + '\0'}));
}
