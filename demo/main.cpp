// kqdemo: a host application of kqmfc.dll. It uses every exported part as a real host would: a main
// frame with a fast display window (input queued and taken), an output window fed by worker threads
// through their log streams, debug streams to the debugger output, the input dialog from its own
// resources, a message catalogue loaded from a file, and a critical-error box.
//
//   kqdemo                       opens the windows for a person to use (Demo menu)
//   kqdemo --scripted DIR        runs unattended: answers its own dialogs, saves screenshots, the output
//                                window's text and the debugger output under DIR, exits 0 on success
#include <afxwin.h> // an MFC host's first header: the framework brings <windows.h> itself

#include "debug_output_capture.h"
#include "demo_frame.h"
#include "scripted_run.h"

#include <kqdiagnostics.h>
#include <kqmessages.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {
std::string executableDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of("\\/"));
}

bool writeTranscript(const std::vector<std::string>& calls, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& call : calls)
    out << call;
  return static_cast<bool>(out);
}

int runInteractive() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // As the framework's pump does: the windows' PreTranslateMessage first, which gives the modeless
    // find dialog its keyboard (Tab, Enter, Escape).
    if (CWnd::WalkPreTranslateTree(nullptr, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
} // namespace

int main(int argc, char** argv) {
  const bool scripted = argc >= 3 && std::strcmp(argv[1], "--scripted") == 0;
  const std::string outDir = scripted ? argv[2] : "";
  DebugOutputCapture transcript(DebugOutputCapture::Threads::All);

  const std::string catalogue = executableDir() + "\\messages.txt";
  if (!theMessage.setFile(catalogue.c_str()))
    std::fprintf(stderr, "demo: %s not found; every message shows the not-found text\n", catalogue.c_str());

  auto* frame = new DemoFrame(scripted ? 40 : 0); // a frame deletes itself when its window goes
  if (!frame->CreateAll()) {
    std::fprintf(stderr, "demo: the windows could not be created\n");
    return 1;
  }

  int result = scripted ? RunScripted(*frame, outDir) : runInteractive();
  if (scripted) {
    frame->Shutdown();
    frame->DestroyWindow();
  }
  GetDebugThreadInfo().finish();

  if (scripted) {
    const std::string transcriptPath = outDir + "/debug-output.txt";
    if (writeTranscript(transcript.calls(), transcriptPath))
      std::printf("demo: wrote %s\n", transcriptPath.c_str());
    else
      result = 1;
  }
  return result;
}
