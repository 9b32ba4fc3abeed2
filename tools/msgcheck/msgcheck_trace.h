// The catalogue's reader with a trace: how each record was read, for explaining a file to people. The
// tracing policy lives here, with the checker, so that the reader built into the library has none.
#pragma once

#include "kqmessagereader.h"

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

class KQMessageTable;

// How one record was read. Lines count from 1; a line feed belongs to the line it ends.
struct KQMessageRecordTrace {
  enum class Number { Converted, Saturated, Missing };
  enum class End { NoText, Closed, Unterminated };

  bool consumed = false;   // the record read at least one character
  bool startsLine = false; // its first character began a line
  long firstLine = 0;      // line of its first character
  int firstChar = -1;      // its first character, -1 at the end of the input
  int endChar = -1;        // the character that ended the number part, -1 at the end of the input
  Number number = Number::Missing;
  std::string numberPart;    // the first characters of the number part (at most numberPartKept)
  long numberLine = 0;       // line of the number part's first character
  long swallowingLine = 0;   // first line read before the opening quote, up to its line feed, that held
                             // anything but blanks (0: none)
  long firstContentLine = 0; // first line on which the record met anything but blanks (0: none)
  End end = End::NoText;
  long quoteLine = 0;          // line of the opening quote (0: none)
  std::string quoteLinePrefix; // what precedes the opening quote on its line (at most linePrefixKept)
  long closeLine = 0;          // line of the closing quote, or of the last character of an open text
  int trailer = -1;            // the character read after the closing quote, -1 when none
  long oddEscapeLine = 0;      // first backslash that a person may misread (0: none) ...
  std::string oddEscape;       // ... and what it was: "\\\\" or a backslash and the escaped character
  bool hasNul = false;         // the text holds a NUL byte

  // However long a line or a number, a report quotes a bounded part of it.
  static constexpr size_t numberPartKept = 40;
  static constexpr size_t linePrefixKept = 80;
};

// The trace policy: follows the lines and fills `record` for the record being read.
class KQRecordTracer {
public:
  static constexpr bool enabled = true;
  void character(int ch);
  void begin();
  void first(int c);
  void digit(int c);
  void number(int c, const kqreader::NumberPart& part);
  void skipped(int c) { see(c); }
  void opened();
  void inText() { record.closeLine = lastLine; }
  void backslash(bool again);
  void escaped(int c);
  void stored(char c) { record.hasNul = record.hasNul || c == '\0'; }
  void closed();
  void trailer(int c) { record.trailer = c; }

  KQMessageRecordTrace record;

private:
  void see(int c); // a character before the opening quote: which lines held more than blanks
  void odd(std::string what);

  long line = 1;     // line of the next character
  long lastLine = 1; // line of the character last read
  bool atLineStart = true;
  bool content = false;   // the current line held more than blanks before the opening quote
  std::string linePrefix; // characters read so far on the current line (at most linePrefixKept)
};

using KQTracedMessageReader = KQBasicMessageReader<KQRecordTracer>;

// Receives each record that loadTracedMessages reads, with its trace.
class KQMessageObserver {
public:
  virtual void record(const KQMessageRecordTrace& trace, std::int32_t number, std::string_view text) = 0;

protected:
  ~KQMessageObserver() = default;
};

// The catalogue's load (kqLoadRecords) with the traced reader, telling `observer` about every record read,
// stored or not (the table may not hold it yet).
void loadTracedMessages(std::istream& in, KQMessageTable& table, KQMessageObserver& observer);
