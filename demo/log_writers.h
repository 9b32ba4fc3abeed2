// Worker threads of the demo host, each writing to the output window through its own log stream (a
// KQMFCLogBuffer attached to its thread's diagnostic record) and to the debugger through its debug stream.
#pragma once

#include <afxwin.h>

#include <vector>

class COutputWindow;

class LogWriters {
public:
  // Starts `count` writers on `window`; each writes `linesEach` lines, or, when linesEach is 0, a line
  // every few hundred milliseconds until Stop.
  LogWriters(COutputWindow* window, int count, int linesEach);
  // Stops the writers and waits for them, dispatching the calling thread's messages meanwhile.
  ~LogWriters();
  LogWriters(const LogWriters&) = delete;
  LogWriters& operator=(const LogWriters&) = delete;

  void Stop();
  // Waits until every writer has ended, dispatching messages (the writers' Display calls end in
  // scroll-bar calls on the window, which its thread must serve). False when timeoutMs passed first.
  bool WaitPumping(DWORD timeoutMs);

private:
  struct Writer {
    LogWriters* owner;
    int id;
  };
  static DWORD WINAPI Run(void* parameter);

  COutputWindow* m_window;
  int m_linesEach;
  HANDLE m_stop;
  std::vector<Writer> m_writers;
  std::vector<HANDLE> m_threads;
};
