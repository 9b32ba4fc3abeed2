// Finding text in a window's lines.
#include "find_text.h"

#include "line_position.h"

#include <algorithm>
#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
struct FoldTable {
  unsigned char map[256];
  FoldTable() noexcept {
    for (int c = 0; c < 256; ++c)
      map[c] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
      map[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
      if (c != 0xD7) // the multiplication sign has no lower case
        map[c] = static_cast<unsigned char>(c + 32);
  }
};
const FoldTable fold;

bool isWordByte(unsigned char c) noexcept {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

// The needle with the two forms of its first two bytes (the same form twice when case matters or the
// byte has no other case).
class Needle {
public:
  Needle(const char* what, int length, const KQFindOptions& options) noexcept
      : bytes(reinterpret_cast<const unsigned char*>(what)), length(length), options(options) {
    for (int i = 0; i < 2; ++i) {
      const unsigned char c = bytes[std::min(i, length - 1)];
      lower[i] = options.matchCase ? c : fold.map[c];
      upper[i] = c;
      if (!options.matchCase)
        for (int u = 0; u < 256; ++u)
          if (fold.map[u] == lower[i] && u != lower[i])
            upper[i] = static_cast<unsigned char>(u);
    }
  }

  // The first match in s[0, n) that starts at `from` or after, or -1.
  int first(const unsigned char* s, int n, int from) const noexcept {
    const int lastStart = n - length;
    int j = std::max(from, 0);
#if defined(__SSE2__)
    // Compares s[j..j+15] with the first byte and s[j+1..j+16] with the second (the first again for a
    // one-byte needle); both loads stay within the line.
    const int second = length > 1 ? 1 : 0;
    const __m128i lo0 = _mm_set1_epi8(static_cast<char>(lower[0])),
                  up0 = _mm_set1_epi8(static_cast<char>(upper[0]));
    const __m128i lo1 = _mm_set1_epi8(static_cast<char>(lower[1])),
                  up1 = _mm_set1_epi8(static_cast<char>(upper[1]));
    for (; j <= lastStart && j + 16 + second <= n; j += 16) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + j));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + j + second));
      const __m128i hit = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(a, lo0), _mm_cmpeq_epi8(a, up0)),
                                        _mm_or_si128(_mm_cmpeq_epi8(b, lo1), _mm_cmpeq_epi8(b, up1)));
      for (unsigned int mask = static_cast<unsigned int>(_mm_movemask_epi8(hit)); mask != 0;
           mask &= mask - 1) {
        const int at = j + __builtin_ctz(mask);
        if (at > lastStart)
          return -1;
        if (matchesAt(s, n, at))
          return at;
      }
    }
#endif
    for (; j <= lastStart; ++j)
      if (matchesAt(s, n, j))
        return j;
    return -1;
  }

  // The last match in s[0, n) that starts before `before`, or -1.
  int last(const unsigned char* s, int n, int before) const noexcept {
    int found = -1;
    for (int at = first(s, n, 0); at >= 0 && at < before; at = first(s, n, at + 1))
      found = at;
    return found;
  }

private:
  bool matchesAt(const unsigned char* s, int n, int at) const noexcept {
    if (options.matchCase) {
      if (std::memcmp(s + at, bytes, static_cast<size_t>(length)) != 0)
        return false;
    } else {
      for (int k = 0; k < length; ++k)
        if (fold.map[s[at + k]] != fold.map[bytes[k]])
          return false;
    }
    return !options.wholeWord ||
           ((at == 0 || !isWordByte(s[at - 1]) || !isWordByte(s[at])) &&
            (at + length == n || !isWordByte(s[at + length]) || !isWordByte(s[at + length - 1])));
  }

  const unsigned char* bytes;
  int length;
  KQFindOptions options;
  unsigned char lower[2], upper[2];
};

const unsigned char* bytesOf(const CString& line) noexcept {
  return reinterpret_cast<const unsigned char*>(line.GetString());
}
} // namespace

bool KQFindText(const CStringList& lines, const char* what, int length, KQTextPosition from,
                const KQFindOptions& options, KQTextSelection& match) noexcept {
  const long long count = lines.GetCount();
  if (length <= 0 || count == 0)
    return false;
  if (from.line >= count)
    from = {count - 1, INT_MAX};
  else if (from.line < 0)
    from = {0, 0};
  const Needle needle(what, length, options);
  POSITION pos = KQLinePosition(lines, static_cast<INT_PTR>(from.line));
  for (long long line = from.line; pos != nullptr;) {
    const CString& text = options.down ? lines.GetNext(pos) : lines.GetPrev(pos);
    const int n = text.GetLength();
    const int at = options.down ? needle.first(bytesOf(text), n, line == from.line ? from.column : 0)
                                : needle.last(bytesOf(text), n, line == from.line ? from.column : INT_MAX);
    if (at >= 0) {
      match = {{line, at}, {line, at + length}};
      return true;
    }
    line += options.down ? 1 : -1;
  }
  return false;
}
