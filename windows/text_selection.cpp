// Selecting in a window's lines.
#include "text_selection.h"

#include "line_position.h"

#include <algorithm>
#include <cstring>

namespace {
const CString& lineAt(const CStringList& lines, long long line) noexcept {
  POSITION pos = KQLinePosition(lines, static_cast<INT_PTR>(line));
  return lines.GetNext(pos);
}
int lengthOf(const CStringList& lines, long long line) noexcept {
  return lineAt(lines, line).GetLength();
}

// Word characters, spaces and the rest: a double-click selects a run of the first two kinds.
enum class CharClass { word, space, other };
CharClass classOf(unsigned char c) noexcept {
  if (c == ' ')
    return CharClass::space;
  const bool word =
      (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
  return word ? CharClass::word : CharClass::other;
}
} // namespace

KQTextPosition KQSnapPosition(const CStringList& lines, KQTextPosition at) noexcept {
  const long long line = std::clamp<long long>(at.line, 0, lines.GetCount() - 1);
  return {line, std::clamp(at.column, 0, lengthOf(lines, line))};
}

KQTextSelection KQWordAt(const CStringList& lines, KQTextPosition at) noexcept {
  at = KQSnapPosition(lines, at);
  const CString& text = lineAt(lines, at.line);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.GetString());
  const int length = text.GetLength();
  if (length == 0)
    return {at, at};
  const int hit = at.column < length ? at.column : length - 1;
  const CharClass kind = classOf(bytes[hit]);
  int first = hit, end = hit + 1;
  if (kind != CharClass::other) {
    while (first > 0 && classOf(bytes[first - 1]) == kind)
      --first;
    while (end < length && classOf(bytes[end]) == kind)
      ++end;
  }
  return {{at.line, first}, {at.line, end}};
}

KQTextSelection KQSelectAll(const CStringList& lines) noexcept {
  const long long last = lines.GetCount() - 1;
  return {{0, 0}, {last, lengthOf(lines, last)}};
}

KQColumnRange KQSelectedColumns(const KQTextSelection& selection, long long line, int length) noexcept {
  const KQTextPosition begin = selection.begin(), end = selection.end();
  if (selection.empty() || line < begin.line || line > end.line)
    return {0, 0};
  return {line == begin.line ? std::min(begin.column, length) : 0,
          line == end.line ? std::min(end.column, length) : length};
}

KQLineRange KQSelectedRows(const KQTextSelection& selection) noexcept {
  if (selection.empty())
    return {0, 0};
  return {selection.begin().line, selection.end().line + 1};
}

std::string KQSelectedText(const KQCopiedLines& copied, const KQTextSelection& selection) {
  std::string text;
  const char* line = copied.text.data();
  long long row = copied.first;
  for (const int length : copied.lengths) {
    const KQColumnRange columns = KQSelectedColumns(selection, row, length);
    if (row > selection.begin().line)
      text += "\r\n";
    if (columns.first < columns.end) {
      const char* from = line + columns.first;
      const void* nul = std::memchr(line, '\0', static_cast<size_t>(columns.end));
      const char* to = nul != nullptr ? std::max(from, static_cast<const char*>(nul)) : line + columns.end;
      text.append(from, to);
    }
    line += length;
    ++row;
  }
  return text;
}
