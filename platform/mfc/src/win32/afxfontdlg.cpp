// CCommonDialog and CFontDialog (ChooseFontA).
#include "afximpl.h"

#include "afxdlgs.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) noexcept {
  m_pParentWnd = pParentWnd;
}

void CCommonDialog::OnOK() {
  Default();
}
void CCommonDialog::OnCancel() {
  Default();
}

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cf(), m_lf(), m_szStyleName() {
  m_cf.lStructSize = sizeof(m_cf);
  m_cf.lpszStyle = m_szStyleName;
  m_cf.Flags = dwFlags;
  if (lplfInitial != nullptr) {
    m_lf = *lplfInitial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  m_cf.lpLogFont = &m_lf;
  if (pdcPrinter != nullptr) {
    m_cf.hDC = pdcPrinter->GetSafeHdc();
    m_cf.Flags |= CF_PRINTERFONTS;
  }
}

CFontDialog::CFontDialog(const CHARFORMAT& charformat, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CFontDialog(nullptr, dwFlags, pdcPrinter, pParentWnd) {
  if (charformat.dwMask & CFM_FACE) {
    const size_t n = ::strnlen(charformat.szFaceName, LF_FACESIZE - 1);
    std::memcpy(m_lf.lfFaceName, charformat.szFaceName, n);
    m_lf.lfFaceName[n] = '\0';
    m_lf.lfPitchAndFamily = charformat.bPitchAndFamily;
  }
  if (charformat.dwMask & CFM_CHARSET)
    m_lf.lfCharSet = charformat.bCharSet;
  if (charformat.dwMask & CFM_SIZE) {
    // yHeight is in twips (1/1440 inch).
    HDC hScreen = ::GetDC(nullptr);
    m_lf.lfHeight = -::MulDiv(charformat.yHeight, ::GetDeviceCaps(hScreen, LOGPIXELSY), 1440);
    ::ReleaseDC(nullptr, hScreen);
  }
  if (charformat.dwMask & CFM_BOLD)
    m_lf.lfWeight = (charformat.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
  if (charformat.dwMask & CFM_ITALIC)
    m_lf.lfItalic = (charformat.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
  if (charformat.dwMask & CFM_UNDERLINE)
    m_lf.lfUnderline = (charformat.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE;
  if (charformat.dwMask & CFM_STRIKEOUT)
    m_lf.lfStrikeOut = (charformat.dwEffects & CFE_STRIKEOUT) ? TRUE : FALSE;
  if (charformat.dwMask & CFM_COLOR)
    m_cf.rgbColors =
        (charformat.dwEffects & CFE_AUTOCOLOR) ? ::GetSysColor(COLOR_WINDOWTEXT) : charformat.crTextColor;
  m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
}

INT_PTR CFontDialog::DoModal() {
  m_cf.hwndOwner = AfxGetOwnerHwnd(m_pParentWnd);
  // Some implementations of the system dialog write the selection into the caller's LOGFONT and
  // colour as the user goes; a cancelled dialog must leave them as they were.
  const LOGFONT before = *m_cf.lpLogFont;
  const COLORREF colorBefore = m_cf.rgbColors;
  const INT sizeBefore = m_cf.iPointSize;
  if (::ChooseFontA(&m_cf))
    return IDOK;
  *m_cf.lpLogFont = before;
  m_cf.rgbColors = colorBefore;
  m_cf.iPointSize = sizeBefore;
  return IDCANCEL;
}

void CFontDialog::GetCurrentFont(LPLOGFONT lplf) {
  if (m_hWnd != nullptr)
    ::SendMessageA(m_hWnd, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(lplf));
  else
    *lplf = *m_cf.lpLogFont;
}
