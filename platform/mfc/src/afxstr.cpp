// CString: length-counted 8-bit string with an always-present terminating NUL.
#include "afx.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

namespace {
char emptyString[1] = {'\0'};

int clip(int value, int low, int high) {
  return std::min(std::max(value, low), high);
}

// Room for nLength characters and a NUL. Memory exhaustion is reported as the framework reports it.
char* allocate(long long nLength) {
  if (nLength > INT_MAX - 1)
    AfxThrowMemoryException();
  try {
    return new char[static_cast<size_t>(nLength) + 1];
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
}
} // namespace

CString::CString() noexcept : m_pchData(emptyString), m_nLength(0), m_nCapacity(0) {}

CString::CString(const CString& src) : CString() {
  Assign(src.m_pchData, src.m_nLength);
}

CString::CString(CString&& src) noexcept
    : m_pchData(std::exchange(src.m_pchData, emptyString)), m_nLength(std::exchange(src.m_nLength, 0)),
      m_nCapacity(std::exchange(src.m_nCapacity, 0)) {}

CString::CString(LPCTSTR psz) : CString() {
  if (psz)
    Assign(psz, static_cast<int>(std::strlen(psz)));
}

CString::CString(LPCTSTR pch, int nLength) : CString() {
  if (pch && nLength > 0)
    Assign(pch, nLength);
}

CString::CString(char ch, int nRepeat) : CString() {
  if (nRepeat > 0) {
    Reserve(nRepeat);
    std::memset(m_pchData, static_cast<unsigned char>(ch), static_cast<size_t>(nRepeat));
    m_nLength = nRepeat;
    m_pchData[m_nLength] = '\0';
  }
}

CString::~CString() {
  if (m_nCapacity != 0)
    delete[] m_pchData;
}

CString& CString::operator=(const CString& src) {
  if (this != &src)
    Assign(src.m_pchData, src.m_nLength);
  return *this;
}

CString& CString::operator=(CString&& src) noexcept {
  if (this != &src) {
    if (m_nCapacity != 0)
      delete[] m_pchData;
    m_pchData = std::exchange(src.m_pchData, emptyString);
    m_nLength = std::exchange(src.m_nLength, 0);
    m_nCapacity = std::exchange(src.m_nCapacity, 0);
  }
  return *this;
}

CString& CString::operator=(LPCTSTR psz) {
  Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0);
  return *this;
}

CString& CString::operator=(char ch) {
  Assign(&ch, 1);
  return *this;
}

void CString::Empty() noexcept {
  if (m_nCapacity != 0)
    delete[] m_pchData;
  m_pchData = emptyString;
  m_nLength = 0;
  m_nCapacity = 0;
}

// Replaces the content; pch may point into this string.
void CString::Assign(LPCTSTR pch, int nLength) {
  if (nLength <= 0) {
    m_nLength = 0;
    if (m_nCapacity != 0)
      m_pchData[0] = '\0';
    return;
  }
  if (nLength <= m_nCapacity) {
    std::memmove(m_pchData, pch, static_cast<size_t>(nLength));
  } else {
    char* fresh = allocate(nLength);
    std::memcpy(fresh, pch, static_cast<size_t>(nLength));
    if (m_nCapacity != 0)
      delete[] m_pchData;
    m_pchData = fresh;
    m_nCapacity = nLength;
  }
  m_nLength = nLength;
  m_pchData[m_nLength] = '\0';
}

// Grows the array to hold nCapacity characters and a NUL, keeping the content; at least doubles.
void CString::Reserve(int nCapacity) {
  if (nCapacity <= m_nCapacity)
    return;
  if (nCapacity > INT_MAX - 1)
    AfxThrowMemoryException();
  long long grown = std::max<long long>(nCapacity, m_nCapacity == 0 ? 0 : 2LL * m_nCapacity);
  grown = std::min<long long>(grown, INT_MAX - 1);
  char* fresh = allocate(grown);
  std::memcpy(fresh, m_pchData, static_cast<size_t>(m_nLength) + 1);
  if (m_nCapacity != 0)
    delete[] m_pchData;
  m_pchData = fresh;
  m_nCapacity = static_cast<int>(grown);
}

LPTSTR CString::GetBuffer(int nMinBufferLength) {
  if (nMinBufferLength > m_nCapacity || m_nCapacity == 0) {
    // Exactly the room asked for: a line opened at its full width costs one allocation.
    const int want = std::max({nMinBufferLength, m_nLength, 1});
    char* fresh = allocate(want);
    std::memcpy(fresh, m_pchData, static_cast<size_t>(m_nLength) + 1);
    if (m_nCapacity != 0)
      delete[] m_pchData;
    m_pchData = fresh;
    m_nCapacity = want;
  }
  return m_pchData;
}

LPTSTR CString::GetBuffer() {
  return GetBuffer(0);
}

LPTSTR CString::GetBufferSetLength(int nLength) {
  nLength = std::max(nLength, 0);
  GetBuffer(nLength);
  m_nLength = nLength;
  m_pchData[m_nLength] = '\0';
  return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
  if (m_nCapacity == 0) {
    m_nLength = 0;
    return;
  }
  if (nNewLength < 0)
    nNewLength = static_cast<int>(strnlen(m_pchData, static_cast<size_t>(m_nCapacity)));
  ASSERT(nNewLength <= m_nCapacity);
  m_nLength = std::min(nNewLength, m_nCapacity);
  m_pchData[m_nLength] = '\0';
}

void CString::Truncate(int nNewLength) {
  if (nNewLength >= 0 && nNewLength < m_nLength) {
    m_nLength = nNewLength;
    m_pchData[m_nLength] = '\0';
  }
}

char CString::GetAt(int iChar) const {
  ASSERT(iChar >= 0 && iChar < m_nLength);
  return m_pchData[iChar];
}

CString CString::Mid(int iFirst, int nCount) const {
  iFirst = clip(iFirst, 0, m_nLength);
  nCount = clip(nCount, 0, m_nLength - iFirst);
  return CString(m_pchData + iFirst, nCount);
}

CString CString::Mid(int iFirst) const {
  return Mid(iFirst, m_nLength);
}

CString CString::Left(int nCount) const {
  return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
  nCount = clip(nCount, 0, m_nLength);
  return CString(m_pchData + m_nLength - nCount, nCount);
}

int CString::Delete(int iIndex, int nCount) {
  iIndex = clip(iIndex, 0, m_nLength);
  nCount = clip(nCount, 0, m_nLength - iIndex);
  if (nCount > 0) {
    std::memmove(m_pchData + iIndex, m_pchData + iIndex + nCount,
                 static_cast<size_t>(m_nLength - iIndex - nCount) + 1);
    m_nLength -= nCount;
  }
  return m_nLength;
}

int CString::Insert(int iIndex, LPCTSTR psz) {
  return psz ? InsertBytes(iIndex, psz, static_cast<int>(std::strlen(psz))) : GetLength();
}

int CString::Insert(int iIndex, char ch) {
  return InsertBytes(iIndex, &ch, 1);
}

// pch may point into this string: the joined string is built apart.
int CString::InsertBytes(int iIndex, LPCTSTR pch, int nLength) {
  iIndex = clip(iIndex, 0, m_nLength);
  if (nLength == 0)
    return m_nLength;
  if (nLength > INT_MAX - 1 - m_nLength)
    AfxThrowMemoryException();
  CString joined;
  joined.Reserve(m_nLength + nLength);
  std::memcpy(joined.m_pchData, m_pchData, static_cast<size_t>(iIndex));
  std::memcpy(joined.m_pchData + iIndex, pch, static_cast<size_t>(nLength));
  std::memcpy(joined.m_pchData + iIndex + nLength, m_pchData + iIndex,
              static_cast<size_t>(m_nLength - iIndex));
  joined.m_nLength = m_nLength + nLength;
  joined.m_pchData[joined.m_nLength] = '\0';
  *this = std::move(joined);
  return m_nLength;
}

void CString::Append(LPCTSTR pch, int nLength) {
  if (!pch || nLength <= 0)
    return;
  if (nLength > INT_MAX - 1 - m_nLength)
    AfxThrowMemoryException();
  // pch may point into this string: keep the old array until the bytes are copied.
  if (m_nLength + nLength > m_nCapacity) {
    CString grown;
    grown.Reserve(std::max(m_nLength + nLength, 2 * m_nCapacity));
    std::memcpy(grown.m_pchData, m_pchData, static_cast<size_t>(m_nLength));
    std::memcpy(grown.m_pchData + m_nLength, pch, static_cast<size_t>(nLength));
    grown.m_nLength = m_nLength + nLength;
    grown.m_pchData[grown.m_nLength] = '\0';
    *this = std::move(grown);
    return;
  }
  std::memmove(m_pchData + m_nLength, pch, static_cast<size_t>(nLength));
  m_nLength += nLength;
  m_pchData[m_nLength] = '\0';
}

CString& CString::operator+=(const CString& str) {
  Append(str.m_pchData, str.m_nLength);
  return *this;
}

CString& CString::operator+=(LPCTSTR psz) {
  if (psz)
    Append(psz, static_cast<int>(std::strlen(psz)));
  return *this;
}

CString& CString::operator+=(char ch) {
  Append(&ch, 1);
  return *this;
}

int CString::Compare(LPCTSTR psz) const noexcept {
  return std::strcmp(m_pchData, psz ? psz : "");
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, LPCTSTR b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(LPCTSTR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(char a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
