// Test helpers: a window's line list as plain strings (NUL bytes kept), and a list built from strings.
#pragma once

#include "afxcoll.h"

#include <initializer_list>
#include <string>
#include <vector>

inline std::vector<std::string> linesOf(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION p = list.GetHeadPosition(); p != nullptr;) {
    const CString& s = list.GetNext(p);
    out.emplace_back(s.GetString(), static_cast<size_t>(s.GetLength()));
  }
  return out;
}

using Lines = std::vector<std::string>;
