#include "log_writers.h"

#include "message_pump.h"

#include <kqdiagnostics.h>
#include <kqmessages.h>
#include <kqwindows.h>

LogWriters::LogWriters(COutputWindow* window, int count, int linesEach)
    : m_window(window), m_linesEach(linesEach), m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  m_writers.reserve(count);
  for (int i = 0; i < count; ++i) {
    m_writers.push_back({this, i + 1});
    if (HANDLE thread = CreateThread(nullptr, 0, &LogWriters::Run, &m_writers.back(), 0, nullptr))
      m_threads.push_back(thread);
  }
}

LogWriters::~LogWriters() {
  Stop();
  WaitPumping(INFINITE);
  for (HANDLE thread : m_threads)
    CloseHandle(thread);
  CloseHandle(m_stop);
}

void LogWriters::Stop() {
  SetEvent(m_stop);
}

bool LogWriters::WaitPumping(DWORD timeoutMs) {
  for (HANDLE thread : m_threads)
    if (!kqtest::WaitPumping(thread, timeoutMs))
      return false;
  return true;
}

DWORD WINAPI LogWriters::Run(void* parameter) {
  const Writer& writer = *static_cast<Writer*>(parameter);
  LogWriters& owner = *writer.owner;

  KQDebugInfo& info = GetDebugThreadInfo();
  auto* log = new KQOwnedStream<KQMFCLogBuffer>;
  log->Buffer().setWnd(owner.m_window);
  info.setLogStream(log, 1);
  info.setDebugStream(new KQOwnedStream<KQMFCDebugBuffer>, 1);
  info.setWarningStream(&info.DebugStream(), 0); // warnings to the debugger too; owned once, as debug

  info.DebugStream() << "worker " << writer.id << " started" << std::endl;
  int written = 0;
  for (int line = 1; owner.m_linesEach == 0 || line <= owner.m_linesEach; ++line) {
    info.LogStream() << theMessage(2000) << ' ' << writer.id << "\tline " << line
                     << "\tthrough KQMFCLogBuffer, one Display call per std::endl" << std::endl;
    if (line % 25 == 0)
      info.DebugStream() << "worker " << writer.id << " wrote " << line << " lines" << std::endl;
    written = line;
    const DWORD pause = owner.m_linesEach == 0 ? 400 : 0;
    if (WaitForSingleObject(owner.m_stop, pause) == WAIT_OBJECT_0)
      break;
  }
  info.WarningStream() << "worker " << writer.id << " stopping after " << written << " lines" << std::endl;
  info.finish(); // deletes the owned streams: their last text reaches the window and the debugger
  return 0;
}
