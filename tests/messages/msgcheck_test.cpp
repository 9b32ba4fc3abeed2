// The message-file checker's findings on the cases that its sample file does not show.
#include "msgcheck_analysis.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {
std::vector<std::string> findings(const std::string& file) {
  std::istringstream in(file);
  std::vector<std::string> out;
  for (const MsgCheckFinding& f : checkMessages(in).findings)
    out.push_back(std::to_string(f.line) + ": " + f.message);
  return out;
}
using Lines = std::vector<std::string>;
} // namespace

TEST(MessageChecker, ACleanFileHasNoFindingsAndIsCounted) {
  const std::string clean = "1\t\"Say \\\"yes\\\"\\n\"\n"
                            " 2 \"one blank before, one after\" \n"
                            "3\t\"two\n"
                            "lines\"\n"
                            "-3 \"minus three\"\n"
                            "\n"
                            "0 \"after one empty line\"\n"
                            "4 \"no line end\"";
  std::istringstream in(clean + "\n\n\n"); // blank lines at the end are no record
  const MsgCheckResult result = checkMessages(in);
  EXPECT_TRUE(result.findings.empty()) << result.findings.front().message;
  EXPECT_EQ(result.records, 6u);
  EXPECT_EQ(result.stored, 6u);
  EXPECT_EQ(result.numbers, 6u);
  EXPECT_EQ(findings(clean), Lines{});
}

TEST(MessageChecker, RecordsThatGoUnderAnotherNumber) {
  EXPECT_EQ(findings("1 \"a\" tail\n2 \"b\"\n"),
            Lines{"1: text after the closing double quote swallows the record on line 2: its text goes under "
                  "number 0, not 2"});
  EXPECT_EQ(
      findings("1 \"a\" \n-3 \"b\"\n"),
      Lines{"1: blanks after the closing double quote: the record on line 2 goes under number 0, not -3"});
  EXPECT_EQ(findings("1 \"a\" \n3 \"b\"\n"), Lines{}); // one blank before a digit is harmless
  EXPECT_EQ(findings("x5 \"a\"\n"), Lines{"1: record does not start with a number: it goes under number 0"});
  EXPECT_EQ(findings("-\"a\"\n"), Lines{"1: record does not start with a number: it goes under number 0"});
  EXPECT_EQ(findings("\n\n5 \"a\"\n"),
            Lines{"3: record follows two empty lines: it goes under number 0, not 5"});
  EXPECT_EQ(findings("\t 5 \"a\"\n"),
            Lines{"1: line starts with two blanks: its record goes under number 0, not 5"});
  EXPECT_EQ(findings("1 \"a\"\n\n 5 \"b\"\n"),
            Lines{"3: line starts with a blank after an empty line: its record goes under number 0, not 5"});
  EXPECT_EQ(findings("1 \"a\"\n \n5 \"b\"\n"),
            Lines{"3: record follows a line holding only a blank: it goes under number 0, not 5"});
  EXPECT_EQ(
      findings("# one\n# two\n7 \"a\"\n"),
      Lines{"1: line without a double quote swallows the record on line 3: its text goes under number 0, "
            "not 7"});
}

TEST(MessageChecker, RecordsThatStoreOtherTextOrNone) {
  EXPECT_EQ(findings("1 \"a\"\n99"),
            Lines{"2: no double quote before the end of the file: nothing is stored"});
  EXPECT_EQ(findings(std::string("1 \"a\0b\"\n", 8)),
            Lines{"1: text holds a NUL byte: look-ups show it only up to there"});
  EXPECT_EQ(findings("1 \"a\\\nb\"\n"),
            Lines{"1: backslash at the end of the line stores nothing: the line end stays in the text"});
  EXPECT_EQ(findings("1 \"tab\\\\t\"\n"),
            Lines{"1: \\\\ stores no backslash: there is no escape for a backslash"});
  EXPECT_EQ(findings("1 \"\\\x01\"\n"),
            Lines{"1: \\\\x01 stores \"\\x01\" alone: only \\n, \\r, \\t and \\\" are escapes"});
}

TEST(MessageChecker, ReportEndsWithItsCounts) {
  std::istringstream in("1 \"a\"\n1 \"b\"\n");
  std::ostringstream out;
  printReport("x.msg", checkMessages(in), out);
  EXPECT_EQ(out.str(), "x.msg:2: number 1 repeats line 1: the later text replaces the earlier one\n"
                       "x.msg: 2 records, 2 stored under 1 number, 1 problem\n");
}
