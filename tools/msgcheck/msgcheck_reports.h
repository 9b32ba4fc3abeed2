// Every report the message-file checker can print, with the form it takes and what it means; the findings
// name their report, and `msgcheck --help` prints this list.
#pragma once

#include <cstddef>

enum class MsgCheckReport {
  TextAfterQuote,
  BlanksAfterQuote,
  LineWithoutQuote,
  TwoBlanks,
  TwoEmptyLines,
  BlankAfterEmptyLine,
  OneBlankLine,
  BlanksLine,
  NoNumber,
  NoQuoteAtEnd,
  BeyondRange,
  Unterminated,
  DoubleBackslash,
  BackslashAtLineEnd,
  UnknownEscape,
  NulByte,
  EmptyText,
  RepeatedNumber,
};

struct MsgCheckReportInfo {
  MsgCheckReport report;
  // The message as printed after "file:line: ". <line>, <number> and <seen> stand for numbers, <digits>
  // for the digits as written, <c> for one character as printed; [...] is printed only when the number
  // the catalogue uses differs from the one a person sees.
  const char* form;
  const char* meaning; // one sentence for the help text
};

extern const MsgCheckReportInfo msgCheckReports[];
extern const std::size_t msgCheckReportCount;

// The entry of `report` in msgCheckReports.
const MsgCheckReportInfo& msgCheckReportInfo(MsgCheckReport report);
