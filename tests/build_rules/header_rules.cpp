// Compiled, not run, once per case (KQ_CASE), as C++17, the language level a host's compiler is asked
// for. Case 0 and the public-header cases must compile; each other case breaks one of the framework's
// inclusion rules and must be refused with the framework's own message, or shows that a public header
// leaves a host's own warnings as they were.
#if KQ_CASE == 0 // the framework's order: afx.h first; <windows.h> after it changes nothing
#include <afx.h>
#if defined(_WIN32)
#include <windows.h>

#include <afxwin.h>
#endif
#include <afxcoll.h>
#if !defined(_AFX) || _MFC_VER != 0x0C00
#error version macros missing
#endif
#elif KQ_CASE == 1 // the string class alone
#include <afxstr.h>
#elif KQ_CASE == 2 // the collections alone
#include <afxcoll.h>
#elif KQ_CASE == 3 // <windows.h> before the framework
#include <windows.h>

#include <afx.h>
#elif KQ_CASE == 10 // each public header on its own
#include <kqdiagnostics.h>
#if !defined(__DEPRECATED) // the host's deprecation warnings stay on
#error deprecation warnings turned off
#endif
#elif KQ_CASE == 11
#include <kqmessages.h>
#elif KQ_CASE == 12
#include <kqwindows.h>
#elif KQ_CASE == 13
#include <kqwindowsex.h>
#elif KQ_CASE == 14 // a deprecated header after the diagnostics header warns as it does alone
#include <kqdiagnostics.h>

#include <ext/hash_set>
#endif
