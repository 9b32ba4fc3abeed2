// Test helper: a window's line list as plain strings (NUL bytes kept).
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

inline Lines linesOf(const CStringList& list) {
  Lines out;
  for (POSITION p = list.GetHeadPosition(); p != nullptr;) {
    const CString& s = list.GetNext(p);
    out.emplace_back(s.GetString(), static_cast<size_t>(s.GetLength()));
  }
  return out;
}
