// afxdlgs.h: the common dialogs. Only the font dialog (ChooseFontA) is provided.
#pragma once

#include "afxwin.h"

#include <commdlg.h>
#include <richedit.h>

// Base of the common dialogs.
class KQAFX_API CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
public:
  explicit CCommonDialog(CWnd* pParentWnd) noexcept;
};

// The font dialog. The constructor fills m_cf (m_cf.lpLogFont points at m_lf); change m_cf before
// DoModal if needed, OR-ing into m_cf.Flags. Unlike the framework, the object is not attached to the
// dialog's window while it runs (no hook procedure and no message map of its own).
class KQAFX_API CFontDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFontDialog)
public:
  // lplfInitial: the font selected when the dialog opens (copied into m_lf; CF_INITTOLOGFONTSTRUCT is
  // added), NULL for the dialog's default. pdcPrinter: list that printer's fonts (CF_PRINTERFONTS).
  CFontDialog(LPLOGFONT lplfInitial = NULL, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
              CDC* pdcPrinter = NULL, CWnd* pParentWnd = NULL);
  // Starts from a rich-edit character format (face, height, weight, effects, colour).
  CFontDialog(const CHARFORMAT& charformat, DWORD dwFlags = CF_SCREENFONTS, CDC* pdcPrinter = NULL,
              CWnd* pParentWnd = NULL);

  // Runs ChooseFontA owned by m_pParentWnd (NULL: the main window). IDOK when the user confirmed
  // (m_lf, m_cf.rgbColors and m_cf.iPointSize then hold the choice), else IDCANCEL with the font,
  // colour and size as they were before (see CommDlgExtendedError for errors).
  INT_PTR DoModal() override;

  // The chosen font (after IDOK; the initial one before).
  void GetCurrentFont(LPLOGFONT lplf);
  CString GetFaceName() const { return CString(m_cf.lpLogFont->lfFaceName); }
  // In tenths of a point.
  int GetSize() const { return m_cf.iPointSize; }
  // The text colour chosen in the effects section (CF_EFFECTS).
  COLORREF GetColor() const { return m_cf.rgbColors; }
  int GetWeight() const { return m_cf.lpLogFont->lfWeight; }
  BOOL IsBold() const { return m_cf.lpLogFont->lfWeight >= FW_SEMIBOLD; }
  BOOL IsItalic() const { return m_cf.lpLogFont->lfItalic ? TRUE : FALSE; }
  BOOL IsUnderline() const { return m_cf.lpLogFont->lfUnderline ? TRUE : FALSE; }
  BOOL IsStrikeOut() const { return m_cf.lpLogFont->lfStrikeOut ? TRUE : FALSE; }

  CHOOSEFONT m_cf;
  LOGFONT m_lf;

protected:
  TCHAR m_szStyleName[64];
};
