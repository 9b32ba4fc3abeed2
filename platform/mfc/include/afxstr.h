// afxstr.h: CString, the framework's 8-bit string (CStringA), as far as the library and its hosts use
// it. Included by afx.h; as with the framework, it cannot be used without it.
//
// Length-counted: embedded NUL bytes are kept (they arise from CString(pch, n), GetBufferSetLength and
// ReleaseBuffer(n)). The characters are always followed by a NUL, so operator LPCTSTR gives a C string
// (which stops at the first embedded NUL); comparisons compare those C strings, as the framework's do.
// Allocation failure throws CMemoryException* (AfxThrowMemoryException); the string is then unchanged.
//
// As the framework's, copies share their characters (a reference count, safe across threads) until one
// of them is written: a copy allocates nothing, and the first write to a shared string gives it
// characters of its own. There are no move operations; a copy is what std::move gives.
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
  // Shares src's characters.
  CString(const CString& src);
  // A NUL-terminated string; null gives the empty string.
  CString(LPCTSTR psz);
  // `nLength` characters at `pch`, NUL bytes included; pch need not be NUL-terminated.
  // A negative length is treated as 0.
  CString(LPCTSTR pch, int nLength);
  explicit CString(char ch, int nRepeat = 1);
  ~CString();

  // Shares src's characters.
  CString& operator=(const CString& src);
  CString& operator=(LPCTSTR psz);

  int GetLength() const noexcept { return GetData()->nDataLength; }
  bool IsEmpty() const noexcept { return GetLength() == 0; }
  // Releases the storage: the string is empty afterwards.
  void Empty() noexcept;

  // Opens the string for writing with room for at least nMinBufferLength characters (plus a NUL).
  // The content is kept; a shared string gets characters of its own first. Close with ReleaseBuffer
  // before any other member is used, and before the string is copied.
  LPTSTR GetBuffer(int nMinBufferLength);
  LPTSTR GetBuffer();
  // Opens the string for writing and sets its length to nLength (content kept, new bytes undefined).
  LPTSTR GetBufferSetLength(int nLength);
  // Ends writing: the length becomes nNewLength, or the NUL-terminated length when it is -1.
  // nNewLength must not exceed the room asked for.
  void ReleaseBuffer(int nNewLength = -1);
  // Keeps the first nNewLength characters (no-op when longer than the string).
  void Truncate(int nNewLength);

  LPCTSTR GetString() const noexcept { return m_pszData; }
  operator LPCTSTR() const noexcept { return m_pszData; }

  // Removes nCount characters at iIndex (clipped); returns the new length.
  int Delete(int iIndex, int nCount = 1);

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
  // What precedes the characters, as in the framework. nRefs counts the strings sharing them; the
  // empty string's block is static and never counted.
  struct CStringData {
    long nRefs;
    int nDataLength;
    int nAllocLength;
  };
  struct NilData;
  CStringData* GetData() const noexcept { return reinterpret_cast<CStringData*>(m_pszData) - 1; }
  static CStringData* Nil() noexcept;
  static CStringData* Allocate(long long nAllocLength);
  static void Release(CStringData* pData) noexcept;
  void Attach(CStringData* pData) noexcept;
  bool IsShared() const noexcept;
  // Makes the string writable with room for nLength characters, its own and keeping its content (cut to
  // nLength); nAllocLength is the room to take when new characters are needed.
  void PrepareWrite(int nLength, int nAllocLength);
  void SetLength(int nLength) noexcept;
  void Reserve(int nCapacity);
  void Assign(LPCTSTR pch, int nLength);

  char* m_pszData; // the characters; a CStringData block precedes them
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

typedef CString CStringA;
