#include "demo_frame.h"

#include "demo_resources.h"
#include "log_writers.h"

#include <kqdiagnostics.h>
#include <kqmessages.h>

#include <cstring>
#include <string>

BEGIN_MESSAGE_MAP(DemoFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_COMMAND(ID_DEMO_INPUT, OnInput)
ON_COMMAND(ID_DEMO_TAKE_INPUT, OnTakeInput)
ON_COMMAND(ID_DEMO_CRITICAL, OnCritical)
ON_COMMAND(ID_DEMO_FONT, OnDisplayFont)
ON_COMMAND(ID_DEMO_OUTPUT_FONT, OnOutputFont)
ON_COMMAND(ID_DEMO_SAVE_OUTPUT, OnSaveOutput)
ON_COMMAND(ID_DEMO_CLEAR_OUTPUT, OnClearOutput)
ON_COMMAND(ID_DEMO_COPY_OUTPUT, OnCopyAllOutput)
ON_COMMAND(ID_DEMO_EXIT, OnExit)
END_MESSAGE_MAP()

DemoFrame::DemoFrame(int writerLines) : m_writerLines(writerLines) {}

DemoFrame::~DemoFrame() = default;

BOOL DemoFrame::CreateAll() {
  const RECT frameRect = {20, 20, 700, 520};
  if (!Create(nullptr, "kqmfc demo", WS_OVERLAPPEDWINDOW, frameRect, nullptr, MAKEINTRESOURCE(IDR_MAINMENU)))
    return FALSE;
  ShowWindow(SW_SHOWNORMAL);
  UpdateWindow();

  m_output = new COutputWindowEx;
  if (!m_output->Create("kqmfc output")) { // deletes itself on failure
    m_output = nullptr;
    return FALSE;
  }
  m_output->MoveWindow(720, 20, 540, 500);

  // This thread's log stream goes to the output window too; its debug stream to the debugger.
  KQDebugInfo& info = GetDebugThreadInfo();
  auto* log = new KQOwnedStream<KQMFCLogBuffer>;
  log->Buffer().setWnd(m_output);
  info.setLogStream(log, 1);
  info.setDebugStream(new KQOwnedStream<KQMFCDebugBuffer>, 1);
  info.LogStream() << "main thread: output window created, starting 3 writers" << std::endl;
  info.DebugStream() << "demo: windows created" << std::endl;

  m_writers = std::make_unique<LogWriters>(m_output, 3, m_writerLines);
  return TRUE;
}

BOOL DemoFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  CWnd* viewer = &m_display;
  if (m_output != nullptr && ::GetFocus() == m_output->GetSafeHwnd())
    viewer = m_output;
  if (viewer->GetSafeHwnd() != nullptr && viewer->OnCmdMsg(id, code, extra, handlerInfo))
    return TRUE;
  return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

int DemoFrame::OnCreate(LPCREATESTRUCT create) {
  if (CFrameWnd::OnCreate(create) == -1)
    return -1;
  const char* displayClass =
      AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  RECT client;
  GetClientRect(&client);
  if (!m_display.CreateEx(WS_EX_CLIENTEDGE, displayClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                          client, this, 1))
    return -1;
  for (long number = 1000; number <= 1003; ++number)
    Show(theMessage(number));
  Show(theMessage(999)); // not in the catalogue: the fixed not-found text
  Show("Both windows are the opt-in COutputWindowEx and CFastDisplayWndEx: scroll\n"
       "with the wheel, the arrows, Page Up/Down, Home/End and Ctrl+Home/End; drag\n"
       "to select (Shift+click extends, double-click takes a word, Ctrl+A all);\n"
       "Ctrl+C copies, Ctrl+F finds (F3 / Shift+F3 next), the Edit menu and a right\n"
       "click have Copy, Select all, Find and Save as.\n");
  return 0;
}

void DemoFrame::OnSize(UINT type, int cx, int cy) {
  CFrameWnd::OnSize(type, cx, cy);
  if (m_display.GetSafeHwnd() != nullptr)
    m_display.MoveWindow(0, 0, cx, cy);
}

void DemoFrame::Show(const char* text) {
  m_display.Display(text, static_cast<int>(std::strlen(text)));
}

void DemoFrame::AskForInput() {
  CString answer;
  CInputDlg dialog(this, answer);
  if (dialog.DoModal() == IDOK) {
    m_display.ReturnInput(answer.GetBuffer(), answer.GetLength());
    answer.ReleaseBuffer(answer.GetLength());
    Show("input queued; Demo > Take pending input shows it\n");
  } else {
    Show("input cancelled\n");
  }
}

void DemoFrame::TakeInput() {
  std::string taken;
  char chunk[16];
  for (int n; (n = m_display.GetInput(chunk, sizeof chunk)) > 0;)
    taken.append(chunk, static_cast<size_t>(n));
  if (taken.empty()) {
    Show("no pending input\n");
    return;
  }
  Show("> ");
  m_display.Display(taken.data(), static_cast<int>(taken.size()));
}

void DemoFrame::ShowCriticalError() {
  KQDebugInfo& info = GetDebugThreadInfo();
  info.CriticalErrorStream() << theMessage(3000);
  info.displayCriticalError(__FILE__, __LINE__, __DATE__);
  Show(info.criticalErrorsHidden ? "critical errors are now silenced on this thread\n"
                                 : "critical error shown\n");
}

void DemoFrame::SaveOutput(const char* path) {
  const int saved = m_output ? m_output->SaveAs(path) : 0;
  Show(saved ? "output window saved\n" : "output window could not be saved\n");
}

int DemoFrame::CopyAllOutput() {
  if (!m_output || !KQCopyAll(*m_output)) {
    Show("output window could not be copied\n");
    return -1;
  }
  int lines = 0;
  if (::OpenClipboard(GetSafeHwnd())) {
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
      if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
        for (const char* p = text; (p = std::strstr(p, "\r\n")) != nullptr; p += 2)
          ++lines;
        ::GlobalUnlock(data);
      }
    }
    ::CloseClipboard();
  }
  Show(("output window copied: " + std::to_string(lines) + " lines on the clipboard\n").c_str());
  return lines;
}

void DemoFrame::OnOutputFont() {
  if (m_output)
    m_output->OnFont();
}

void DemoFrame::OnClearOutput() {
  if (m_output)
    m_output->OnClearBuffer();
}

void DemoFrame::Shutdown() {
  m_writers.reset(); // stops them and waits, pumping; each writer's finish() flushed its log stream
  KQDebugInfo& info = GetDebugThreadInfo();
  if (info.logStream != nullptr) {
    info.LogStream() << "main thread: shutting down" << std::endl;
    info.setLogStream(nullptr, 0); // deletes the owned stream; its buffer is detached with it
  }
  if (m_output != nullptr) {
    m_output->DestroyWindow();
    m_output = nullptr;
  }
}

void DemoFrame::OnClose() {
  Shutdown();
  DestroyWindow();
}

void DemoFrame::OnDestroy() {
  ::PostQuitMessage(0);
}
