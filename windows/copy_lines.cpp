// Copying lines out of a window's list, and their clipboard text.
#include "copy_lines.h"

#include "line_position.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
void copyRange(const CStringList& lines, long long first, long long end, KQCopiedLines& out) {
  const POSITION start = KQLinePosition(lines, static_cast<INT_PTR>(first));
  size_t bytes = 0;
  POSITION pos = start;
  for (long long i = first; i < end; ++i)
    bytes += static_cast<size_t>(lines.GetNext(pos).GetLength());
  out.text.reserve(bytes);
  out.lengths.reserve(static_cast<size_t>(end - first));
  pos = start;
  for (long long i = first; i < end; ++i) {
    const CString& line = lines.GetNext(pos);
    out.text.append(line.GetString(), static_cast<size_t>(line.GetLength()));
    out.lengths.push_back(line.GetLength());
  }
}
} // namespace

bool KQCopyLines(const CStringList& lines, KQLineRange rows, KQCopiedLines& out) noexcept {
  out.text.clear();
  out.lengths.clear();
  out.first = std::max(rows.first, 0LL);
  const long long end = std::min(rows.end, static_cast<long long>(lines.GetCount()));
  try {
    if (end > out.first)
      copyRange(lines, out.first, end, out);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (CMemoryException* e) { // what new throws in a module of the framework
    e->Delete();
  }
  out.text.clear();
  out.lengths.clear();
  return false;
}

KQLineRange KQTextRows(const CStringList& lines, KQLineRange rows) noexcept {
  const long long count = lines.GetCount();
  if (rows.end >= count && count > 0 && lines.GetTail().IsEmpty())
    rows.end = count - 1;
  return rows;
}

std::string KQClipboardText(const KQCopiedLines& copied) {
  std::string text;
  text.reserve(copied.text.size() + 2 * copied.lengths.size());
  const char* line = copied.text.data();
  for (const int length : copied.lengths) {
    const void* nul = std::memchr(line, '\0', static_cast<size_t>(length));
    text.append(line, nul ? static_cast<const char*>(nul) - line : length);
    text += "\r\n";
    line += length;
  }
  return text;
}
