// The checker's command line: options, the files named, what goes to standard output and error, and the
// exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses.
constexpr int msgCheckClean = 0;    // every file read to its end, no finding
constexpr int msgCheckFindings = 1; // every file read to its end, at least one finding
constexpr int msgCheckError = 2;    // a usage error, or a file that is missing, a directory or unreadable

// Runs the checker on `args` (the arguments after the program name). "--help" or "-h" as the only argument
// writes the help text to `out` and returns msgCheckClean; no argument writes the usage to `err` and
// returns msgCheckError. Otherwise each argument is a file, opened in text mode: its report goes to `out`;
// a path that is a directory, cannot be opened, or meets a read error before its end gets one line
// "path: error: <why>" on `err` and no report (nothing of a partly read file is reported). Returns the
// highest status met over all files.
int runMsgCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The help text: usage, every report the checker can print (msgCheckReports), the errors and the exit
// statuses.
void printMsgCheckHelp(std::ostream& out);
