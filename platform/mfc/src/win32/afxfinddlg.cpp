// CFindReplaceDialog: the system's modeless Find and Replace dialogs, attached to their object.
#include "afximpl.h"

#include "afxdlgs.h"

#include <cstddef>
#include <cstring>

IMPLEMENT_DYNAMIC(CFindReplaceDialog, CCommonDialog)

namespace {
// The hook procedure: the window is already attached (creation hook); WM_INITDIALOG -> OnInitDialog,
// whose TRUE lets the system show the dialog.
UINT_PTR CALLBACK FindReplaceHook(HWND hWnd, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? static_cast<UINT_PTR>(AfxCallOnInitDialog(hWnd)) : 0;
}

void CopyTruncated(char* pDest, size_t nSize, LPCTSTR lpszSource) {
  const size_t n = ::strnlen(lpszSource, nSize - 1);
  std::memcpy(pDest, lpszSource, n);
  pDest[n] = '\0';
}
} // namespace

CFindReplaceDialog::CFindReplaceDialog() : CCommonDialog(nullptr), m_fr(), m_szFindWhat(), m_szReplaceWith() {
  m_fr.lStructSize = sizeof(m_fr);
  m_fr.Flags = FR_ENABLEHOOK;
  m_fr.lpfnHook = FindReplaceHook;
  m_fr.lpstrFindWhat = m_szFindWhat;
}

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith,
                                DWORD dwFlags, CWnd* pParentWnd) {
  m_fr.wFindWhatLen = sizeof(m_szFindWhat);
  m_fr.lpstrReplaceWith = m_szReplaceWith;
  m_fr.wReplaceWithLen = sizeof(m_szReplaceWith);
  m_fr.Flags |= dwFlags;
  m_fr.hwndOwner = pParentWnd != nullptr ? pParentWnd->m_hWnd : AfxGetMainWnd()->GetSafeHwnd();
  ASSERT(m_fr.hwndOwner != nullptr); // a modeless dialog needs an owner to notify
  if (lpszFindWhat != nullptr)
    CopyTruncated(m_szFindWhat, sizeof(m_szFindWhat), lpszFindWhat);
  if (lpszReplaceWith != nullptr)
    CopyTruncated(m_szReplaceWith, sizeof(m_szReplaceWith), lpszReplaceWith);

  // The dialog window is the first window the system creates here: the hook attaches it to this object.
  AfxHookWindowCreate(this);
  HWND hWnd = bFindDialogOnly ? ::FindTextA(&m_fr) : ::ReplaceTextA(&m_fr);
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy(); // no window was ever made
    return FALSE;
  }
  ASSERT(hWnd == nullptr || hWnd == m_hWnd);
  return hWnd != nullptr;
}

CFindReplaceDialog* PASCAL CFindReplaceDialog::GetNotifier(LPARAM lParam) {
  ASSERT(lParam != 0);
  // lParam is the address of the dialog's m_fr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
  constexpr size_t nOffset = offsetof(CFindReplaceDialog, m_fr);
#pragma GCC diagnostic pop
  return reinterpret_cast<CFindReplaceDialog*>(static_cast<UINT_PTR>(lParam) - nOffset);
}

void CFindReplaceDialog::PostNcDestroy() {
  ASSERT(m_hWnd == nullptr);
  delete this;
}

CString CFindReplaceDialog::GetFindString() const {
  return CString(m_fr.lpstrFindWhat);
}
CString CFindReplaceDialog::GetReplaceString() const {
  return CString(m_fr.lpstrReplaceWith);
}
BOOL CFindReplaceDialog::SearchDown() const {
  return (m_fr.Flags & FR_DOWN) ? TRUE : FALSE;
}
BOOL CFindReplaceDialog::FindNext() const {
  return (m_fr.Flags & FR_FINDNEXT) ? TRUE : FALSE;
}
BOOL CFindReplaceDialog::MatchCase() const {
  return (m_fr.Flags & FR_MATCHCASE) ? TRUE : FALSE;
}
BOOL CFindReplaceDialog::MatchWholeWord() const {
  return (m_fr.Flags & FR_WHOLEWORD) ? TRUE : FALSE;
}
BOOL CFindReplaceDialog::ReplaceCurrent() const {
  return (m_fr.Flags & FR_REPLACE) ? TRUE : FALSE;
}
BOOL CFindReplaceDialog::ReplaceAll() const {
  return (m_fr.Flags & FR_REPLACEALL) ? TRUE : FALSE;
}
BOOL CFindReplaceDialog::IsTerminating() const {
  return (m_fr.Flags & FR_DIALOGTERM) ? TRUE : FALSE;
}
