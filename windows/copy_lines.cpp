// Copying lines out of a window's list, and their clipboard text.
#include "copy_lines.h"

#include "line_position.h"

#include <algorithm>
#include <cstring>

void KQCopyLines(const CStringList& lines, long long first, long long end, KQCopiedLines& out) {
  out.text.clear();
  out.lengths.clear();
  const long long count = lines.GetCount();
  first = std::max(first, 0LL);
  end = std::min(end, count);
  if (end == count && end > first && lines.GetTail().IsEmpty())
    --end;
  if (end <= first)
    return;
  try {
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
  } catch (...) {
    out.text.clear();
    out.lengths.clear();
    throw;
  }
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
