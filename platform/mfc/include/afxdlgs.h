// afxdlgs.h: the common dialogs: font (ChooseFontA), find and replace (FindTextA, ReplaceTextA, modeless),
// open and save (GetOpenFileNameA, GetSaveFileNameA).
#pragma once

#include "afxwin.h"

#include <commdlg.h>
#include <richedit.h>

// Base of the common dialogs.
class KQAFX_API CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
public:
  explicit CCommonDialog(CWnd* pParentWnd) noexcept;

protected:
  // The system's dialog procedure ends the dialog itself: both pass the command on (Default).
  void OnOK() override;
  void OnCancel() override;
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

// The modeless Find (or Find and Replace) dialog. Allocate it with new: it deletes itself after its
// window is destroyed. While it runs the object is attached to the dialog's window (its hook procedure
// runs OnInitDialog). Each button sends the owner the registered message FINDMSGSTRING, whose lParam
// gives the object back through GetNotifier; when IsTerminating() is TRUE the dialog is closing and
// the object must not be used after that message. Its keyboard (Tab, Enter, Escape) works through the
// application's message pump (CWinThread::PumpMessage and PreTranslateMessage).
class KQAFX_API CFindReplaceDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFindReplaceDialog)
public:
  CFindReplaceDialog();

  // Shows the dialog, owned by pParentWnd (NULL: the main window; there must be an owner). dwFlags
  // are added to m_fr.Flags (FR_DOWN: "Down" chosen; FR_MATCHCASE, FR_WHOLEWORD, FR_HIDE...,
  // FR_NO...). The texts are copied (at most 127 characters). FALSE when the dialog could not be
  // created; the object has then deleted itself.
  virtual BOOL Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith = NULL,
                      DWORD dwFlags = FR_DOWN, CWnd* pParentWnd = NULL);

  // The dialog that sent the FINDMSGSTRING message with this lParam.
  static CFindReplaceDialog* PASCAL GetNotifier(LPARAM lParam);

  // What the user asked for, after a FINDMSGSTRING message.
  CString GetFindString() const;
  CString GetReplaceString() const;
  BOOL SearchDown() const;
  BOOL FindNext() const;
  BOOL MatchCase() const;
  BOOL MatchWholeWord() const;
  BOOL ReplaceCurrent() const;
  BOOL ReplaceAll() const;
  BOOL IsTerminating() const;

  FINDREPLACE m_fr;

protected:
  // delete this.
  void PostNcDestroy() override;

  TCHAR m_szFindWhat[128];
  TCHAR m_szReplaceWith[128];
};

// The Open or Save As dialog. lpszFilter: pairs of description and pattern separated by '|' and
// ended by "||", e.g. "Text files (*.txt)|*.txt|All files (*.*)|*.*||". The old-style (not Vista)
// system dialog runs whatever bVistaStyle says, and the object is not attached to it (no hook).
class KQAFX_API CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)
public:
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                       CWnd* pParentWnd = NULL, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);

  // GetOpenFileNameA or GetSaveFileNameA owned by m_pParentWnd (NULL: the main window): IDOK when a
  // file was chosen, else IDCANCEL (see CommDlgExtendedError for errors).
  INT_PTR DoModal() override;

  // The chosen file: its full path, its name with extension, its extension (without the dot).
  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;

  // Change it before DoModal, OR-ing into m_ofn.Flags.
  OPENFILENAME& m_ofn;

protected:
  BOOL m_bOpenFileDialog;
  CString m_strFilter;
  TCHAR m_szFileTitle[64];
  TCHAR m_szFileName[_MAX_PATH];

private:
  OPENFILENAME m_ofnStorage;
};
