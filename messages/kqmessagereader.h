// The message-file reader: the record grammar (the format is described in kqmessages.h), written once over
// a stream taken a chunk at a time. A trace policy may follow each character and step of a record for
// tools that explain a file to people (tools/msgcheck); the catalogue reads with KQNoTrace, whose hooks are
// empty, so the reader built into the library carries no tracing code. Platform-free.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kqreader {
inline bool isDigit(int c) {
  return c >= '0' && c <= '9';
}

// "%ld" over a number part: white space, then an optional sign, then digits. Only the first character of
// a number part can be other than a digit, so the white space and the sign can only be that character.
// The magnitude saturates one past the 32-bit maximum, so that long digit runs cost nothing extra.
class NumberPart {
public:
  explicit NumberPart(int first) {
    if (isDigit(first))
      digit(first);
    else if (first == '-')
      negative = true;
    else if (first != '+' && first != ' ' && (first < '\t' || first > '\r'))
      convertible = false;
  }
  void digit(int c) {
    digits = true;
    if (magnitude <= limit)
      magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
  }
  bool converts() const { return convertible && digits; }
  bool saturated() const { return magnitude > (negative ? limit : limit - 1); }
  std::int32_t value() const {
    if (negative)
      return saturated() ? INT32_MIN : static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    return saturated() ? INT32_MAX : static_cast<std::int32_t>(magnitude);
  }

private:
  static constexpr std::uint64_t limit = std::uint64_t{1} << 31; // magnitude of INT32_MIN
  std::uint64_t magnitude = 0;
  bool digits = false;
  bool negative = false;
  bool convertible = true;
};

// What an escaped character stands for: itself, but for n, r and t.
constexpr auto escapeTranslation = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = static_cast<unsigned char>(c);
  table['n'] = '\n';
  table['r'] = '\r';
  table['t'] = '\t';
  return table;
}();

#if defined(__SSE2__)
// 0xff in each byte of `v` that is a double quote or a backslash, 0 elsewhere.
inline __m128i quotesOrBackslashes(__m128i v) {
  return _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\')));
}
#endif

// Copies the plain text characters from p to out, up to the first double quote or backslash or to `end`;
// both advance past what was copied. Blocks of 32 or 16 are stored whole before their end is known (never
// past `end`), so `out` must have room for end - p + 16 characters.
inline void copyPlainRun(const char*& p, const char* end, char*& out) {
#if defined(__SSE2__)
  // 32 at a time while the chunk allows: in an escape-dense text whether a block holds an escape cannot be
  // predicted, and a mispredicted test costs more than copying the block; this halves the tests.
  for (; end - p >= 32; p += 32, out += 32) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), high);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(quotesOrBackslashes(low))) |
                          static_cast<unsigned>(_mm_movemask_epi8(quotesOrBackslashes(high))) << 16;
    if (mask != 0) {
      const int plain = __builtin_ctz(mask);
      p += plain;
      out += plain;
      return;
    }
  }
  for (; end - p >= 16; p += 16, out += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
    if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(quotesOrBackslashes(v)))) {
      const int plain = __builtin_ctz(mask);
      p += plain;
      out += plain;
      return;
    }
  }
#endif
  while (p != end && *p != '"' && *p != '\\')
    *out++ = *p++;
}
} // namespace kqreader

// The catalogue's trace policy: follows nothing. A policy that sets `enabled` sees every character read
// (character) and every step of a record; without it the reader may pass over runs of characters in bulk.
struct KQNoTrace {
  static constexpr bool enabled = false;
  void character(int) {}                           // each character read, before the step that reads it
  void begin() {}                                  // a record starts
  void first(int) {}                               // its first character (the record read something)
  void digit(int) {}                               // each digit of its number part
  void number(int, const kqreader::NumberPart&) {} // the character that ended the number part
  void skipped(int) {}                             // each character skipped before the opening quote
  void opened() {}                                 // the opening quote
  void inText() {}                                 // each character read inside the text
  void backslash(bool) {}                          // a backslash; true when one was already in force
  void escaped(int) {}                             // the character after a backslash
  void stored(char) {}                             // each character stored in the text
  void closed() {}                                 // the closing quote
  void trailer(int) {}                             // the character after it
};

// The stream's characters a chunk at a time, never past what the stream's buffer already holds (so an
// error is met at the byte where it occurs), with the stream's state kept as single-character reads would
// keep it: eofbit and failbit at the end, badbit when the stream buffer throws or gives nothing. One input
// reads a stream to its end: the stream's own position runs ahead of it.
class KQMessageInput {
public:
  // The most that one refill takes from the stream's buffer: a stream buffer of this size (see
  // KQMessageManager::setFile) is emptied by one refill.
  static constexpr std::streamsize chunkSize = 128 * 1024;

  explicit KQMessageInput(std::istream& in) : in(in), chunk(new char[chunkSize]) {}
  KQMessageInput(const KQMessageInput&) = delete;
  KQMessageInput& operator=(const KQMessageInput&) = delete;

  // False once the end of the input or an error has been met: no record is left to read.
  bool more() const { return !ended; }

protected:
  bool refill();

  std::istream& in;
  bool ended = false;
  std::unique_ptr<char[]> chunk;
  const char* pos = chunk.get();
  const char* end = chunk.get();
};

template <class Trace> class KQBasicMessageReader : public KQMessageInput {
public:
  explicit KQBasicMessageReader(std::istream& in, Trace trace = Trace()) : KQMessageInput(in), trace(trace) {}

  // Reads one record and gives its text, empty when the record yields none; the text stays valid until the
  // next read. Sets `number` when the number part converts (saturated to the 32-bit range) and leaves it as
  // it was otherwise. The end of the input and a stream error end the record where they occur.
  std::string_view read(std::int32_t& number);

  Trace trace;

private:
  // One character (0..255), or -1 at the end of the input or on a stream error.
  int next() {
    if (pos == end && !refill())
      return -1;
    const int ch = static_cast<unsigned char>(*pos++);
    trace.character(ch);
    return ch;
  }
  // Room for `more` characters after the text; grows the buffer (never shrinks it) when needed.
  char* textRoom(size_t more) {
    if (textCapacity - textSize < more) {
      const size_t capacity = std::max(textSize + more, 2 * textCapacity);
      std::unique_ptr<char[]> grown(new char[capacity]);
      if (textSize != 0)
        std::memcpy(grown.get(), textBuffer.get(), textSize);
      textBuffer = std::move(grown);
      textCapacity = capacity;
    }
    return textBuffer.get() + textSize;
  }
  // Plain runs and escape pairs up to the next quote, a backslash before a backslash, or the chunk's end,
  // stored with one check of the room: the text grows by at most what the chunk holds.
  void storeInBulk() {
    char* out = textRoom(static_cast<size_t>(end - pos) + 16);
    const char* p = pos;
    for (;;) {
      kqreader::copyPlainRun(p, end, out);
      if (end - p < 2 || *p != '\\' || p[1] == '\\')
        break;
      *out++ = static_cast<char>(kqreader::escapeTranslation[static_cast<unsigned char>(p[1])]);
      p += 2;
    }
    textSize = static_cast<size_t>(out - textBuffer.get());
    pos = p;
  }

  // The text of the record being read: textSize characters; the buffer is kept from record to record.
  std::unique_ptr<char[]> textBuffer;
  size_t textSize = 0;
  size_t textCapacity = 0;
};

template <class Trace> std::string_view KQBasicMessageReader<Trace>::read(std::int32_t& number) {
  textSize = 0;
  trace.begin();
  int c = next();
  if (c < 0)
    return {};
  trace.first(c);

  // Number part: the first character, whatever it is, and the digits right after it.
  kqreader::NumberPart part(c);
  while ((c = next()) >= 0 && kqreader::isDigit(c)) {
    part.digit(c);
    trace.digit(c);
  }
  if (part.converts())
    number = part.value();
  trace.number(c, part);

  // Skip everything up to and including the opening quote, beginning with the character that ended the
  // number part.
  while (c != '"') {
    if (c < 0)
      return {};
    trace.skipped(c);
    // Nothing follows the characters: jump to the quote within the chunk. It usually comes right after one
    // separator, and then needs no search.
    if constexpr (!Trace::enabled) {
      if (pos != end && *pos != '"') {
        const void* quote = std::memchr(pos, '"', static_cast<size_t>(end - pos));
        pos = quote != nullptr ? static_cast<const char*>(quote) : end;
      }
    }
    c = next();
  }
  trace.opened();

  // Text: a backslash escapes the next character and is never stored itself.
  bool escaped = false;
  for (;;) {
    if constexpr (!Trace::enabled) { // nothing follows the characters: plain runs and escapes in bulk
      if (!escaped)
        storeInBulk();
    }
    if ((c = next()) < 0)
      break; // the input ended inside the text: it is kept as far as it goes
    trace.inText();
    if (c == '\\') {
      trace.backslash(escaped);
      escaped = true;
      continue;
    }
    if (c == '"' && !escaped) {
      trace.closed();
      trace.trailer(next()); // the line end of a well-formed record, dropped
      break;
    }
    if (escaped) {
      trace.escaped(c);
      c = kqreader::escapeTranslation[static_cast<unsigned char>(c)];
      escaped = false;
    }
    trace.stored(static_cast<char>(c));
    *textRoom(1) = static_cast<char>(c);
    ++textSize;
  }
  return {textBuffer.get(), textSize};
}

// The catalogue's reader.
using KQMessageReader = KQBasicMessageReader<KQNoTrace>;
extern template class KQBasicMessageReader<KQNoTrace>;
