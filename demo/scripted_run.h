// The demo's unattended run: it drives every feature itself, answers its own dialogs, and leaves
// screenshots, the saved output window and a transcript of the debugger output in a folder.
#pragma once

#include <string>

class DemoFrame;

// Runs the script on the frame's thread; returns the process exit code (0 when every file was written).
int RunScripted(DemoFrame& frame, const std::string& outDir);
