// AfxMessageBox and CWinApp::DoMessageBox.
#include "afximpl.h"

namespace {
int ShowMessageBox(LPCTSTR lpszText, UINT nType) {
  // Without an icon of its own, the box gets the one matching its buttons, as the framework's does.
  if ((nType & MB_ICONMASK) == 0) {
    switch (nType & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
    case MB_ABORTRETRYIGNORE:
      nType |= MB_ICONEXCLAMATION;
      break;
    case MB_YESNO:
    case MB_YESNOCANCEL:
      nType |= MB_ICONQUESTION;
      break;
    default:
      break;
    }
  }
  return ::MessageBoxA(AfxGetOwnerHwnd(nullptr), lpszText, AfxGetAppName(), nType);
}
} // namespace

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
  return ShowMessageBox(lpszPrompt, nType);
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* pApp = AfxGetApp())
    return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  return ShowMessageBox(lpszText, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  // String resources live in blocks of 16; the block holds the string.
  HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA((nIDPrompt >> 4) + 1), RT_STRING);
  CString text;
  for (int nRoom = 256;; nRoom *= 2) {
    LPTSTR pBuffer = text.GetBuffer(nRoom);
    const int nLength = ::LoadStringA(hInst, nIDPrompt, pBuffer, nRoom + 1);
    text.ReleaseBuffer(nLength > 0 ? nLength : 0);
    if (nLength < nRoom)
      break;
  }
  if (nIDHelp == static_cast<UINT>(-1))
    nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}
