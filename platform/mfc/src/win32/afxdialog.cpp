// CDialog: modal dialogs from templates found by the resource search.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() noexcept : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_pParentWnd(nullptr) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(0), m_pParentWnd(pParentWnd) {
  if (IS_INTRESOURCE(lpszTemplateName))
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

namespace {
// The dialog procedure of CDialog windows: WM_INITDIALOG -> OnInitDialog.
INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? AfxCallOnInitDialog(hWnd) : FALSE;
}
} // namespace

BOOL AfxCallOnInitDialog(HWND hWnd) {
  auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
  return pDialog != nullptr ? pDialog->OnInitDialog() : TRUE;
}

HWND AfxGetOwnerHwnd(CWnd* pParent) {
  if (HWND hWnd = pParent->GetSafeHwnd())
    return hWnd;
  HWND hMain = AfxGetMainWnd()->GetSafeHwnd();
  return hMain != nullptr && ::IsWindow(hMain) ? hMain : nullptr;
}

INT_PTR CDialog::DoModal() {
  if (m_lpszTemplateName == nullptr)
    return -1;
  HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
  HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
  HGLOBAL hTemplate = hResource != nullptr ? ::LoadResource(hInst, hResource) : nullptr;
  const auto* pTemplate =
      hTemplate != nullptr ? static_cast<LPCDLGTEMPLATEA>(::LockResource(hTemplate)) : nullptr;
  if (pTemplate == nullptr)
    return -1;

  // The dialog window is the first window the system creates in DialogBoxIndirectParam: the hook
  // attaches it to this object before its first message.
  AfxHookWindowCreate(this);
  const INT_PTR nResult =
      ::DialogBoxIndirectParamA(hInst, pTemplate, AfxGetOwnerHwnd(m_pParentWnd), DialogProc, 0);
  if (!AfxUnhookWindowCreate())
    return -1; // no dialog window was ever created
  return nResult;
}

void CDialog::EndDialog(int nResult) {
  ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
  return TRUE;
}
BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  return CWnd::PreTranslateMessage(pMsg) || PreTranslateInput(pMsg);
}
void CDialog::OnOK() {
  EndDialog(IDOK);
}
void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}
