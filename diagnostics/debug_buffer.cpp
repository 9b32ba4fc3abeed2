// Stream buffer to the debugger output.
#include "kqdiagnostics.h"

#include "put_area.h"

#include <windows.h>

namespace {
void sendToDebugger(const char* text, int) {
  OutputDebugStringA(text);
}
} // namespace

KQMFCDebugBuffer::KQMFCDebugBuffer() : buffer(KQPutArea::allocate()) {
  KQPutArea::empty(*this);
}

KQMFCDebugBuffer::~KQMFCDebugBuffer() {
  KQPutArea::handOn(*this, sendToDebugger);
  delete[] buffer;
}

int KQMFCDebugBuffer::overflow(int ch) {
  return KQPutArea::overflow(*this, ch);
}

int KQMFCDebugBuffer::underflow() {
  return EOF;
}

int KQMFCDebugBuffer::sync() {
  KQPutArea::handOn(*this, sendToDebugger);
  return 0;
}

int KQMFCDebugBuffer::out_waiting() const {
  return KQPutArea::pending(*this);
}
