// CDC and CPaintDC.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CDC::~CDC() {
  DeleteDC();
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
  return AfxTempObject<CDC>(hDC);
}

HDC CDC::GetSafeHdc() const noexcept {
  return this == nullptr ? nullptr : m_hDC;
}

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr || m_hDC != nullptr)
    return FALSE;
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return hDC;
}

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr)
    return FALSE;
  return ::DeleteDC(Detach());
}

namespace {
HGDIOBJ SelectInto(HDC hDC, HGDIOBJ hObject) {
  HGDIOBJ hOld = ::SelectObject(hDC, hObject);
  return hOld == HGDI_ERROR ? nullptr : hOld;
}
} // namespace

CFont* CDC::SelectObject(CFont* pFont) {
  return CFont::FromHandle(static_cast<HFONT>(SelectInto(m_hDC, pFont->GetSafeHandle())));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ hObject = ::GetStockObject(nIndex);
  return hObject == nullptr ? nullptr : CGdiObject::FromHandle(SelectInto(m_hDC, hObject));
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
  return ::SetTextColor(m_hDC, crColor);
}
COLORREF CDC::SetBkColor(COLORREF crColor) {
  return ::SetBkColor(m_hDC, crColor);
}
UINT CDC::SetTextAlign(UINT nFlags) {
  return ::SetTextAlign(m_hDC, nFlags);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
  return ::TextOutA(m_hDC, x, y, lpszString, nCount);
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const {
  return ::GetTextMetricsA(m_hAttribDC, lpMetrics);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd->GetSafeHwnd()) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
    AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}
