#include "scripted_run.h"

#include "demo_frame.h"
#include "dialog_watcher.h"
#include "log_writers.h"
#include "message_pump.h"
#include "window_capture.h"

#include <kqdiagnostics.h>

#include <cstdio>
#include <vector>

namespace {
// Answers the next dialog of this thread with `command`, after typing `text` into `editId` (when not
// 0) and saving a screenshot of the dialog to `png`.
kqtest::DialogAnswer answer(WORD command, const std::string& png, int editId = 0, const char* text = "") {
  kqtest::DialogAnswer a;
  a.command = command;
  a.editId = editId;
  a.editText = text;
  a.prepare = [png, editId, text](HWND dialog) {
    if (editId != 0)
      ::SetDlgItemTextA(dialog, editId, text);
    ::Sleep(200); // let the dialog finish drawing its frame after it became visible (cosmetic only)
    kqshot::SaveWindowPng(dialog, png);
  };
  return a;
}

struct Report {
  std::vector<std::string> written;
  bool ok = true;
  void add(bool success, const std::string& path) {
    if (success)
      written.push_back(path);
    else {
      std::fprintf(stderr, "demo: could not write %s\n", path.c_str());
      ok = false;
    }
  }
};
} // namespace

int RunScripted(DemoFrame& frame, const std::string& outDir) {
  Report report;
  const std::string frameShot = outDir + "/demo-frame.png";
  const std::string outputShot = outDir + "/demo-output-window.png";
  const std::string inputShot = outDir + "/demo-input-dialog.png";
  const std::string criticalShot = outDir + "/demo-critical-error.png";
  const std::string savedOutput = outDir + "/output-window.txt";
  const std::string selectionShot = outDir + "/demo-selection.png";
  const std::string findShot = outDir + "/demo-find-dialog.png";
  const std::string saveShot = outDir + "/demo-save-dialog.png";
  std::string savedThroughDialog = outDir + "/output-saved-through-dialog.txt";
  if (savedThroughDialog[0] == '/') // typed into the save dialog: a drive letter and backslashes
    savedThroughDialog = "Z:" + savedThroughDialog;
  for (char& c : savedThroughDialog)
    c = c == '/' ? '\\' : c;

  // The writers write a fixed number of lines; the window thread serves them meanwhile.
  if (!frame.Writers()->WaitPumping(120000)) {
    std::fprintf(stderr, "demo: the writers did not finish\n");
    return 1;
  }

  {
    kqtest::DialogWatcher watcher(answer(IDOK, inputShot, IDC_INPUT_EDIT, "typed into the input dialog"));
    frame.AskForInput();
    report.add(watcher.Result().found, inputShot);
  }
  frame.TakeInput();
  {
    kqtest::DialogWatcher watcher(answer(IDYES, criticalShot));
    frame.ShowCriticalError();
    report.add(watcher.Result().found, criticalShot);
  }
  frame.SaveOutput(savedOutput.c_str());
  report.add(true, savedOutput);

  // The opt-in windows' input, as a user's wheel and keys would send it, and the host-called copy.
  COutputWindowEx& output = *frame.Output();
  const int bottom = output.m_vScrollPos;
  ::SendMessageA(output.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  const int wheeled = output.m_vScrollPos;
  ::SendMessageA(output.GetSafeHwnd(), WM_KEYDOWN, VK_PRIOR, 1);
  std::printf("demo: output window: wheel up from line %d to %d, Page Up to %d\n", bottom, wheeled,
              output.m_vScrollPos);
  output.OnVScroll(SB_BOTTOM, 0, nullptr); // back to the newest lines for the screenshot
  std::printf("demo: output window: %d lines copied to the clipboard\n", frame.CopyAllOutput());

  // The log viewer, as a user's mouse and keys would drive it: a line selected, a word found through
  // the find dialog, the lines saved through the save dialog.
  const HWND out = output.GetSafeHwnd();
  const auto rowPoint = [&](int row, int column) {
    return MAKELPARAM(column * output.m_charWidth + 1, row * output.m_lineHeight + output.m_lineHeight / 2);
  };
  output.OnVScroll(SB_TOP, 0, nullptr);
  ::SendMessageA(out, WM_LBUTTONDOWN, MK_LBUTTON, rowPoint(1, 0));
  const int lastColumn = output.m_clientWidth / output.m_charWidth - 1; // inside: the view stays
  ::SendMessageA(out, WM_MOUSEMOVE, MK_LBUTTON, rowPoint(1, lastColumn));
  ::SendMessageA(out, WM_LBUTTONUP, 0, rowPoint(1, lastColumn));
  const KQTextSelection line = output.GetSelection();
  std::printf("demo: output window: selected line %lld, columns %d to %d\n", line.anchor.line,
              line.anchor.column, line.caret.column);
  kqtest::PumpPending();
  report.add(kqshot::SaveWindowPng(out, selectionShot), selectionShot);

  ::SendMessageA(out, WM_COMMAND, ID_EDIT_FIND, 0);
  if (const HWND find = kqtest::FindDialog(::GetCurrentThreadId())) {
    ::SetDlgItemTextA(find, 0x480 /* the find text */, "worker 2");
    kqtest::PumpPending();
    report.add(kqshot::SaveWindowPng(find, findShot), findShot);
    ::SendMessageA(find, WM_COMMAND, IDOK, 0); // Find Next
    const KQTextSelection found = output.GetSelection();
    std::printf("demo: output window: \"worker 2\" found at line %lld, column %d\n", found.anchor.line,
                found.anchor.column);
    ::SendMessageA(find, WM_COMMAND, IDCANCEL, 0);
  } else {
    report.add(false, findShot);
  }

  {
    kqtest::DialogAnswer save = answer(IDOK, saveShot);
    save.prepare = [saveShot, savedThroughDialog](HWND dialog) {
      ::SetDlgItemTextA(dialog, 0x47c /* the file name box, cmb13 */, savedThroughDialog.c_str());
      ::Sleep(200);
      kqshot::SaveWindowPng(dialog, saveShot);
    };
    kqtest::DialogWatcher watcher(save);
    ::SendMessageA(out, WM_COMMAND, ID_FILE_SAVE_AS, 0);
    report.add(watcher.Result().found, saveShot);
    report.add(::GetFileAttributesA(savedThroughDialog.c_str()) != INVALID_FILE_ATTRIBUTES,
               savedThroughDialog);
  }
  output.OnVScroll(SB_BOTTOM, 0, nullptr);

  kqtest::PumpPending();
  report.add(kqshot::SaveWindowPng(frame.GetSafeHwnd(), frameShot), frameShot);
  report.add(kqshot::SaveWindowPng(frame.Output()->GetSafeHwnd(), outputShot), outputShot);

  for (const std::string& path : report.written)
    std::printf("demo: wrote %s\n", path.c_str());
  return report.ok ? 0 : 1;
}
