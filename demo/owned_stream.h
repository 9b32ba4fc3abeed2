// An output stream that owns its stream buffer, so a thread's diagnostic record can own both:
//   info.setLogStream(new OwnedStream<KQMFCLogBuffer>, 1);
// Deleting the stream destroys the buffer, which hands its pending text on.
#pragma once

#include <ostream>

template <class Buffer> class OwnedStream : public std::ostream {
public:
  OwnedStream() : std::ostream(nullptr) { rdbuf(&buffer); }
  ~OwnedStream() override { rdbuf(nullptr); } // the buffer (a member) goes first and flushes itself
  OwnedStream(const OwnedStream&) = delete;
  OwnedStream& operator=(const OwnedStream&) = delete;

  Buffer buffer;
};
