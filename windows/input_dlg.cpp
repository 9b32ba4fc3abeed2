// Win32 only. CInputDlg: one line of text from the host's dialog template.
#include "kqwindows.h"

CInputDlg::CInputDlg(CWnd* parent, CString& result) : CDialog(IDD_INPUT_DIALOG, parent), m_result(result) {}

CInputDlg::~CInputDlg() = default;

CEdit& CInputDlg::EditCtl() {
  // The framework idiom: the child (maybe a temporary CWnd) used as the CEdit it is.
  return *static_cast<CEdit*>(GetDlgItem(IDC_INPUT_EDIT));
}

BOOL CInputDlg::OnInitDialog() {
  ::MessageBeep(MB_OK);
  return TRUE;
}

void CInputDlg::OnOK() {
  CWnd* edit = GetDlgItem(IDC_INPUT_EDIT);
  const int length = edit != nullptr ? edit->GetWindowTextLength() : 0;
  char* buffer = m_result.GetBufferSetLength(length + 1);
  // The text may be shorter than announced; the line feed goes right after what was copied.
  const int copied = length > 0 ? edit->GetWindowText(buffer, length + 1) : 0;
  buffer[copied] = '\n';
  m_result.ReleaseBuffer(copied + 1);
  EndDialog(IDOK);
}

void CInputDlg::OnCancel() {
  m_result.Empty();
  EndDialog(IDCANCEL);
}
