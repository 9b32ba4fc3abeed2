// Basic types and the export macro of the framework layer, without any Win32 header, so that the
// string and list classes also build on Linux. The typedefs are identical to Windows' own (ANSI build),
// which C++ allows to be repeated when <windows.h> is also included.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(KQAFX_BUILD)
#define KQAFX_API __declspec(dllexport)
#else
#define KQAFX_API __declspec(dllimport)
#endif
typedef long long INT_PTR;
#else
#define KQAFX_API
typedef std::intptr_t INT_PTR;
#endif

typedef int BOOL;
typedef unsigned int UINT;
typedef char TCHAR;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPSTR;
typedef char* LPTSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif

// Opaque iterator of the framework's collections.
struct __POSITION {};
typedef __POSITION* POSITION;

// Debug-build precondition checks, as the framework's ASSERT.
#include <cassert>
#ifndef ASSERT
#define ASSERT(f) assert(f)
#endif
