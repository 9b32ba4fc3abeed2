// afxver_.h: the framework's version and build macros, the basic types and the export macro of the
// framework layer, without any Win32 header, so that its platform-free part (afx.h natively, the string
// and list classes) also builds on Linux. The typedefs are identical to Windows' own (ANSI build), which
// C++ allows to be repeated when <windows.h> is also included. Included by afx.h.
#pragma once

#include <cstdint>

#define _AFX 1          // the Microsoft Foundation Classes
#define _MFC_VER 0x0C00 // their version 12.0

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
typedef unsigned int* PUINT;

#if !defined(_WIN32)
#define PASCAL
#endif

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
