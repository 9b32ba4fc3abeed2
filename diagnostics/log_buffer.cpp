// Stream buffer to an output window.
#include "kqwindows.h"

#include "kqdiagnostics.h"
#include "put_area.h"

KQMFCLogBuffer::KQMFCLogBuffer() : window(nullptr), buffer(KQPutArea::allocate()) {
  KQPutArea::empty(*this);
}

// A destructor must not throw: what the window fails to store now is dropped.
KQMFCLogBuffer::~KQMFCLogBuffer() {
  try {
    KQMFCLogBuffer::sync();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  delete[] buffer;
}

int KQMFCLogBuffer::overflow(int ch) {
  return KQPutArea::overflow(*this, ch);
}

int KQMFCLogBuffer::underflow() {
  return EOF;
}

int KQMFCLogBuffer::sync() {
  KQPutArea::handOn(*this, [this](const char* text, int length) {
    if (window != nullptr)
      window->Display(text, length);
  });
  return 0;
}

int KQMFCLogBuffer::out_waiting() const {
  return KQPutArea::pending(*this);
}
