// Following a record for its trace, step by step as the reader reads it.
#include "msgcheck_trace.h"

#include "kqmessageloader.h"

#include <utility>

template class KQBasicMessageReader<KQRecordTracer>;

void KQRecordTracer::character(int ch) {
  if (atLineStart)
    linePrefix.clear();
  if (ch != '\n' && linePrefix.size() < KQMessageRecordTrace::linePrefixKept)
    linePrefix.push_back(static_cast<char>(ch));
  lastLine = line;
  atLineStart = ch == '\n';
  if (atLineStart)
    ++line;
}

void KQRecordTracer::begin() {
  record = KQMessageRecordTrace{};
  record.startsLine = atLineStart; // before the record's first character is read
  content = false;
}

void KQRecordTracer::first(int c) {
  see(c);
  record.consumed = true;
  record.firstLine = record.numberLine = lastLine;
  record.firstChar = c;
  record.numberPart.push_back(static_cast<char>(c));
}

void KQRecordTracer::digit(int c) {
  see(c);
  if (record.numberPart.size() < KQMessageRecordTrace::numberPartKept)
    record.numberPart.push_back(static_cast<char>(c));
}

void KQRecordTracer::number(int c, const kqreader::NumberPart& part) {
  using Number = KQMessageRecordTrace::Number;
  record.endChar = c;
  record.number = !part.converts()   ? Number::Missing
                  : part.saturated() ? Number::Saturated
                                     : Number::Converted;
}

void KQRecordTracer::opened() {
  record.end = KQMessageRecordTrace::End::Unterminated;
  record.quoteLine = record.closeLine = lastLine;
  record.quoteLinePrefix = linePrefix;
  if (!record.quoteLinePrefix.empty() && record.quoteLinePrefix.back() == '"')
    record.quoteLinePrefix.pop_back();
}

void KQRecordTracer::backslash(bool again) {
  if (again)
    odd("\\\\");
}

void KQRecordTracer::escaped(int c) {
  if (c != 'n' && c != 'r' && c != 't' && c != '"')
    odd(std::string("\\") + static_cast<char>(c));
}

void KQRecordTracer::closed() {
  record.end = KQMessageRecordTrace::End::Closed;
}

void KQRecordTracer::see(int c) {
  if (c == '\n') {
    if (content && record.swallowingLine == 0)
      record.swallowingLine = lastLine;
    content = false;
  } else if (c != ' ' && c != '\t' && c != '\r' && c != '\v' && c != '\f') {
    content = true;
    if (record.firstContentLine == 0)
      record.firstContentLine = lastLine;
  }
}

void KQRecordTracer::odd(std::string what) {
  if (record.oddEscapeLine == 0) {
    record.oddEscapeLine = lastLine;
    record.oddEscape = std::move(what);
  }
}

void loadTracedMessages(std::istream& in, KQMessageTable& table, KQMessageObserver& observer) {
  KQTracedMessageReader reader(in);
  kqLoadRecords(reader, table, [&](std::int32_t number, std::string_view text) {
    observer.record(reader.trace.record, number, text);
  });
}
