// Built without _DEBUG, whatever the build type: what ASSERT and VERIFY evaluate there.
#undef _DEBUG
#include <afx.h>

int evaluationsWithoutDebug() {
  int n = 0;
  ASSERT(++n);
  VERIFY(++n);
  return n;
}
