// Answers one dialog or message box from a watcher thread, so that a test can call a blocking DoModal,
// MessageBox or ChooseFont on its own thread:
//
//   kqtest::DialogWatcher watcher({.command = IDYES});   // watches the calling thread's dialogs
//   int answer = AfxMessageBox("Go on?", MB_YESNO);
//   kqtest::SeenDialog seen = watcher.Result();           // caption and static texts of the box
//
// The watcher polls (every 10 ms, up to a deadline) for a visible "#32770" window of the thread that
// made it, reads its caption and static texts, optionally sets an edit control's text and runs a
// callback on it, then posts WM_COMMAND with the chosen command. A dialog that never appears leaves
// `found` false (nothing is posted). Each watcher answers one dialog.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kqtest {

struct DialogAnswer {
  int editId = 0; // when not 0, this control's text is set to editText first
  std::string editText{};
  std::function<void(HWND)> prepare{}; // when set, runs on the watcher thread before answering
  WORD command = IDOK;                 // posted as WM_COMMAND (BN_CLICKED, no control)
  DWORD timeoutMs = 30000;
};

struct SeenDialog {
  bool found = false;
  std::string caption;
  std::string text; // the static controls' non-empty texts, in child order, joined by '\n'
};

// The caption, or with `className` the class name, of a window of any thread (WM_GETTEXT is marshalled).
inline std::string WindowText(HWND hWnd, bool className = false) {
  char buffer[4096] = {};
  className ? ::GetClassNameA(hWnd, buffer, sizeof(buffer)) : ::GetWindowTextA(hWnd, buffer, sizeof(buffer));
  return buffer;
}

// The first visible dialog of `thread`.
inline HWND FindDialog(DWORD thread) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      thread,
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        if (WindowText(hWnd, true) != "#32770" || !::IsWindowVisible(hWnd))
          return TRUE;
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The non-empty texts of the dialog's "Static" children, joined by '\n'.
inline std::string StaticTexts(HWND hDialog) {
  std::string text;
  auto collect = [](HWND hChild, LPARAM lParam) -> BOOL {
    auto& out = *reinterpret_cast<std::string*>(lParam);
    if (const std::string t = WindowText(hChild); WindowText(hChild, true) == "Static" && !t.empty())
      out += (out.empty() ? "" : "\n") + t;
    return TRUE;
  };
  ::EnumChildWindows(hDialog, collect, reinterpret_cast<LPARAM>(&text));
  return text;
}

class DialogWatcher {
public:
  explicit DialogWatcher(DialogAnswer answer) : m_answer(std::move(answer)), m_thread([this] { Watch(); }) {}
  ~DialogWatcher() {
    if (m_thread.joinable())
      m_thread.join();
  }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // Makes the watcher give up if it has not found its dialog yet (for "no dialog may appear" checks).
  void StopWaiting() { m_stop = true; }

  // Waits for the watcher to finish (it has answered, or given up) and tells what it saw.
  SeenDialog Result() {
    if (m_thread.joinable())
      m_thread.join();
    return m_seen;
  }

private:
  void Watch() {
    const ULONGLONG deadline = ::GetTickCount64() + m_answer.timeoutMs;
    HWND hDialog = nullptr;
    while ((hDialog = FindDialog(m_owner)) == nullptr) {
      if (m_stop || ::GetTickCount64() >= deadline)
        return;
      ::Sleep(10);
    }
    m_seen = {true, WindowText(hDialog), StaticTexts(hDialog)};
    if (m_answer.editId != 0)
      ::SetDlgItemTextA(hDialog, m_answer.editId, m_answer.editText.c_str());
    if (m_answer.prepare)
      m_answer.prepare(hDialog);
    ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(m_answer.command, BN_CLICKED), 0);
  }

  DialogAnswer m_answer;
  DWORD m_owner = ::GetCurrentThreadId(); // the thread whose dialog is answered
  SeenDialog m_seen;
  std::atomic<bool> m_stop{false};
  std::thread m_thread; // last: starts after the fields it uses exist
};

} // namespace kqtest
