// The checker's command line.
#include "msgcheck_run.h"

#include "msgcheck_analysis.h"
#include "msgcheck_reports.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {
const char usage[] = "usage: msgcheck FILE...\n       msgcheck --help\n";

// One file: its report, or the reason it has none.
int checkFile(const std::string& path, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    err << path << ": error: is a directory, not a message file\n";
    return msgCheckError;
  }
  std::ifstream in(path);
  if (!in.is_open()) {
    err << path << ": error: cannot open the file\n";
    return msgCheckError;
  }
  const MsgCheckResult result = checkMessages(in);
  if (in.bad()) {
    err << path << ": error: read error after " << result.records
        << (result.records == 1 ? " record" : " records") << "; the file is not checked\n";
    return msgCheckError;
  }
  printReport(path, result, out);
  return result.findings.empty() ? msgCheckClean : msgCheckFindings;
}
} // namespace

void printMsgCheckHelp(std::ostream& out) {
  out << usage
      << "\n"
         "Reads each message FILE exactly as the catalogue (KQMessageManager::setFile) reads it, in text\n"
         "mode, and reports every record that the catalogue takes differently from how it reads to a "
         "person.\n"
         "Each finding is one line \"FILE:LINE: MESSAGE\"; a summary line \"FILE: R records, S stored under\n"
         "N numbers, P problems\" follows the findings of each file.\n"
         "\n"
         "Messages (<line>, <number> and <seen> stand for numbers, <digits> for digits as written, <c> for "
         "a\n"
         "character; the part in [] is printed when the number stored differs from the one on the line):\n";
  for (std::size_t i = 0; i < msgCheckReportCount; ++i)
    out << "\n  " << msgCheckReports[i].form << "\n      " << msgCheckReports[i].meaning << ".\n";
  out << "\n"
         "Errors, on standard error; such a file gets no report:\n"
         "\n"
         "  FILE: error: is a directory, not a message file\n"
         "  FILE: error: cannot open the file\n"
         "      missing, or not readable by this user.\n"
         "  FILE: error: read error after R records; the file is not checked\n"
         "      the file opened, but reading it failed before its end.\n"
         "\n"
         "Exit status: 0 when every file was read and has no finding, 1 when one has a finding, 2 on an\n"
         "error or when no FILE is given.\n";
}

int runMsgCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    printMsgCheckHelp(out);
    return msgCheckClean;
  }
  if (args.empty()) {
    err << usage << "Try 'msgcheck --help' for the reports it prints.\n";
    return msgCheckError;
  }
  int status = msgCheckClean;
  for (const std::string& path : args)
    status = std::max(status, checkFile(path, out, err));
  return status;
}
