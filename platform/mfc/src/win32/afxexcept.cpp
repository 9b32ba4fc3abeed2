// The framework's exception classes (thrown as pointers).
#include "afximpl.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CResourceException, CException)

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

void CException::Delete() noexcept {
  delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  CopyMessage("", lpszError, nMaxError, pnHelpContext);
  return FALSE;
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  return CopyMessage("A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

void AFXAPI AfxThrowResourceException() {
  throw new CResourceException;
}
