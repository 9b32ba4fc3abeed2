// A window's line list as strings (NULs kept), joined, and a text of many lines, completions and node blocks.
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

// The lines, each but the last followed by a line feed.
inline std::string joined(const Lines& lines) {
  std::string all;
  for (const std::string& line : lines)
    all += (&line == &lines.front() ? "" : "\n") + line;
  return all;
}

// Thirty-odd lines, a run longer than two lines, tabs.
inline const std::string manyLines = [] {
  std::string t = "first\n";
  for (int i = 0; i < 30; ++i)
    t += "line " + std::to_string(i) + "\tx\n";
  return t + std::string(300, 'r') + "\tafter tab\n\tlast";
}();
