// The message-file checker on what its samples (tools/msgcheck/samples, checked against their expected
// reports by the msgcheck_samples test) do not show: every report in its documented form and in the help,
// a bounded quote of a very long line, and the command line's errors.
#include "msgcheck_analysis.h"
#include "msgcheck_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {
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

TEST(MessageChecker, EveryReportIsPrintedInItsDocumentedFormAndTheHelpListsIt) {
  std::set<MsgCheckReport> seen;
  for (const auto& sample : std::filesystem::directory_iterator(KQ_MSGCHECK_SAMPLES)) {
    std::ifstream in(sample.path(), std::ios::binary);
    if (sample.path().extension() != ".msg")
      continue;
    for (const MsgCheckFinding& f : checkMessages(in).findings) {
      seen.insert(f.report);
      const char* form = msgCheckReportInfo(f.report).form;
      EXPECT_TRUE(std::regex_match(f.message, formPattern(form))) << f.message << "\n  form: " << form;
    }
  }
  std::ostringstream help;
  printMsgCheckHelp(help);
  for (std::size_t i = 0; i < msgCheckReportCount; ++i) {
    EXPECT_TRUE(seen.count(msgCheckReports[i].report)) << "no sample prints: " << msgCheckReports[i].form;
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

  // A file that opens but cannot be read (reading a process's memory at address 0 fails): no report.
  EXPECT_EQ(run({"/proc/self/mem"}, out, err), msgCheckError);
  EXPECT_EQ(err, "/proc/self/mem: error: read error after 0 records; the file is not checked\n");
  EXPECT_EQ(out, "");
  std::filesystem::remove_all(dir);
}

// However long the line, a report quotes at most 40 characters of a number, and the number a person sees
// is taken from at most the first 80 characters before the quote.
TEST(MessageChecker, AVeryLongLineIsQuotedInPart) {
  std::istringstream in(std::string(100000, '9') + " \"a\"\n" + std::string(100000, ' ') + "+7 \"b\"\n");
  const std::vector<MsgCheckFinding> found = checkMessages(in).findings;
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].message, "number " + std::string(40, '9') +
                                  "... is beyond the 32-bit range: it goes under number 2147483647");
  EXPECT_EQ(found[1].message, "line starts with two blanks: its record goes under number 0");
}
