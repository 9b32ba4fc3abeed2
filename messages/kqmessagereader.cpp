// Reading message-file records: number part, skip to the opening quote, escaped text, one trailer character.
#include "kqmessagereader.h"

#include "kqcstringpool.h"
#include "kqmessages.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <ios>
#include <new>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
bool isDigit(int c) {
  return c >= '0' && c <= '9';
}
// White space as "%ld" skips it in the C locale.
bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r';
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
    else if (first != '+' && !isSpace(first))
      convertible = false;
  }
  void digit(int c) {
    ++digits;
    if (magnitude <= limit)
      magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
  }
  bool converts() const { return convertible && digits > 0; }
  bool saturated() const { return magnitude > (negative ? limit : limit - 1); }
  std::int32_t value() const {
    if (negative)
      return saturated() ? INT32_MIN : static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    return saturated() ? INT32_MAX : static_cast<std::int32_t>(magnitude);
  }

private:
  static constexpr std::uint64_t limit = std::uint64_t{1} << 31; // magnitude of INT32_MIN
  std::uint64_t magnitude = 0;
  std::uint64_t digits = 0;
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
// Which of the 16 bytes `v` holds are double quotes or backslashes: one bit each, lowest byte first.
unsigned quotesAndBackslashes(__m128i v) {
  const __m128i hits =
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\')));
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

// The first double quote or backslash in [p, end), or `end`: the end of a run of plain text characters.
const char* plainRunEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  for (; end - p >= 16; p += 16) {
    if (const unsigned mask = quotesAndBackslashes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))))
      return p + __builtin_ctz(mask);
  }
#endif
  while (p != end && *p != '"' && *p != '\\')
    ++p;
  return p;
}

// Follows the characters before the opening quote for the trace: which lines held more than blanks.
class ContentWatch {
public:
  explicit ContentWatch(KQMessageRecordTrace* trace) : trace(trace) {}
  void see(int c, long line) {
    if (trace == nullptr)
      return;
    if (c == '\n') {
      if (content && trace->swallowingLine == 0)
        trace->swallowingLine = line;
      content = false;
    } else if (!isBlank(c) && c != '\v' && c != '\f') {
      content = true;
      if (trace->firstContentLine == 0)
        trace->firstContentLine = line;
    }
  }

private:
  KQMessageRecordTrace* trace;
  bool content = false;
};
} // namespace

// Keeps the stream's state as single-character reads would: eofbit and failbit at the end, badbit when the
// stream buffer throws.
bool KQMessageReader::refill() {
  using traits = std::istream::traits_type;
  std::streambuf* buffer = in.rdbuf();
  if (ended || buffer == nullptr || !in.good()) {
    ended = true;
    return false;
  }
  std::streamsize n = 0;
  try {
    if (traits::eq_int_type(buffer->sgetc(), traits::eof())) {
      ended = true;
      in.setstate(std::ios::eofbit | std::ios::failbit);
      return false;
    }
    // Only what the buffer holds already, so that no read beyond it can fail half-way through a chunk.
    n = std::min(buffer->in_avail(), chunkSize);
    if (n <= 1) {
      chunk.get()[0] = traits::to_char_type(buffer->sbumpc());
      n = 1;
    } else {
      n = buffer->sgetn(chunk.get(), n);
    }
  } catch (...) {
    ended = true;
    in.setstate(std::ios::badbit);
    return false;
  }
  if (n <= 0) {
    ended = true;
    in.setstate(std::ios::badbit);
    return false;
  }
  pos = chunk.get();
  end = pos + n;
  return true;
}

void KQMessageReader::follow(int ch) {
  if (atLineStart)
    linePrefix.clear();
  if (ch != '\n' && linePrefix.size() < 80)
    linePrefix.push_back(static_cast<char>(ch));
  lastLine = line;
  atLineStart = ch == '\n';
  if (atLineStart)
    ++line;
}

const char* KQMessageReader::readWithinChunk(std::int32_t& number) {
  const char* p = pos;
  const char* const e = end;
  if (p == e)
    return nullptr;
  NumberPart part(static_cast<unsigned char>(*p++));
  for (; p != e && isDigit(static_cast<unsigned char>(*p)); ++p)
    part.digit(static_cast<unsigned char>(*p));
  // The opening quote usually follows one separator.
  while (p != e && (*p == ' ' || *p == '\t'))
    ++p;
  if (p == e || *p != '"') {
    const void* quote = std::memchr(p, '"', static_cast<size_t>(e - p));
    if (quote == nullptr)
      return nullptr;
    p = static_cast<const char*>(quote);
  }
  ++p;
  // The text is never longer than the rest of the chunk, which the output buffer can always hold; blocks
  // of 16 are copied whole and the output then advanced by what belongs to the text.
  char* out = textBuffer.get();
  for (;;) {
#if defined(__SSE2__)
    while (e - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
      if (const unsigned mask = quotesAndBackslashes(v)) {
        const int plain = __builtin_ctz(mask);
        p += plain;
        out += plain;
        break;
      }
      p += 16;
      out += 16;
    }
#endif
    while (p != e && *p != '"' && *p != '\\')
      *out++ = *p++;
    if (p == e)
      return nullptr;
    if (*p == '"')
      break;
    // Backslashes: however many, they escape the one character after them.
    while (++p != e && *p == '\\') {
    }
    if (p == e)
      return nullptr;
    *out++ = static_cast<char>(escapeTranslation[static_cast<unsigned char>(*p++)]);
  }
  if (e - p < 2) // the closing quote and the character after it, which is dropped
    return nullptr;
  pos = p + 2;
  if (part.converts())
    number = part.value();
  return out;
}

std::string_view KQMessageReader::read(std::int32_t& number, KQMessageRecordTrace* trace) {
  if (!tracing) {
    if (const char* textEnd = readWithinChunk(number))
      return {textBuffer.get(), static_cast<size_t>(textEnd - textBuffer.get())};
  }
  readByCharacter(number, text, trace);
  return text;
}

void KQMessageReader::readByCharacter(std::int32_t& number, std::string& text, KQMessageRecordTrace* trace) {
  if (!tracing)
    trace = nullptr;
  if (trace != nullptr)
    *trace = KQMessageRecordTrace{};
  text.clear();

  const bool startsLine = atLineStart;
  int c = next();
  if (c < 0)
    return;
  ContentWatch watch(trace);
  watch.see(c, lastLine);
  if (trace != nullptr) {
    trace->consumed = true;
    trace->startsLine = startsLine;
    trace->firstLine = lastLine;
    trace->firstChar = c;
    trace->numberPart.push_back(static_cast<char>(c));
    trace->numberLine = lastLine;
  }

  // Number part: the first character, whatever it is, and the digits right after it.
  NumberPart part(c);
  while ((c = next()) >= 0 && isDigit(c)) {
    part.digit(c);
    watch.see(c, lastLine);
    if (trace != nullptr && trace->numberPart.size() < 40)
      trace->numberPart.push_back(static_cast<char>(c));
  }
  if (part.converts())
    number = part.value();
  if (trace != nullptr) {
    trace->endChar = c;
    trace->number = !part.converts()   ? KQMessageRecordTrace::Number::Missing
                    : part.saturated() ? KQMessageRecordTrace::Number::Saturated
                                       : KQMessageRecordTrace::Number::Converted;
  }

  // Skip everything up to and including the opening quote, beginning with the character that ended the
  // number part.
  while (c != '"') {
    if (c < 0)
      return;
    watch.see(c, lastLine);
    if (!tracing) { // nothing to follow: jump to the quote within the chunk
      const void* quote = std::memchr(pos, '"', static_cast<size_t>(end - pos));
      pos = quote != nullptr ? static_cast<const char*>(quote) : end;
    }
    c = next();
  }
  if (trace != nullptr) {
    trace->end = KQMessageRecordTrace::End::Unterminated;
    trace->quoteLine = lastLine;
    trace->quoteLinePrefix = linePrefix;
    if (!trace->quoteLinePrefix.empty() && trace->quoteLinePrefix.back() == '"')
      trace->quoteLinePrefix.pop_back();
    trace->closeLine = lastLine;
  }

  // Text: a backslash escapes the next character and is never stored itself.
  bool escaped = false;
  for (;;) {
    if (!tracing && !escaped) { // plain characters in bulk, up to the next quote or backslash
      const char* run = plainRunEnd(pos, end);
      text.append(pos, run);
      pos = run;
    }
    if ((c = next()) < 0)
      break;
    if (trace != nullptr)
      trace->closeLine = lastLine;
    if (c == '\\') {
      if (escaped && trace != nullptr && trace->oddEscapeLine == 0) {
        trace->oddEscapeLine = lastLine;
        trace->oddEscape = "\\\\";
      }
      escaped = true;
      continue;
    }
    if (c == '"' && !escaped) {
      if (trace != nullptr) {
        trace->end = KQMessageRecordTrace::End::Closed;
        trace->trailer = -1;
      }
      const int trailer = next(); // the line end of a well-formed record, dropped
      if (trace != nullptr)
        trace->trailer = trailer;
      return;
    }
    char ch = static_cast<char>(c);
    if (escaped) {
      switch (c) {
      case 'n':
        ch = '\n';
        break;
      case 'r':
        ch = '\r';
        break;
      case 't':
        ch = '\t';
        break;
      case '"':
        break;
      default:
        if (trace != nullptr && trace->oddEscapeLine == 0) {
          trace->oddEscapeLine = lastLine;
          trace->oddEscape = std::string("\\") + ch;
        }
        break;
      }
      escaped = false;
    }
    if (trace != nullptr && ch == '\0')
      trace->hasNul = true;
    text.push_back(ch);
  }
  // The input ended inside the text: it is kept as far as it goes.
}

KQCString KQMessageReader::readMessage(std::int32_t& number, KQMessageRecordTrace* trace) {
  const std::string_view text = read(number, trace);
  KQCString result;
  result.assign(text.data(), static_cast<int>(text.size()));
  return result;
}

namespace {
// Where a table keeps the head of a key's bucket (null when it has no bucket array), for prefetching only:
// the same remainder as the table's own. The bucket array is protected; a derived class may take a pointer
// to it as a member and read it from any table through that pointer.
class KQBucketSlots : KQMessageTable {
public:
  static const void* slot(const KQMessageTable& table, std::int32_t key) noexcept {
    KQTAssoc* const* heads = table.*(&KQBucketSlots::hashTable);
    if (heads == nullptr)
      return nullptr;
    const size_t size = table.getHashTableSize();
    const std::uint32_t k = static_cast<std::uint32_t>(key);
    return heads + (size <= UINT32_MAX ? k % static_cast<std::uint32_t>(size) : k % size);
  }
};

// Texts read but not yet stored, in file order. Storing them a few dozen at a time lets the processor
// overlap the cache misses of their buckets, which are far apart in a large table: stored one by one
// between the reads of their records, each miss is waited for in turn.
class KQPendingTexts {
public:
  static constexpr size_t capacity = 32;

  explicit KQPendingTexts(KQMessageTable& table) noexcept : table(table) {}
  KQPendingTexts(const KQPendingTexts&) = delete;
  KQPendingTexts& operator=(const KQPendingTexts&) = delete;

  // The string that the next text goes into, under `number`; it counts once filled (see add).
  KQCString& next(std::int32_t number) noexcept {
    numbers[held] = number;
    return texts[held];
  }
  // Counts the text just put into next(); stores the held texts when full.
  void add() {
    if (++held == capacity)
      store();
  }
  // Stores the held texts in file order, each replacing an earlier text of its number.
  void store() {
    const size_t count = held;
    held = 0; // an insertion that fails drops the texts after it; the ones before it stay stored
#if defined(__GNUC__)
    for (size_t i = 0; i < count; ++i)
      if (const void* slot = KQBucketSlots::slot(table, numbers[i]))
        __builtin_prefetch(slot, 1);
#endif
    for (size_t i = 0; i < count; ++i)
      table[numbers[i]] = std::move(texts[i]);
  }

private:
  KQMessageTable& table;
  size_t held = 0;
  std::array<std::int32_t, capacity> numbers{};
  std::array<KQCString, capacity> texts;
};
} // namespace

void loadMessages(std::istream& in, KQMessageTable& table, KQMessageObserver* observer) {
  KQMessageReader reader(in, observer != nullptr);
  KQCStringPool texts; // the texts share large blocks: one allocation per block, not one per text
  KQPendingTexts pending(table);
  KQMessageRecordTrace trace;
  try {
    while (reader.more()) { // neither at the end nor failed
      std::int32_t number = 0;
      const std::string_view text = reader.read(number, observer != nullptr ? &trace : nullptr);
      if (!text.empty()) {
        if (text.size() > static_cast<size_t>(INT_MAX - 1))
          throw std::bad_alloc(); // longer than any KQCString
        texts.assign(pending.next(number), text.data(), static_cast<int>(text.size()));
        pending.add();
      }
      if (observer != nullptr)
        observer->record(trace, number, text);
    }
  } catch (...) {
    pending.store(); // what was read before the failure is stored, as if stored record by record
    throw;
  }
  pending.store();
}
