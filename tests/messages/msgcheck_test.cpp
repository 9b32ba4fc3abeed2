// The message-file checker on what its sample file (tools/msgcheck/samples) does not show.
#include "msgcheck_analysis.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {
std::string findings(const std::string& file) {
  std::istringstream in(file);
  std::string out;
  for (const MsgCheckFinding& f : checkMessages(in).findings)
    out += std::to_string(f.line) + ": " + f.message + "\n";
  return out;
}
} // namespace

TEST(MessageChecker, FindsEachProblemAtItsLineAndNothingInCleanRecords) {
  const struct {
    std::string file, findings;
  } cases[] = {
      {"1 \"a\" tail\n2 \"b\"\n", "1: text after the closing double quote swallows the record on line 2: its "
                                  "text goes under number 0, not 2\n"},
      // Clean: escapes, a text over two lines, one blank before the number or after the closing quote (before
      // a digit), one empty line, blank lines after the last record.
      {"1\t\"Say \\\"yes\\\"\\n\"\n 2 \"b\" \n3 \"two\nlines\"\n-3 \"c\"\n\n0 \"d\"\n4 \"e\"\n\n\n", ""},
      {"1 \"a\" \n-3 \"b\"\n",
       "1: blanks after the closing double quote: the record on line 2 goes under number 0, not -3\n"},
      {"x5 \"a\"\n", "1: record does not start with a number: it goes under number 0\n"},
      {"1 \"a\"\n\n 5 \"b\"\n",
       "3: line starts with a blank after an empty line: its record goes under number 0, not 5\n"},
      {"1 \"a\"\n \n5 \"b\"\n",
       "3: record follows a line holding only a blank: it goes under number 0, not 5\n"},
      {"# one\n# two\n7 \"a\"\n",
       "1: line without a double quote swallows the record on line 3: its text goes under number 0, not 7\n"},
      {"1 \"a\"\n99", "2: no double quote before the end of the file: nothing is stored\n"},
      {std::string("1 \"a\0b\"\n", 8), "1: text holds a NUL byte: look-ups show it only up to there\n"},
      {"1 \"a\\\nb\"\n",
       "1: backslash at the end of the line stores nothing: the line end stays in the text\n"},
      {"1 \"\\\x01\"\n", "1: \\\\x01 stores \"\\x01\" alone: only \\n, \\r, \\t and \\\" are escapes\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findings(c.file), c.findings) << c.file;
}
