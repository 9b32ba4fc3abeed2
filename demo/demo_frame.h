// The demo host's main frame: a fast display window filling its client area, a menu of the library's
// features, and the output window beside it, fed by worker threads. Both windows are the library's opt-in
// classes (kqwindowsex.h): log viewers that scroll with the wheel and the keys, select with the mouse,
// copy, find and save. The frame's Edit menu reaches the focused one by command routing (OnCmdMsg).
#pragma once

#include <afxwin.h>
#include <kqwindowsex.h>

#include <memory>

class LogWriters;

class DemoFrame : public CFrameWnd {
public:
  // writerLines: lines each worker writes (0: until the frame closes).
  explicit DemoFrame(int writerLines);
  ~DemoFrame() override;

  // Creates the frame, its fast display child and the output window, and starts the writers.
  BOOL CreateAll();

  // The features, as the menu runs them (the scripted run calls them directly).
  void AskForInput();       // the input dialog; its text is queued as pending input of the display
  void TakeInput();         // takes the pending input back and shows it
  void ShowCriticalError(); // a critical error from the catalogue, in the Yes/No box
  void SaveOutput(const char* path);
  // Every line of the output window to the clipboard (the host-called copy); the number of lines copied,
  // or -1 when the copy failed.
  int CopyAllOutput();

  // Stops and joins the writers (keeping this thread's messages flowing), detaches every log buffer
  // from the output window and destroys it. Idempotent; run before the frame goes away.
  void Shutdown();

  CFastDisplayWndEx& Display() { return m_display; }
  COutputWindowEx* Output() const { return m_output; }
  LogWriters* Writers() const { return m_writers.get(); }

  // Commands and their menu states go first to the viewer that has the keyboard focus (the fast display
  // window when neither has it), then to the frame.
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnInput() { AskForInput(); }
  afx_msg void OnTakeInput() { TakeInput(); }
  afx_msg void OnCritical() { ShowCriticalError(); }
  afx_msg void OnDisplayFont() { m_display.OnFont(); }
  afx_msg void OnOutputFont();
  afx_msg void OnSaveOutput() { SaveOutput("kqmfc-output.txt"); }
  afx_msg void OnClearOutput();
  afx_msg void OnCopyAllOutput() { CopyAllOutput(); }
  afx_msg void OnExit() { OnClose(); }

private:
  void Show(const char* text);

  int m_writerLines;
  CFastDisplayWndEx m_display;
  COutputWindowEx* m_output = nullptr; // deletes itself when its window is destroyed
  std::unique_ptr<LogWriters> m_writers;

  DECLARE_MESSAGE_MAP()
};
