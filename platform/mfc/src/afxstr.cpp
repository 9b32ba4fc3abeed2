// CString: length-counted 8-bit string with an always-present terminating NUL.
#include "afx.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {
int clip(int value, int low, int high) {
  return std::min(std::max(value, low), high);
}
} // namespace

// The empty string's block: never counted, never freed, never written.
struct CString::NilData {
  CStringData data;
  char nul;
};

CString::CStringData* CString::Nil() noexcept {
  static NilData nil = {{0, 0, 0}, '\0'}; // constant-initialised: no guard on each call
  return &nil.data;
}

// A block with room for nAllocLength characters and a NUL, counted once. Memory exhaustion is reported
// as the framework reports it.
CString::CStringData* CString::Allocate(long long nAllocLength) {
  if (nAllocLength > INT_MAX - 1)
    AfxThrowMemoryException();
  char* block = nullptr;
  try {
    block = new char[sizeof(CStringData) + static_cast<size_t>(nAllocLength) + 1];
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
  auto* data = reinterpret_cast<CStringData*>(block);
  data->nRefs = 1;
  data->nDataLength = 0;
  data->nAllocLength = static_cast<int>(nAllocLength);
  return data;
}

void CString::Attach(CStringData* pData) noexcept {
  m_pszData = reinterpret_cast<char*>(pData + 1);
}

void CString::Release(CStringData* pData) noexcept {
  if (pData != Nil() && __atomic_sub_fetch(&pData->nRefs, 1, __ATOMIC_ACQ_REL) == 0)
    delete[] reinterpret_cast<char*>(pData);
}

CString::CString() noexcept {
  Attach(Nil());
}

CString::CString(const CString& src) {
  CStringData* data = src.GetData();
  if (data != Nil())
    __atomic_add_fetch(&data->nRefs, 1, __ATOMIC_RELAXED);
  Attach(data);
}

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
    PrepareWrite(nRepeat, nRepeat);
    std::memset(m_pszData, static_cast<unsigned char>(ch), static_cast<size_t>(nRepeat));
    SetLength(nRepeat);
  }
}

CString::~CString() {
  Release(GetData());
}

CString& CString::operator=(const CString& src) {
  CStringData* const mine = GetData();
  CStringData* const theirs = src.GetData();
  if (mine != theirs) {
    if (theirs != Nil())
      __atomic_add_fetch(&theirs->nRefs, 1, __ATOMIC_RELAXED);
    Attach(theirs);
    Release(mine);
  }
  return *this;
}

CString& CString::operator=(LPCTSTR psz) {
  Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0);
  return *this;
}

void CString::Empty() noexcept {
  Release(GetData());
  Attach(Nil());
}

bool CString::IsShared() const noexcept {
  CStringData* data = GetData();
  return data != Nil() && __atomic_load_n(&data->nRefs, __ATOMIC_ACQUIRE) > 1;
}

void CString::PrepareWrite(int nLength, int nAllocLength) {
  CStringData* const old = GetData();
  if (old != Nil() && !IsShared() && nLength <= old->nAllocLength)
    return;
  CStringData* const fresh = Allocate(std::max(nLength, nAllocLength));
  const int kept = std::min(old->nDataLength, nLength);
  std::memcpy(fresh + 1, m_pszData, static_cast<size_t>(kept));
  fresh->nDataLength = kept;
  reinterpret_cast<char*>(fresh + 1)[kept] = '\0';
  Attach(fresh);
  Release(old);
}

void CString::SetLength(int nLength) noexcept {
  CStringData* data = GetData();
  if (data == Nil())
    return;
  data->nDataLength = nLength;
  m_pszData[nLength] = '\0';
}

// Replaces the content; pch may point into this string, also when it is shared.
void CString::Assign(LPCTSTR pch, int nLength) {
  if (nLength <= 0) {
    if (IsShared())
      Empty();
    else
      SetLength(0);
    return;
  }
  if (IsShared() || nLength > GetData()->nAllocLength) {
    CString fresh;
    fresh.PrepareWrite(nLength, nLength);
    std::memcpy(fresh.m_pszData, pch, static_cast<size_t>(nLength));
    fresh.SetLength(nLength);
    *this = fresh;
    return;
  }
  std::memmove(m_pszData, pch, static_cast<size_t>(nLength));
  SetLength(nLength);
}

// Room for nCapacity characters, the content kept; a string that grows at least doubles its room.
void CString::Reserve(int nCapacity) {
  const int room = GetData()->nAllocLength;
  PrepareWrite(std::max(nCapacity, GetLength()), room == 0 ? nCapacity : std::max(nCapacity, 2 * room));
}

LPTSTR CString::GetBuffer(int nMinBufferLength) {
  // Exactly the room asked for: a line opened at its full width costs one allocation.
  const int want = std::max({nMinBufferLength, GetLength(), 1});
  PrepareWrite(want, want);
  return m_pszData;
}

LPTSTR CString::GetBuffer() {
  return GetBuffer(0);
}

LPTSTR CString::GetBufferSetLength(int nLength) {
  nLength = std::max(nLength, 0);
  GetBuffer(nLength);
  SetLength(nLength);
  return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength) {
  CStringData* data = GetData();
  if (data == Nil())
    return;
  if (nNewLength < 0)
    nNewLength = static_cast<int>(strnlen(m_pszData, static_cast<size_t>(data->nAllocLength)));
  ASSERT(nNewLength <= data->nAllocLength);
  SetLength(std::min(nNewLength, data->nAllocLength));
}

void CString::Truncate(int nNewLength) {
  if (nNewLength == 0 && IsShared()) {
    Empty();
  } else if (nNewLength >= 0 && nNewLength < GetLength()) {
    PrepareWrite(nNewLength, nNewLength);
    SetLength(nNewLength);
  }
}

int CString::Delete(int iIndex, int nCount) {
  const int length = GetLength();
  iIndex = clip(iIndex, 0, length);
  nCount = clip(nCount, 0, length - iIndex);
  if (nCount > 0) {
    PrepareWrite(length, length);
    std::memmove(m_pszData + iIndex, m_pszData + iIndex + nCount,
                 static_cast<size_t>(length - iIndex - nCount));
    SetLength(length - nCount);
  }
  return GetLength();
}

void CString::Append(LPCTSTR pch, int nLength) {
  if (!pch || nLength <= 0)
    return;
  const int length = GetLength();
  if (nLength > INT_MAX - 1 - length)
    AfxThrowMemoryException();
  // pch may point into this string: keep the old characters until the bytes are copied.
  if (IsShared() || length + nLength > GetData()->nAllocLength) {
    CString grown;
    grown.PrepareWrite(length + nLength, std::max(length + nLength, 2 * GetData()->nAllocLength));
    std::memcpy(grown.m_pszData, m_pszData, static_cast<size_t>(length));
    std::memcpy(grown.m_pszData + length, pch, static_cast<size_t>(nLength));
    grown.SetLength(length + nLength);
    *this = grown;
    return;
  }
  std::memmove(m_pszData + length, pch, static_cast<size_t>(nLength));
  SetLength(length + nLength);
}

CString& CString::operator+=(const CString& str) {
  Append(str.m_pszData, str.GetLength());
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
  return std::strcmp(m_pszData, psz ? psz : "");
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
