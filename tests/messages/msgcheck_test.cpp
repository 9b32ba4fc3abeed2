// The message-file checker beyond its samples test: every report in its documented form and in the help,
// and a bounded quote of a very long line.
#include "msgcheck_analysis.h"
#include "msgcheck_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {
// A report's form as a regular expression over the printed message.
std::regex formPattern(std::string form) {
  const std::pair<const char*, const char*> steps[] = {
      {R"([\\^$.|?*+(){}])", R"(\$&)"},         {R"(\[)", "("},           {R"(\])", ")?"},
      {"<c>", R"((\\x[0-9a-f]{2}|\\[nrt]|.))"}, {"<digits>", "[0-9+-]+"}, {"<[a-z]+>", "-?[0-9]+"}};
  for (const auto& [from, to] : steps)
    form = std::regex_replace(form, std::regex(from), to);
  return std::regex(form);
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

// At most 40 characters of a number are quoted, and only the first 80 before the quote are looked at.
TEST(MessageChecker, AVeryLongLineIsQuotedInPart) {
  std::istringstream in(std::string(100000, '9') + " \"a\"\n" + std::string(100000, ' ') + "+7 \"b\"\n");
  const std::vector<MsgCheckFinding> found = checkMessages(in).findings;
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].message, "number " + std::string(40, '9') +
                                  "... is beyond the 32-bit range: it goes under number 2147483647");
  EXPECT_EQ(found[1].message, "line starts with two blanks: its record goes under number 0");
}
