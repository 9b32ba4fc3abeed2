// afx.h: the framework's base: CObject with its run-time class information, the framework's
// exceptions, the debug checks, the calling-convention and marker macros that the other headers use, and
// CString (afxstr.h). The first framework header a source includes (directly or through afxwin.h):
// <windows.h> must not come before it, as the framework's own afx.h requires; afx.h includes it.
// Natively (not _WIN32) only the platform-free part is there: no <windows.h>, no atltypes.h.
#ifndef __AFX_H__
#define __AFX_H__

#ifdef _WINDOWS_
#error WINDOWS.H already included.  MFC apps must not #include <windows.h>
#endif

#include "afxver_.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#ifndef AFXAPI
#if defined(_WIN32)
#define AFXAPI __stdcall
#else
#define AFXAPI
#endif
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
// Data of exported classes is exported with its class.
#ifndef AFX_DATA
#define AFX_DATA
#endif
// Marks a message handler in a class declaration; expands to nothing.
#ifndef afx_msg
#define afx_msg
#endif

// Debug checks, as the framework's: only in debug builds (_DEBUG), where a failed ASSERT reports its
// file and line (to the debugger output and the standard error) and breaks into the debugger, which
// ends the process when none is attached. In other builds ASSERT evaluates nothing and VERIFY evaluates
// its expression only.
KQAFX_API BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
KQAFX_API void AFXAPI AfxDebugBreak();
#ifdef _DEBUG
#define ASSERT(f) ((void)((f) || !::AfxAssertFailedLine(__FILE__, __LINE__) || (::AfxDebugBreak(), 0)))
#define VERIFY(f) ASSERT(f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#endif
// Debug trace output of the framework: this layer writes none.
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif

class CObject;

// Run-time class information: a name, a size and the base class, for IsKindOf.
struct KQAFX_API CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                              // 0xFFFF: not serializable
  CObject*(PASCAL* m_pfnCreateObject)();       // always NULL here (no dynamic creation)
  CRuntimeClass*(PASCAL* m_pfnGetBaseClass)(); // NULL for CObject

  // TRUE when this class is pBaseClass or derives from it. pBaseClass must not be NULL.
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

// RUNTIME_CLASS(CWnd) gives CWnd's CRuntimeClass*. DECLARE_DYNAMIC goes in the class declaration,
// IMPLEMENT_DYNAMIC in one .cpp file. A class without them reports its nearest base's information.
#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())
#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
  static CRuntimeClass* PASCAL GetThisClass();                                                               \
  virtual CRuntimeClass* GetRuntimeClass() const;
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
  CRuntimeClass* PASCAL class_name::GetThisClass() {                                                         \
    static CRuntimeClass rc = {#class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, nullptr,           \
                               &base_class_name::GetThisClass};                                              \
    return &rc;                                                                                              \
  }                                                                                                          \
  CRuntimeClass* class_name::GetRuntimeClass() const {                                                       \
    return GetThisClass();                                                                                   \
  }

// The root of the framework's classes. Not copyable (the framework's copy constructor is private).
class KQAFX_API CObject {
public:
  static CRuntimeClass* PASCAL GetThisClass();
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();

  // TRUE when this object's class is pClass or derives from it.
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

protected:
  CObject() noexcept {}
};

// The framework's exceptions are thrown as pointers (`throw new CResourceException`); the catcher
// calls Delete() when done, which frees the exception unless it is one the framework keeps (for
// instance the one AfxThrowMemoryException throws, which needs no memory).
class KQAFX_API CException : public CObject {
  DECLARE_DYNAMIC(CException)
public:
  CException() noexcept : m_bAutoDelete(TRUE) {}
  explicit CException(BOOL bAutoDelete) noexcept : m_bAutoDelete(bAutoDelete) {}
  virtual ~CException() = 0;
  // Frees an exception caught by pointer when it was made with new (m_bAutoDelete); does nothing else.
  void Delete() noexcept;
  // Copies a short description (at most nMaxError characters with the NUL) into lpszError.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;

  BOOL m_bAutoDelete;
};

// Base of the exceptions that carry nothing but their kind.
class KQAFX_API CSimpleException : public CException {
  DECLARE_DYNAMIC(CSimpleException)
public:
  CSimpleException() noexcept {}
  explicit CSimpleException(BOOL bAutoDelete) noexcept : CException(bAutoDelete) {}
  ~CSimpleException();
};

// Memory was exhausted in a framework allocation (a CString or a collection growing).
class KQAFX_API CMemoryException : public CSimpleException {
  DECLARE_DYNAMIC(CMemoryException)
public:
  CMemoryException() noexcept {}
  CMemoryException(BOOL bAutoDelete, UINT nResourceID) noexcept : CSimpleException(bAutoDelete) {
    (void)nResourceID;
  }
  ~CMemoryException();
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
};

// A Windows resource (window, device context, GDI object) could not be obtained.
class KQAFX_API CResourceException : public CSimpleException {
  DECLARE_DYNAMIC(CResourceException)
public:
  CResourceException() noexcept {}
  ~CResourceException();
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
};

// Throws the framework's one CMemoryException (not allocated: Delete() leaves it alone).
[[noreturn]] KQAFX_API void AFXAPI AfxThrowMemoryException();
// Throws a new CResourceException.
[[noreturn]] KQAFX_API void AFXAPI AfxThrowResourceException();

#include "afxstr.h"

#if defined(_WIN32)
#include "atltypes.h"
#endif

#endif // __AFX_H__
