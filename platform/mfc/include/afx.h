// afx.h: the framework's base: CObject with its run-time class information, the framework's
// exceptions, and the calling-convention and marker macros that the other headers use.
// Windows only (it includes <windows.h>, as the framework's own afx.h does); CString and CStringList
// come from afxstr.h and afxcoll.h, which build on Linux too.
#pragma once

#include <windows.h>

#include "afxver_.h"

#include "afxcoll.h"
#include "afxstr.h"
#include "atltypes.h"

#ifndef AFXAPI
#define AFXAPI __stdcall
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

#ifndef VERIFY
#ifdef NDEBUG
#define VERIFY(f) ((void)(f))
#else
#define VERIFY(f) ASSERT(f)
#endif
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
// calls Delete() when done.
class KQAFX_API CException : public CObject {
  DECLARE_DYNAMIC(CException)
public:
  CException() noexcept {}
  // Frees an exception caught by pointer.
  void Delete() noexcept;
  // Copies a short description (at most nMaxError characters with the NUL) into lpszError.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
};

// A Windows resource (window, device context, GDI object) could not be obtained.
class KQAFX_API CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
public:
  CResourceException() noexcept {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

// Throws a new CResourceException.
[[noreturn]] KQAFX_API void AFXAPI AfxThrowResourceException();
