// msgcheck: reports, with line numbers, every record of a message file that the catalogue takes
// differently from how it reads to a person. The file is opened exactly as KQMessageManager::setFile opens
// it (text mode), so the report holds for the platform the checker runs on: build it for Windows, and run
// it there or under Wine, to check a file for the Windows library.
//
// Usage: msgcheck FILE... | msgcheck --help (every report it can print, the errors, the exit statuses).
#include "msgcheck_run.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  return runMsgCheck(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
