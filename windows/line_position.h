// Finding a line of a window's list by its index. Platform-free.
#pragma once

#include <afx.h>
#include <afxcoll.h>

// The position of the element at `index` (0 = head), or NULL when index is negative or too large.
// Walks from the nearer end: the framework's FindIndex walks from the head, which would make painting
// the last page of a full window cost a walk over every line.
inline POSITION KQLinePosition(const CStringList& lines, INT_PTR index) noexcept {
  const INT_PTR count = lines.GetCount();
  if (index < 0 || index >= count)
    return nullptr;
  if (index <= count / 2)
    return lines.FindIndex(index);
  POSITION pos = lines.GetTailPosition();
  for (INT_PTR i = count - 1; i > index; --i)
    lines.GetPrev(pos);
  return pos;
}
