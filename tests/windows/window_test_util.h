// Text window test helpers under Wine: a hosted-window fixture for each kind, recorders of drawing and
// scrolling, keys, menus, the clipboard, the font dialog and temporary files.
#pragma once

#include "kqwindowsex.h" // the framework before <windows.h>, as in any MFC source

#include "dialog_watcher.h"
#include "iat_hook.h"
#include "message_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kqtest {

// One TextOutA call: colour and face selected then, and whether the recorder's window lock was held.
struct DrawnText {
  int x, y;
  std::string text;
  COLORREF textColor;
  std::string face;
  bool locked;
};

// Records kqafx.dll's TextOutA calls (CDC::TextOut) while it exists; one at a time.
class TextOutRecorder {
public:
  explicit TextOutRecorder(const KQCriticalSection* lock = nullptr)
      : hook("kqafx.dll", "gdi32.dll", "TextOutA", reinterpret_cast<void*>(&Hooked)),
        lock(reinterpret_cast<const CRITICAL_SECTION*>(lock)) {
    current = this;
  }
  ~TextOutRecorder() { current = nullptr; }
  TextOutRecorder(const TextOutRecorder&) = delete;
  TextOutRecorder& operator=(const TextOutRecorder&) = delete;

  std::vector<DrawnText> take() {
    std::lock_guard<std::mutex> guard(mutex);
    return std::exchange(drawn, {});
  }
  // Invalidates `band` (all of the client area when null) and paints it now; what was drawn.
  std::vector<DrawnText> repaint(HWND window, const RECT* band = nullptr) {
    ::InvalidateRect(window, band, TRUE);
    ::UpdateWindow(window);
    return take();
  }

private:
  static BOOL WINAPI Hooked(HDC dc, int x, int y, LPCSTR text, int count) {
    if (TextOutRecorder* self = current) {
      char face[LF_FACESIZE] = {};
      ::GetTextFaceA(dc, LF_FACESIZE, face);
      const bool locked = self->lock != nullptr &&
                          self->lock->OwningThread ==
                              reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(::GetCurrentThreadId()));
      std::lock_guard<std::mutex> guard(self->mutex);
      self->drawn.push_back({x, y, std::string(text, static_cast<size_t>(std::max(count, 0))),
                             ::GetTextColor(dc), face, locked});
    }
    return ::TextOutA(dc, x, y, text, count);
  }

  static inline TextOutRecorder* current = nullptr;
  IatHook hook;
  const CRITICAL_SECTION* lock;
  std::mutex mutex;
  std::vector<DrawnText> drawn;
};

// Counts kqafx.dll's SetScrollPos calls and sums the pixels its ScrollWindow calls move, while it exists.
class ScrollBarCounter {
public:
  ScrollBarCounter()
      : setPos("kqafx.dll", "user32.dll", "SetScrollPos", reinterpret_cast<void*>(&HookedSetPos)),
        scroll("kqafx.dll", "user32.dll", "ScrollWindow", reinterpret_cast<void*>(&HookedScroll)) {
    take();
  }
  bool installed() const { return setPos.installed() && scroll.installed(); }
  int take() { return dx = 0, dy = 0, calls.exchange(0); }
  static inline std::atomic<int> dx{0}, dy{0};

private:
  static int WINAPI HookedSetPos(HWND window, int bar, int pos, BOOL redraw) {
    ++calls;
    return ::SetScrollPos(window, bar, pos, redraw);
  }
  static BOOL WINAPI HookedScroll(HWND window, int x, int y, const RECT* rect, const RECT* clip) {
    dx += x, dy += y;
    return ::ScrollWindow(window, x, y, rect, clip);
  }
  static inline std::atomic<int> calls{0};
  IatHook setPos, scroll;
};

// A path in the temporary folder, unique to this process, and a file's bytes.
inline std::string TempPath(const std::string& name) {
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "kqwin-" + std::to_string(::GetCurrentProcessId()) + "-" + name;
}
inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The clipboard's CF_TEXT (up to its first NUL byte); Clear empties the clipboard first.
inline std::string ClipboardText(bool clear = false) {
  std::string text = "<no text>";
  if (!::OpenClipboard(nullptr))
    return "<not opened>";
  if (HANDLE data = clear ? (::EmptyClipboard(), nullptr) : ::GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(::GlobalLock(data)))
      text = bytes;
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

// Lines "line <first>" .. "line <end - 1>", each ended by CR LF.
inline std::string CrLfLines(int first, int end) {
  std::string text;
  for (int i = first; i < end; ++i)
    text += "line " + std::to_string(i) + "\r\n";
  return text;
}

// WM_CONTEXTMENU at `at` (-1, -1: keyboard): the items (greyed: " (grey)") and corner; then `choice` or Esc.
struct ShownMenu {
  std::vector<std::string> items;
  POINT at;
};
inline ShownMenu ContextMenu(HWND window, POINT at, char choice) {
  ShownMenu shown{{}, {-1, -1}};
  std::atomic<bool> done{false}; // no menu came
  std::thread watcher([&] {
    for (int i = 0; i < 500 && !done; ++i, ::Sleep(10))
      if (const HWND menu = ::FindWindowA("#32768", nullptr); menu && ::IsWindowVisible(menu)) {
        RECT rect = {};
        ::GetWindowRect(menu, &rect);
        shown.at = {rect.left, rect.top};
        const auto handle = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
        for (int k = 0; k < ::GetMenuItemCount(handle); ++k) {
          char text[64] = {};
          ::GetMenuStringA(handle, static_cast<UINT>(k), text, sizeof(text), MF_BYPOSITION);
          const bool grey = (::GetMenuState(handle, static_cast<UINT>(k), MF_BYPOSITION) & MF_GRAYED) != 0;
          shown.items.push_back(std::string(text) + (grey && text[0] != 0 ? " (grey)" : ""));
        }
        choice != 0 ? ::PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(choice), 0)
                    : ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
      }
  });
  ::SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(at.x, at.y));
  PumpPending(); // the chosen command arrives as a posted WM_COMMAND
  done = true;
  watcher.join();
  return shown;
}

// A key pressed on `window`, with Ctrl and Shift as GetKeyState sees them.
inline void Key(HWND window, UINT vk, bool ctrl = false, bool shift = false) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  ::SetKeyboardState(keys);
  ::SendMessageA(window, WM_KEYDOWN, vk, 1);
  keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
}

// Paints whatever is invalid now and handles every message waiting for this thread.
inline void Settle(HWND window) {
  PumpPending();
  ::UpdateWindow(window);
  PumpPending();
}

// Sizes a window so that its client area is width x height (the scroll bars it shows then included).
inline void SetClientSize(HWND window, int width, int height) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT client = {}, outer = {};
    ::GetClientRect(window, &client);
    ::GetWindowRect(window, &outer);
    const int dw = width - client.right, dh = height - client.bottom;
    if (dw == 0 && dh == 0)
      return;
    ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpPending();
  }
}

// Runs OnFont(), picks `face` (cmb1) and `colour` (cmb4) as a user would, then `command`; false if missing.
template <class Window>
bool ChooseFont(Window& window, const std::string& face, const std::string& colour, WORD command) {
  bool picked = false;
  DialogAnswer answer;
  answer.command = command;
  answer.prepare = [&](HWND dialog) {
    auto select = [dialog](int id, const std::string& text) {
      HWND combo = ::GetDlgItem(dialog, id);
      const LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str()));
      ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
      return index != CB_ERR;
    };
    picked = select(0x470, face) & select(0x473, colour);
  };
  DialogWatcher watcher(answer);
  window.OnFont();
  return watcher.Result().found && picked;
}

// Each window a visible 400 x 300 child of `parent` with both bars (opt-in classes as their base); on failure
// the object is gone (a frame deletes itself; a fast display window is deleted here).
struct OutputKind {
  using Window = COutputWindow;
  static constexpr int width = 140;
  static constexpr long long cap = 30000;
  static constexpr bool optIn = false;
  static bool create(COutputWindow& w, HWND parent) {
    return w.Create("output", RECT{10, 20, 410, 320}, CWnd::FromHandle(parent)) == 1;
  }
  static void release(COutputWindow*) {} // a frame deletes itself when its window is destroyed
};
struct FastKind {
  using Window = CFastDisplayWnd;
  static constexpr int width = 80;
  static constexpr long long cap = 65000;
  static constexpr bool optIn = false;
  static bool create(CFastDisplayWnd& w, HWND parent) {
    if (w.CreateEx(0, nullptr, "fast", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 400, 300,
                   parent, nullptr))
      return true;
    delete &w;
    return false;
  }
  static void release(CFastDisplayWnd* w) { delete w; }
};
struct OutputExKind : OutputKind {
  using Window = COutputWindowEx;
  static constexpr bool optIn = true;
};
struct FastExKind : FastKind {
  using Window = CFastDisplayWndEx;
  static constexpr bool optIn = true;
};

// A host window with a `Kind` child, both destroyed with it; `window` null when not created.
template <class Kind> struct HostedWindow {
  HostedWindow() {
    if (!Kind::create(*window, parent))
      window = nullptr;
  }
  ~HostedWindow() {
    if (window != nullptr) {
      ::DestroyWindow(window->GetSafeHwnd());
      Kind::release(window);
    }
    ::DestroyWindow(parent);
    PumpPending();
  }
  HostedWindow(const HostedWindow&) = delete;
  HostedWindow& operator=(const HostedWindow&) = delete;
  HWND parent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                  nullptr, nullptr, nullptr, nullptr);
  typename Kind::Window* window = new typename Kind::Window;
};

template <class Kind> class TextWindowTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(window, nullptr) << "window not created";
    hwnd = window->GetSafeHwnd();
    cw = window->m_charWidth;
    lh = window->m_lineHeight;
  }
  // Appends lines "line 0" .. "line <count - 1>" in one call.
  void addLines(long long count) {
    std::string text;
    for (long long i = 0; i < count; ++i)
      text += "line " + std::to_string(i) + "\n";
    window->Display(text.data(), static_cast<int>(text.size()));
  }
  void send(UINT message, UINT code, UINT pos = 0) {
    ::SendMessageA(hwnd, message, MAKEWPARAM(code, pos), 0);
  }
  // `count` lines in a client area of 40 columns by 10 lines, scrolled by thumb to `row` and `column`.
  void scrolledView(long long count, UINT row, UINT column) {
    addLines(count);
    SetClientSize(hwnd, 40 * cw, 10 * lh);
    send(WM_VSCROLL, SB_THUMBPOSITION, row);
    send(WM_HSCROLL, SB_THUMBPOSITION, column);
  }

  HostedWindow<Kind> host;
  HWND parent = host.parent, hwnd = nullptr;
  typename Kind::Window* window = host.window;
  int cw = 0, lh = 0;
};

} // namespace kqtest
