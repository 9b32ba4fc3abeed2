// The message-file reader: one record at a time from an input stream, exactly as the catalogue reads it
// (the format is described in kqmessages.h). Platform-free; shared by KQMessageManager::setFile, the
// message-file checker (tools/msgcheck) and the fuzz targets.
#pragma once

#include "kqcstring.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

class KQMessageTable;

// How one record was read, for tools that explain a file to people. Lines count from 1; a line feed
// belongs to the line it ends.
struct KQMessageRecordTrace {
  enum class Number { Converted, Saturated, Missing };
  enum class End { NoText, Closed, Unterminated };

  bool consumed = false;   // the record read at least one character
  bool startsLine = false; // its first character began a line
  long firstLine = 0;      // line of its first character
  int firstChar = -1;      // its first character, -1 at the end of the input
  int endChar = -1;        // the character that ended the number part, -1 at the end of the input
  Number number = Number::Missing;
  std::string numberPart;    // the first characters of the number part (at most 40)
  long numberLine = 0;       // line of the number part's last character
  long swallowingLine = 0;   // first line read before the opening quote, up to its line feed, that held
                             // anything but blanks (0: none)
  long firstContentLine = 0; // first line on which the record met anything but blanks (0: none)
  End end = End::NoText;
  long quoteLine = 0;          // line of the opening quote (0: none)
  std::string quoteLinePrefix; // what precedes the opening quote on its line (at most 80 characters)
  long closeLine = 0;          // line of the closing quote, or of the last character of an open text
  int trailer = -1;            // the character read after the closing quote, -1 when none
  long oddEscapeLine = 0;      // first backslash that a person may misread (0: none) ...
  std::string oddEscape;       // ... and what it was: "\\\\" or a backslash and the escaped character
  bool hasNul = false;         // the text holds a NUL byte
};

// Reads records one after the other from a stream. The characters are taken from the stream's buffer a
// chunk at a time (never past what the stream already holds, so an error is met at the byte where it
// occurs), which gives exactly the result of single-character reads. The end of the input and a stream
// error end the record where they occur and are passed on to the stream's state (eofbit and failbit, or
// badbit). One reader reads a stream to its end: the stream's own position runs ahead of the reader's.
class KQMessageReader {
public:
  // The most that one refill takes from the stream's buffer: a stream buffer of this size (see
  // KQMessageManager::setFile) is emptied by one refill.
  static constexpr std::streamsize chunkSize = 128 * 1024;

  // With `tracing` set, the reads can fill a trace.
  explicit KQMessageReader(std::istream& in, bool tracing = false)
      : in(in), tracing(tracing), chunk(new char[chunkSize]), textBuffer(new char[chunkSize]) {}
  KQMessageReader(const KQMessageReader&) = delete;
  KQMessageReader& operator=(const KQMessageReader&) = delete;

  // Reads one record and gives its text, empty when the record yields none; the text stays valid until the
  // next read. Sets `number` when the number part converts (saturated to the 32-bit range) and leaves it as
  // it was otherwise. Fills `trace` when given and tracing is on.
  std::string_view read(std::int32_t& number, KQMessageRecordTrace* trace = nullptr);
  // The same, with the text as a string of its own.
  KQCString readMessage(std::int32_t& number, KQMessageRecordTrace* trace = nullptr);

  // False once the end of the input or an error has been met: no record is left to read.
  bool more() const { return !ended; }

private:
  // One character (0..255), or -1 at the end of the input or on a stream error.
  int next() {
    if (pos == end && !refill())
      return -1;
    const int ch = static_cast<unsigned char>(*pos++);
    if (tracing)
      follow(ch);
    return ch;
  }
  // Reads one record whole from the chunk, when it lies within it, without following it for a trace: the
  // text goes to textBuffer and the end of the text is given. Gives null, having consumed nothing and with
  // `number` unchanged, when the record runs past the chunk.
  const char* readWithinChunk(std::int32_t& number);
  // Reads one record character by character, following it for `trace` when tracing.
  void readByCharacter(std::int32_t& number, std::string& text, KQMessageRecordTrace* trace);
  bool refill();
  void follow(int ch);

  std::istream& in;
  bool tracing;
  bool ended = false;
  std::unique_ptr<char[]> chunk;
  const char* pos = chunk.get();
  const char* end = chunk.get();
  std::unique_ptr<char[]> textBuffer; // a text read within the chunk; never longer than the chunk
  std::string text;                   // a text read character by character
  // Position, kept while tracing.
  long line = 1;     // line of the next character
  long lastLine = 1; // line of the character last read
  bool atLineStart = true;
  std::string linePrefix; // characters read so far on the current line
};

// Receives each record that loadMessages reads, with its trace.
class KQMessageObserver {
public:
  virtual void record(const KQMessageRecordTrace& trace, std::int32_t number, std::string_view text) = 0;

protected:
  ~KQMessageObserver() = default;
};

// The catalogue's load loop: until the stream is at its end or reports an error, read one record (number
// reset to 0 first) and store a non-empty text under its number, replacing any earlier text; the texts of
// one load share the blocks of one KQCStringPool. Does not empty the table first. The texts are stored a
// few dozen records at a time, in file order, with the same result as one at a time; when memory runs out,
// the texts read before the failure are stored (as far as memory allows) before std::bad_alloc passes on.
// Tells `observer`, when given, about every record read, stored or not (the table may not hold it yet).
void loadMessages(std::istream& in, KQMessageTable& table, KQMessageObserver* observer = nullptr);
