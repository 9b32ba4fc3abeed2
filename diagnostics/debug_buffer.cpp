// Stream buffer to the debugger output.
#include "kqdiagnostics.h"

#include <windows.h>

KQMFCDebugBuffer::~KQMFCDebugBuffer() {
  flushPending();
}

void KQMFCDebugBuffer::deliver(const char* text, int) {
  OutputDebugStringA(text);
}
