// Stream buffer to an output window.
#include "kqdiagnostics.h"
#include "kqwindows.h"

KQMFCLogBuffer::KQMFCLogBuffer() : window(nullptr) {}

KQMFCLogBuffer::~KQMFCLogBuffer() {
  flushPending();
}

void KQMFCLogBuffer::deliver(const char* text, int length) {
  if (window != nullptr)
    window->Display(text, length);
}
