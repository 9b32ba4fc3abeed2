// The shared line rules.
#include "line_store.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Tab, line feed and carriage return: the only bytes that are not stored as they are.
constexpr unsigned int specialMask = (1u << 9) | (1u << 10) | (1u << 13);
inline bool isSpecial(unsigned char c) noexcept {
  return c <= 13 && ((specialMask >> c) & 1u) != 0;
}

// The first special byte in [p, limit), or limit. Blocks of sixteen bytes may be read past limit, but
// never at or past end (the end of the caller's text): runs of ordinary text cost about what memchr
// costs, even when the room left in the line is what ends the run.
const unsigned char* findSpecial(const unsigned char* p, const unsigned char* limit,
                                 const unsigned char* end) noexcept {
#if defined(__SSE2__)
  const __m128i tab = _mm_set1_epi8(9);
  const __m128i lf = _mm_set1_epi8(10);
  const __m128i cr = _mm_set1_epi8(13);
  for (; p < limit && end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr));
    const unsigned int mask = static_cast<unsigned int>(_mm_movemask_epi8(hit));
    if (mask != 0)
      return std::min(p + __builtin_ctz(mask), limit); // GCC and clang: only they define __SSE2__
  }
  if (p >= limit)
    return limit;
#else
  (void)end;
#endif
  while (p < limit && !isSpecial(*p))
    ++p;
  return p;
}
} // namespace

// The current line opened for writing at the full width; closed at its column when it goes away, so an
// exception never leaves a line open or with undefined characters.
class KQLineStore::OpenLine {
public:
  OpenLine(CString& line, int width) : col(line.GetLength()) {
    buf = line.GetBufferSetLength(std::max(width, col));
    this->line = &line;
  }
  OpenLine(const OpenLine&) = delete;
  OpenLine& operator=(const OpenLine&) = delete;
  ~OpenLine() { close(); }

  void close() noexcept {
    if (line != nullptr) {
      line->ReleaseBuffer(col);
      line = nullptr;
    }
  }
  void reopen(CString& next, int width) {
    close();
    col = next.GetLength();
    buf = next.GetBufferSetLength(std::max(width, col));
    line = &next;
  }

  CString* line = nullptr;
  char* buf = nullptr;
  int col = 0;
};

KQLineStore::KQLineStore(CStringList& lines, int lineWidth, long long maxLines) noexcept
    : lines(lines), lineWidth(lineWidth), maxLines(maxLines) {
  ASSERT(!lines.IsEmpty());
  ASSERT(lineWidth >= 1);
  ASSERT(maxLines >= 2);
}

void KQLineStore::append(const char* text, int len) {
  if (len <= 0)
    return;
  OpenLine line(lines.GetTail(), lineWidth);
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const auto* const end = p + len;
  while (p < end) {
    // Copy the run of ordinary bytes that still fits in the line in one go. A line that is full already
    // (only after an allocation failure in an earlier completion) gets a run of 0 and is completed.
    const std::ptrdiff_t room = lineWidth - line.col;
    const auto* const runEnd = findSpecial(p, p + std::min(room, end - p), end);
    const auto run = static_cast<int>(runEnd - p);
    std::memcpy(line.buf + line.col, p, static_cast<size_t>(run));
    line.col += run;
    p = runEnd;
    if (line.col >= lineWidth) {
      complete(line);
      continue;
    }
    if (p == end)
      break;

    switch (*p++) {
    case 9: // at least one space, then on to the next tab stop unless the width comes first
      do
        line.buf[line.col++] = ' ';
      while (line.col % tabStop != 0 && line.col < lineWidth);
      if (line.col >= lineWidth)
        complete(line);
      break;
    case 10:
      complete(line);
      break;
    default: // 13: dropped
      break;
    }
  }
}

void KQLineStore::complete(OpenLine& line) {
  line.close();
  lineFeed();
  line.reopen(lines.GetTail(), lineWidth);
}

void KQLineStore::lineFeed() {
  lines.AddTail(CString());
  CString dropped;
  if (dropOldest(dropped))
    lines.GetTail() = dropped; // takes the dropped line's room: a full store appends without allocating
}

void KQLineStore::scrollOffTop() noexcept {
  CString dropped;
  dropOldest(dropped);
}

bool KQLineStore::dropOldest(CString& reuse) noexcept {
  if (static_cast<long long>(lines.GetCount()) < maxLines)
    return false;
  reuse = lines.RemoveHead();
  reuse.Truncate(0);
  return true;
}

void KQLineStore::clear() noexcept {
  while (lines.GetCount() > 1)
    lines.RemoveHead();
  lines.GetTail().Empty();
  scrollOffTop();
}
