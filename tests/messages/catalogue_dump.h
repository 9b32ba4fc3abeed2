// A catalogue's contents as text, for comparing with the golden files under data/: one line per entry in
// ascending number order, "<number><TAB><text>", the text with \n, \r, \t, \\ and \xNN for other bytes
// outside printable ASCII.
#pragma once

#include "kqmessages.h"

#include <map>
#include <string>

inline std::string escapeText(const char* p, int n) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (int i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\\')
      out += "\\\\";
    else if (c < 0x20 || c >= 0x7f)
      out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
    else
      out += static_cast<char>(c);
  }
  return out;
}

inline std::string dumpCatalogue(const KQMessageTable& table) {
  std::map<long, std::string> sorted;
  for (void* pos = table.getStartPosition(); pos != nullptr;) {
    long key = 0;
    KQCString value;
    table.getNextAssoc(pos, key, value);
    sorted[key] = escapeText(value.data(), value.length());
  }
  std::string out;
  for (const auto& [key, text] : sorted)
    out += std::to_string(key) + "\t" + text + "\n";
  return out;
}
