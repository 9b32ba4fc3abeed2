// The framework's exception classes (thrown as pointers).
#include "afx.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

namespace {
BOOL CopyMessage(LPCTSTR text, LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext != nullptr)
    *pnHelpContext = 0;
  if (lpszError == nullptr || nMaxError == 0)
    return FALSE;
  const size_t n = std::min<size_t>(std::strlen(text), nMaxError - 1);
  std::memcpy(lpszError, text, n);
  lpszError[n] = '\0';
  return TRUE;
}
} // namespace

CException::~CException() = default;
CSimpleException::~CSimpleException() = default;
CMemoryException::~CMemoryException() = default;
CResourceException::~CResourceException() = default;

void CException::Delete() noexcept {
  if (m_bAutoDelete)
    delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  CopyMessage("", lpszError, nMaxError, pnHelpContext);
  return FALSE;
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  return CopyMessage("A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  return CopyMessage("Out of memory.", lpszError, nMaxError, pnHelpContext);
}

// Throwing needs no memory: the one exception object lives as long as the framework.
void AFXAPI AfxThrowMemoryException() {
  static CMemoryException memoryException(FALSE, 0);
  throw &memoryException;
}

void AFXAPI AfxThrowResourceException() {
  throw new CResourceException;
}
