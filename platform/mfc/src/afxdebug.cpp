// The framework's debug checks: what a failed ASSERT reports, and the break that follows it.
#include "afx.h"

#include <cstdio>
#include <cstdlib>

BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
  char report[512];
  std::snprintf(report, sizeof report, "%s(%d): ASSERT failed\n", lpszFileName ? lpszFileName : "?", nLine);
#if defined(_WIN32)
  ::OutputDebugStringA(report);
#endif
  std::fputs(report, stderr);
  std::fflush(stderr);
  return TRUE; // break into the debugger
}

void AFXAPI AfxDebugBreak() {
#if defined(_WIN32)
  ::DebugBreak();
#endif
  std::abort(); // no debugger took the break
}
