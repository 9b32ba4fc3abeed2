// The message-file checker's analysis: reads a message file with the catalogue's own reader and finds
// every record that the catalogue takes differently from how the file reads to a person.
#pragma once

#include "msgcheck_reports.h"

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct MsgCheckFinding {
  long line;             // where a person should look
  MsgCheckReport report; // which of the checker's reports
  std::string message;   // what the catalogue does there
};

struct MsgCheckResult {
  std::size_t records = 0;               // records read (a trailing empty remainder is not one)
  std::size_t stored = 0;                // records whose text is stored
  std::size_t numbers = 0;               // distinct numbers in the loaded catalogue
  std::vector<MsgCheckFinding> findings; // ordered by line
};

// Reads `in` to its end. Looks for: records stored under 0 because they start with two blanks, follow two
// empty lines or a line of blanks, or start with no number; lines without a double quote that swallow the
// next record; blanks or text after a closing quote that move the next record; empty texts; repeated numbers;
// numbers beyond the 32-bit range; backslashes that store no backslash; NUL bytes; an unterminated last text;
// a last record without text.
MsgCheckResult checkMessages(std::istream& in);

// Writes one "name:line: message" line per finding, then "name: <counts>".
void printReport(const std::string& name, const MsgCheckResult& result, std::ostream& out);
