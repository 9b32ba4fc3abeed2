// The put area both stream buffers keep, and the steps of theirs that are the same: 1024 characters
// handed on in one piece at each flush, at an overflow and at destruction. Platform-free.
//
// A buffer names KQPutArea its friend and keeps its array in a field `buffer`; KQPutArea works on the
// buffer's own put area, so the buffers need no common base class.
#pragma once

#include <cstdio>

class KQPutArea {
public:
  static constexpr int size = 1024;

  // The array: size characters of put area and one byte beyond it that is never part of the put area,
  // so the terminating NUL has room also when all 1024 characters are pending.
  static char* allocate() { return new char[size + 1]; }
  // The put area spans the whole array again, nothing pending.
  template <class Buffer> static void empty(Buffer& b) noexcept { b.setp(b.buffer, b.buffer + size); }

  // The number of pending characters.
  template <class Buffer> static int pending(const Buffer& b) noexcept {
    return b.pptr() < b.pbase() ? 0 : static_cast<int>(b.pptr() - b.pbase());
  }

  // Terminates the pending text with a NUL, calls deliver(text, length) and empties the put area. The
  // put area is emptied also when deliver throws (the exception goes on): a text is never handed on
  // twice. The length comes from the buffer's own out_waiting.
  template <class Buffer, class Deliver> static void handOn(Buffer& b, Deliver&& deliver) {
    const int length = b.out_waiting();
    *b.pptr() = '\0'; // pptr() is at most buffer + size, and that byte exists
    const Emptied<Buffer> emptied{b};
    deliver(static_cast<const char*>(b.buffer), length);
  }

  // What overflow does: the buffer's own sync (a virtual call: all pending characters go out in one
  // piece), then ch, unless it is EOF, kept as the first pending character. Returns 0.
  template <class Buffer> static int overflow(Buffer& b, int ch) {
    b.sync();
    if (ch != EOF) {
      *b.pptr() = static_cast<char>(ch);
      b.pbump(1);
    }
    return 0;
  }

private:
  template <class Buffer> struct Emptied {
    Buffer& b;
    ~Emptied() { empty(b); }
  };
};
