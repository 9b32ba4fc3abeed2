// The message-file checker on what its sample file (tools/msgcheck/samples) does not show: each report at
// its line, the help text against the reports printed, and the command line's errors.
#include "msgcheck_analysis.h"
#include "msgcheck_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {
struct Case {
  std::string file, findings;
};

const Case cases[] = {
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
    {"1 \"a\"\n\n\n5 \"b\"\n", "4: record follows two empty lines: it goes under number 0, not 5\n"},
    {"  5 \"b\"\n", "1: line starts with two blanks: its record goes under number 0, not 5\n"},
    {"1 \"a\"\n \n5 \"b\"\n",
     "3: record follows a line holding only a blank: it goes under number 0, not 5\n"},
    // A line of several blanks is not a line starting with two blanks: the record's own line may start
    // with none.
    {"1 \"a\"\n  \n5 \"b\"\n",
     "3: record follows a line holding only blanks: it goes under number 0, not 5\n"},
    {"1 \"a\"\n \t \n  6 \"b\"\n",
     "3: record follows a line holding only blanks: it goes under number 0, not 6\n"},
    {"# one\n# two\n7 \"a\"\n",
     "1: line without a double quote swallows the record on line 3: its text goes under number 0, not 7\n"},
    {"1 \"a\"\n99", "2: no double quote before the end of the file: nothing is stored\n"},
    {std::string("1 \"a\0b\"\n", 8), "1: text holds a NUL byte: look-ups show it only up to there\n"},
    {"1 \"a\\\nb\"\n",
     "1: backslash at the end of the line stores nothing: the line end stays in the text\n"},
    {"1 \"\\\x01\"\n", "1: \\\\x01 stores \"\\x01\" alone: only \\n, \\r, \\t and \\\" are escapes\n"},
    {"1 \"a\\\\b\"\n", "1: \\\\ stores no backslash: there is no escape for a backslash\n"},
    {"1 \"\"\n", "1: empty text: nothing is stored\n"},
    {"4 \"a\"\n4 \"b\"\n", "2: number 4 repeats line 1: the later text replaces the earlier one\n"},
    {"12345678901 \"a\"\n",
     "1: number 12345678901 is beyond the 32-bit range: it goes under number 2147483647\n"},
    {"1 \"open\n", "1: text has no closing double quote: it runs to the end of the file\n"},
};

std::string findings(const std::string& file) {
  std::istringstream in(file);
  std::string out;
  for (const MsgCheckFinding& f : checkMessages(in).findings)
    out += std::to_string(f.line) + ": " + f.message + "\n";
  return out;
}

// A report's form as a regular expression over the printed message.
std::regex formPattern(const std::string& form) {
  std::string re;
  for (std::size_t i = 0; i < form.size(); ++i) {
    const char c = form[i];
    if (c == '<') {
      const std::size_t close = form.find('>', i);
      const std::string name = form.substr(i + 1, close - i - 1);
      re += name == "c" ? "(\\\\x[0-9a-f]{2}|\\\\[nrt]|.)" : name == "digits" ? "[0-9+-]+" : "-?[0-9]+";
      i = close;
    } else if (c == '[') {
      re += "(";
    } else if (c == ']') {
      re += ")?";
    } else {
      if (std::string("\\^$.|?*+(){}").find(c) != std::string::npos)
        re += '\\';
      re += c;
    }
  }
  return std::regex(re);
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::ostringstream o, e;
  const int status = runMsgCheck(args, o, e);
  out = o.str();
  err = e.str();
  return status;
}
} // namespace

TEST(MessageChecker, FindsEachProblemAtItsLineAndNothingInCleanRecords) {
  for (const Case& c : cases)
    EXPECT_EQ(findings(c.file), c.findings) << c.file;
}

TEST(MessageChecker, EveryReportIsPrintedInItsDocumentedFormAndTheHelpListsIt) {
  std::set<MsgCheckReport> seen;
  for (const Case& c : cases) {
    std::istringstream in(c.file);
    for (const MsgCheckFinding& f : checkMessages(in).findings) {
      seen.insert(f.report);
      const char* form = msgCheckReportInfo(f.report).form;
      EXPECT_TRUE(std::regex_match(f.message, formPattern(form))) << f.message << "\n  form: " << form;
    }
  }
  std::ostringstream help;
  printMsgCheckHelp(help);
  for (std::size_t i = 0; i < msgCheckReportCount; ++i) {
    EXPECT_TRUE(seen.count(msgCheckReports[i].report)) << "no case prints: " << msgCheckReports[i].form;
    EXPECT_NE(help.str().find(msgCheckReports[i].form), std::string::npos) << msgCheckReports[i].form;
  }
  for (const char* error : {"is a directory", "cannot open the file", "read error", "Exit status"})
    EXPECT_NE(help.str().find(error), std::string::npos) << error;
}

TEST(MessageChecker, CommandLineErrorsGetAMessageAndStatusTwo) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "msgcheck_test_dir";
  std::filesystem::create_directories(dir);
  const std::string good = (dir / "good.msg").string();
  std::ofstream(good) << "1 \"a\"\n";
  std::string out, err;

  EXPECT_EQ(run({"--help"}, out, err), msgCheckClean);
  EXPECT_NE(out.find("usage: msgcheck"), std::string::npos);
  EXPECT_EQ(run({}, out, err), msgCheckError);
  EXPECT_NE(err.find("usage: msgcheck"), std::string::npos);

  EXPECT_EQ(run({good}, out, err), msgCheckClean);
  EXPECT_EQ(out, good + ": 1 record, 1 stored under 1 number, 0 problems\n");

  // A directory, before or after a good file: an error, and the good file is still reported.
  EXPECT_EQ(run({dir.string(), good}, out, err), msgCheckError);
  EXPECT_EQ(err, dir.string() + ": error: is a directory, not a message file\n");
  EXPECT_EQ(out, good + ": 1 record, 1 stored under 1 number, 0 problems\n");

  EXPECT_EQ(run({(dir / "missing.msg").string()}, out, err), msgCheckError);
  EXPECT_EQ(err, (dir / "missing.msg").string() + ": error: cannot open the file\n");
  EXPECT_EQ(out, "");

  // A file that opens but cannot be read (reading a process's memory at address 0 fails): no report.
  EXPECT_EQ(run({"/proc/self/mem"}, out, err), msgCheckError);
  EXPECT_EQ(err, "/proc/self/mem: error: read error after 0 records; the file is not checked\n");
  EXPECT_EQ(out, "");
  std::filesystem::remove_all(dir);
}
