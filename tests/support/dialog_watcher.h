// Answers the next dialog (a visible "#32770" window) of the thread that made it, from a watcher thread,
// so that the test can block in DoModal or a message box: reads what it shows, optionally types into an
// edit control and runs a callback, then posts the command. Not found before the deadline: `found` false.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kqtest {

struct DialogAnswer {
  int editId = 0; // when not 0, gets editText first
  std::string editText{};
  std::function<void(HWND)> prepare{};
  WORD command = IDOK;
  DWORD timeoutMs = 30000;
};

struct SeenDialog {
  bool found = false;
  std::string caption;
  std::string text; // StaticTexts
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
  explicit DialogWatcher(DialogAnswer answer) : m_answers{std::move(answer)}, m_thread([this] { Watch(); }) {}
  // Two dialogs in turn, the second once the first has closed; Result() tells of the last one seen.
  DialogWatcher(DialogAnswer first, DialogAnswer then)
      : m_answers{std::move(first), std::move(then)}, m_thread([this] { Watch(); }) {}
  ~DialogWatcher() {
    if (m_thread.joinable())
      m_thread.join();
  }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // For "no dialog may appear" checks: give up unless already found.
  void StopWaiting() { m_stop = true; }

  SeenDialog Result() {
    if (m_thread.joinable())
      m_thread.join();
    return m_seen;
  }

private:
  void Watch() {
    for (const DialogAnswer& answer : m_answers) {
      const ULONGLONG deadline = ::GetTickCount64() + answer.timeoutMs;
      HWND hDialog = nullptr;
      while ((hDialog = FindDialog(m_owner)) == nullptr) {
        if (m_stop || ::GetTickCount64() >= deadline)
          return;
        ::Sleep(10);
      }
      m_seen = {true, WindowText(hDialog), StaticTexts(hDialog)};
      if (answer.editId != 0)
        ::SetDlgItemTextA(hDialog, answer.editId, answer.editText.c_str());
      if (answer.prepare)
        answer.prepare(hDialog);
      ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(answer.command, BN_CLICKED), 0);
      while (&answer != &m_answers.back() && ::IsWindow(hDialog))
        ::Sleep(10);
    }
  }

  std::vector<DialogAnswer> m_answers;
  DWORD m_owner = ::GetCurrentThreadId(); // the thread whose dialog is answered
  SeenDialog m_seen;
  std::atomic<bool> m_stop{false};
  std::thread m_thread; // last: starts after the fields it uses exist
};

} // namespace kqtest
