// Uses each family of the installed package once; exits 0 and prints "consumer: all checks passed" as
// its last line when every result is the expected one.
#include <kqcstring.h>
#include <kqdiagnostics.h>
#include <kqmessages.h>
#include <kqwindows.h>

#include <cstdio>
#include <cstring>
#include <ostream>

namespace {
int failures = 0;
void check(bool ok, const char* what) {
  if (!ok) {
    std::printf("consumer: FAILED %s\n", what);
    ++failures;
  }
}
} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: consumer <message file>\n");
    return 2;
  }
  check(theMessage.setFile(argv[1]) == 1, "setFile");
  check(std::strcmp(KQGetMessage(7), "seven\n") == 0, "KQGetMessage(7)");
  check(std::strcmp(theMessage(8), "*** Message Not Found...\n") == 0, "not-found text");

  KQDebugInfo& info = GetDebugThreadInfo();
  KQMFCDebugBuffer debugBuffer;
  std::ostream debug(&debugBuffer);
  check(info.setDebugStream(&debug, 0) == nullptr, "setDebugStream");
  info.DebugStream() << "consumer: debug stream" << std::endl;
  info.finish();
  check(info.debugStream == nullptr, "finish");

  COutputWindow window; // no window needed to store lines
  KQMFCLogBuffer logBuffer;
  logBuffer.setWnd(&window);
  std::ostream log(&logBuffer);
  log << "abc" << std::endl;
  logBuffer.setWnd(nullptr);
  check(window.m_lines.GetCount() == 2 && window.m_lines.GetHead() == "abc", "log buffer to output window");

  check(CFastDisplayWnd::compute_scroll_pos_delta(SB_PAGEDOWN, 0, 5, 10, 1, 8) == 5, "scroll rule");
  KQCString text;
  text = "kq";
  text.append('!', 1);
  check(std::strcmp(text.data(), "kq!") == 0, "KQCString");

  std::printf("consumer: %s\n", failures == 0 ? "all checks passed" : "checks failed");
  return failures == 0 ? 0 : 1;
}
