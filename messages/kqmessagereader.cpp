// Reading message-file records: number part, skip to the opening quote, escaped text, one trailer character.
#include "kqmessagereader.h"

#include "kqmessages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ios>
#include <string>

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
    n = std::min<std::streamsize>(buffer->in_avail(), sizeof(chunk));
    if (n <= 1) {
      chunk[0] = traits::to_char_type(buffer->sbumpc());
      n = 1;
    } else {
      n = buffer->sgetn(chunk, n);
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
  pos = chunk;
  end = chunk + n;
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

void KQMessageReader::readMessage(std::int32_t& number, std::string& text, KQMessageRecordTrace* trace) {
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
      const char* run = pos;
      while (run != end && *run != '"' && *run != '\\')
        ++run;
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

namespace {
// KQCString is filled from a NUL-terminated string in one step; a text with NUL bytes goes byte by byte.
void assign(KQCString& target, const std::string& text) {
  if (text.find('\0') == std::string::npos) {
    target = text.c_str();
    return;
  }
  KQCString bytes;
  for (char c : text)
    bytes.append(c, 1);
  target = bytes;
}
} // namespace

KQCString KQMessageReader::readMessage(std::int32_t& number, KQMessageRecordTrace* trace) {
  std::string text;
  readMessage(number, text, trace);
  KQCString result;
  assign(result, text);
  return result;
}

void loadMessages(std::istream& in, KQMessageTable& table, KQMessageObserver* observer) {
  KQMessageReader reader(in, observer != nullptr);
  KQMessageRecordTrace trace;
  std::string text;
  while (reader.more()) { // neither at the end nor failed
    std::int32_t number = 0;
    reader.readMessage(number, text, observer != nullptr ? &trace : nullptr);
    if (!text.empty()) {
      const size_t before = table.getCount();
      KQCString& stored = table[number];
      try {
        assign(stored, text);
      } catch (...) {
        if (table.getCount() != before)
          table.removeKey(number); // no empty entry left behind by a text that could not be stored
        throw;
      }
    }
    if (observer != nullptr)
      observer->record(trace, number, text);
  }
}
