// msgcheck: reports, with line numbers, every record of a message file that the catalogue takes
// differently from how it reads to a person. The file is opened exactly as KQMessageManager::setFile opens
// it (text mode), so the report holds for the platform the checker runs on: build it for Windows, and run
// it there or under Wine, to check a file for the Windows library.
//
// Usage: msgcheck FILE...
// Exit status: 0 when no file has a problem, 1 when one has, 2 when a file cannot be opened or no file is
// given.
#include "msgcheck_analysis.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: msgcheck FILE...\n"
                 "Reports every record of a message file that the catalogue reads differently from how it\n"
                 "looks; exit status 1 when there is any, 2 when a file cannot be opened.\n";
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i]);
    if (!in.is_open() || in.fail()) {
      std::cerr << argv[i] << ": cannot open the file\n";
      status = 2;
      continue;
    }
    const MsgCheckResult result = checkMessages(in);
    printReport(argv[i], result, std::cout);
    if (!result.findings.empty() && status == 0)
      status = 1;
  }
  return status;
}
