// The pending-input queue.
#include "pending_input.h"

#include <algorithm>
#include <cstring>

void KQPrependInput(CString& input, const char* text, int count) {
  CString joined(text, count);
  joined += input;
  input = joined;
}

int KQTakeInput(CString& input, char* buffer, int size) noexcept {
  const int n = std::clamp(size, 0, input.GetLength());
  if (n == 0)
    return 0;
  std::memcpy(buffer, input.GetString(), static_cast<size_t>(n));
  if (n == input.GetLength())
    input.Empty();
  else
    input.Delete(0, n);
  return n;
}
