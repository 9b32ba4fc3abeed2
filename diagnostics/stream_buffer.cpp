// The put area shared by both stream buffers: 1024 characters, handed on whole at each flush.
#include "kqdiagnostics.h"

#include <cstdio>

KQMFCStreamBuffer::KQMFCStreamBuffer() : buffer(new char[bufferSize + 1]) {
  setp(buffer, buffer + bufferSize);
}

KQMFCStreamBuffer::~KQMFCStreamBuffer() {
  delete[] buffer;
}

void KQMFCStreamBuffer::flushPending() {
  const int pending = out_waiting();
  *pptr() = '\0'; // pptr() is at most buffer + 1024, and that byte exists
  deliver(buffer, pending);
  setp(buffer, buffer + bufferSize);
}

int KQMFCStreamBuffer::sync() {
  flushPending();
  return 0;
}

int KQMFCStreamBuffer::overflow(int ch) {
  sync(); // virtual: all 1024 pending characters go out in one delivery
  if (ch != EOF) {
    *pptr() = static_cast<char>(ch);
    pbump(1);
  }
  return 0;
}

int KQMFCStreamBuffer::underflow() {
  return EOF;
}

int KQMFCStreamBuffer::out_waiting() const {
  return pptr() < pbase() ? 0 : static_cast<int>(pptr() - pbase());
}
