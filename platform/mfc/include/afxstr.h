// afxstr.h: CString, the framework's 8-bit string (CStringA), as far as the library and its hosts use
// it. Included by afx.h; as with the framework, it cannot be used without it.
//
// Length-counted: embedded NUL bytes are kept (they arise from CString(pch, n), GetBufferSetLength and
// ReleaseBuffer(n)). The characters are always followed by a NUL, so operator LPCTSTR gives a C string
// (which stops at the first embedded NUL); comparisons compare those C strings, as the framework's do.
// Allocation failure throws CMemoryException* (AfxThrowMemoryException); the string is then unchanged.
//
// docs/mfc-differences.md lists where this class differs from the framework's.
#pragma once

#ifndef _AFX
#error afxstr.h can only be used in MFC projects.  Use atlstr.h
#endif

#include <cstddef>

class KQAFX_API CString {
public:
  CString() noexcept;
  CString(const CString& src);
  CString(CString&& src) noexcept;
  // A NUL-terminated string; null gives the empty string.
  CString(LPCTSTR psz);
  // `nLength` characters at `pch`, NUL bytes included; pch need not be NUL-terminated.
  // A negative length is treated as 0.
  CString(LPCTSTR pch, int nLength);
  explicit CString(char ch, int nRepeat = 1);
  ~CString();

  CString& operator=(const CString& src);
  CString& operator=(CString&& src) noexcept;
  CString& operator=(LPCTSTR psz);
  CString& operator=(char ch);

  int GetLength() const noexcept { return m_nLength; }
  bool IsEmpty() const noexcept { return m_nLength == 0; }
  // Releases the storage: the string is empty afterwards.
  void Empty() noexcept;

  // Opens the string for writing with room for at least nMinBufferLength characters (plus a NUL).
  // The content is kept. Close with ReleaseBuffer before any other member is used.
  LPTSTR GetBuffer(int nMinBufferLength);
  LPTSTR GetBuffer();
  // Opens the string for writing and sets its length to nLength (content kept, new bytes undefined).
  LPTSTR GetBufferSetLength(int nLength);
  // Ends writing: the length becomes nNewLength, or the NUL-terminated length when it is -1.
  // nNewLength must not exceed the room asked for.
  void ReleaseBuffer(int nNewLength = -1);
  // Keeps the first nNewLength characters (no-op when longer than the string).
  void Truncate(int nNewLength);

  LPCTSTR GetString() const noexcept { return m_pchData; }
  operator LPCTSTR() const noexcept { return m_pchData; }
  char GetAt(int iChar) const;
  char operator[](int iChar) const { return GetAt(iChar); }

  // Substrings: out-of-range arguments are clipped (past the end gives the rest or an empty string).
  CString Mid(int iFirst, int nCount) const;
  CString Mid(int iFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  // Removes nCount characters at iIndex (clipped); returns the new length.
  int Delete(int iIndex, int nCount = 1);
  // Inserts the NUL-terminated psz (NULL: nothing) or ch at iIndex (clipped to 0 .. length); returns
  // the new length.
  int Insert(int iIndex, LPCTSTR psz);
  int Insert(int iIndex, char ch);

  CString& operator+=(const CString& str);
  CString& operator+=(LPCTSTR psz);
  CString& operator+=(char ch);
  // Appends nLength bytes at pch (NUL bytes included).
  void Append(LPCTSTR pch, int nLength);

  // strcmp of this string's C string (up to its first NUL) with psz (NULL counts as ""): <0, 0, >0.
  int Compare(LPCTSTR psz) const noexcept;

  friend KQAFX_API CString operator+(const CString& a, const CString& b);
  friend KQAFX_API CString operator+(const CString& a, LPCTSTR b);
  friend KQAFX_API CString operator+(LPCTSTR a, const CString& b);
  friend KQAFX_API CString operator+(const CString& a, char b);
  friend KQAFX_API CString operator+(char a, const CString& b);

private:
  void Reserve(int nCapacity);
  void Assign(LPCTSTR pch, int nLength);
  int InsertBytes(int iIndex, LPCTSTR pch, int nLength);

  char* m_pchData; // points at the shared empty string while m_nCapacity is 0
  int m_nLength;
  int m_nCapacity;
};

// Comparisons of the C strings (each up to its first NUL), as Compare.
inline bool operator==(const CString& a, const CString& b) noexcept {
  return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCTSTR b) noexcept {
  return a.Compare(b) == 0;
}
inline bool operator==(LPCTSTR a, const CString& b) noexcept {
  return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) noexcept {
  return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCTSTR b) noexcept {
  return a.Compare(b) != 0;
}
inline bool operator!=(LPCTSTR a, const CString& b) noexcept {
  return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b) noexcept {
  return a.Compare(b) < 0;
}
inline bool operator>(const CString& a, const CString& b) noexcept {
  return a.Compare(b) > 0;
}
inline bool operator<=(const CString& a, const CString& b) noexcept {
  return a.Compare(b) <= 0;
}
inline bool operator>=(const CString& a, const CString& b) noexcept {
  return a.Compare(b) >= 0;
}

typedef CString CStringA;
