// CFileDialog: the system's Open and Save As dialogs (old style, ANSI).
#include "afximpl.h"

#include "afxdlgs.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize, BOOL)
    : CCommonDialog(pParentWnd), m_ofn(m_ofnStorage), m_bOpenFileDialog(bOpenFileDialog), m_szFileTitle(),
      m_szFileName(), m_ofnStorage() {
  m_ofn.lStructSize = dwSize != 0 ? dwSize : sizeof(OPENFILENAME);
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof(m_szFileName);
  m_ofn.lpstrDefExt = lpszDefExt;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  m_ofn.hInstance = AfxGetResourceHandle();
  if (lpszFileName != nullptr) {
    const size_t n = ::strnlen(lpszFileName, sizeof(m_szFileName) - 1);
    std::memcpy(m_szFileName, lpszFileName, n);
    m_szFileName[n] = '\0';
  }
  if (lpszFilter != nullptr) {
    // The system wants NUL separators and a double NUL at the end; "||" ends the text given here.
    m_strFilter = lpszFilter;
    const int nLength = m_strFilter.GetLength();
    char* pch = m_strFilter.GetBuffer(nLength + 1);
    for (int i = 0; i < nLength; ++i) {
      if (pch[i] == '|')
        pch[i] = '\0';
    }
    m_strFilter.ReleaseBuffer(nLength); // the length counts the NUL bytes
    m_ofn.lpstrFilter = m_strFilter.GetString();
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = AfxGetOwnerHwnd(m_pParentWnd);
  const BOOL bOK = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return bOK ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
  return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const {
  return CString(m_ofn.lpstrFileTitle);
}

CString CFileDialog::GetFileExt() const {
  if (m_ofn.nFileExtension == 0)
    return CString();
  return CString(m_ofn.lpstrFile + m_ofn.nFileExtension);
}
