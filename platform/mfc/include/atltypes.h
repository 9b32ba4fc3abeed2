// CPoint, CSize and CRect: the framework's value types over POINT, SIZE and RECT (header only).
// Only the members the framework layer and its hosts use; each is a plain wrapper of its Win32 struct,
// so a CRect can be passed wherever a RECT, LPRECT or LPCRECT is expected.
#pragma once

#include <windows.h>

class CSize : public tagSIZE {
public:
  CSize() noexcept { cx = cy = 0; }
  CSize(int initCX, int initCY) noexcept {
    cx = initCX;
    cy = initCY;
  }
  CSize(SIZE initSize) noexcept { *static_cast<SIZE*>(this) = initSize; }
  bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
  bool operator!=(SIZE size) const noexcept { return !(*this == size); }
};

class CPoint : public tagPOINT {
public:
  CPoint() noexcept { x = y = 0; }
  CPoint(int initX, int initY) noexcept {
    x = initX;
    y = initY;
  }
  CPoint(POINT initPt) noexcept { *static_cast<POINT*>(this) = initPt; }
  bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
  bool operator!=(POINT point) const noexcept { return !(*this == point); }
};

class CRect : public tagRECT {
public:
  CRect() noexcept { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) noexcept {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  CRect(const RECT& srcRect) noexcept { *static_cast<RECT*>(this) = srcRect; }
  CRect(LPCRECT lpSrcRect) noexcept { *static_cast<RECT*>(this) = *lpSrcRect; }
  CRect(POINT point, SIZE size) noexcept {
    left = point.x;
    top = point.y;
    right = point.x + size.cx;
    bottom = point.y + size.cy;
  }

  int Width() const noexcept { return right - left; }
  int Height() const noexcept { return bottom - top; }
  CSize Size() const noexcept { return CSize(Width(), Height()); }
  CPoint TopLeft() const noexcept { return CPoint(left, top); }
  CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
  BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
  BOOL PtInRect(POINT point) const noexcept { return ::PtInRect(this, point); }
  void SetRect(int l, int t, int r, int b) noexcept { *this = CRect(l, t, r, b); }
  void OffsetRect(int dx, int dy) noexcept { ::OffsetRect(this, dx, dy); }

  operator LPRECT() noexcept { return this; }
  operator LPCRECT() const noexcept { return this; }
  bool operator==(const RECT& rect) const noexcept {
    return left == rect.left && top == rect.top && right == rect.right && bottom == rect.bottom;
  }
  bool operator!=(const RECT& rect) const noexcept { return !(*this == rect); }
};
