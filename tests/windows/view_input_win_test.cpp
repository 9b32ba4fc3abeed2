// The opt-in windows (COutputWindowEx, CFastDisplayWndEx) driven by real messages under Wine: the mouse
// wheel by the user's setting, the keys, Ctrl+C, the context menu and its commands, read back through the
// scroll bars (GetScrollInfo) and the clipboard (GetClipboardData); the specified windows ignoring the
// same messages; the host-called copy functions on the specified windows; and a full output window
// copied while four threads append.
#include "kqwindowsex.h"

#include "window_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {
struct OutputExKind : kqtest::OutputKind {
  using Window = COutputWindowEx;
};
struct FastExKind : kqtest::FastKind {
  using Window = CFastDisplayWndEx;
};

int BarPos(HWND window, int bar) {
  SCROLLINFO info = {sizeof(info), SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(window, bar, &info);
  return info.nPos;
}

std::string ClipboardText() {
  std::string text = "<no text>";
  if (!::OpenClipboard(nullptr))
    return "<not opened>";
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text = bytes;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void SetClipboardSentinel() {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 9);
  std::memcpy(::GlobalLock(block), "sentinel", 9);
  ::GlobalUnlock(block);
  ::SetClipboardData(CF_TEXT, block);
  ::CloseClipboard();
}

// Ctrl as the thread's keyboard state has it (what GetKeyState reads while a message is handled).
void SetCtrl(bool down) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

// The user's wheel settings for the test's run, put back afterwards (not saved to the profile).
class WheelSettings {
public:
  WheelSettings() {
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
  }
  ~WheelSettings() { set(lines, chars); }
  static void set(UINT linesPerNotch, UINT charsPerNotch) {
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, linesPerNotch, nullptr, 0);
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLCHARS, charsPerNotch, nullptr, 0);
  }

private:
  UINT lines = 3, chars = 3;
};

std::string Lines(int first, int end) {
  std::string text;
  for (int i = first; i < end; ++i)
    text += "line " + std::to_string(i) + "\r\n";
  return text;
}

template <class Kind> class OptInWindow : public kqtest::TextWindowTest<Kind> {
protected:
  void wheel(int delta, bool horizontal = false) {
    ::SendMessageA(this->hwnd, horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                   MAKELPARAM(50, 50));
  }
  void key(UINT vk, bool ctrl = false) {
    SetCtrl(ctrl);
    ::SendMessageA(this->hwnd, WM_KEYDOWN, vk, 1);
    SetCtrl(false);
  }
  // The view position, checked against the bar.
  int v() {
    EXPECT_EQ(BarPos(this->hwnd, SB_VERT), this->window->m_vScrollPos);
    return this->window->m_vScrollPos;
  }
  int h() {
    EXPECT_EQ(BarPos(this->hwnd, SB_HORZ), this->window->m_hScrollPos);
    return this->window->m_hScrollPos;
  }
};
using ExKinds = testing::Types<OutputExKind, FastExKind>;
TYPED_TEST_SUITE(OptInWindow, ExKinds);

template <class Kind> class SpecifiedWindow : public OptInWindow<Kind> {};
using Kinds = testing::Types<kqtest::OutputKind, kqtest::FastKind>;
TYPED_TEST_SUITE(SpecifiedWindow, Kinds);
} // namespace

TYPED_TEST(OptInWindow, TheWheelScrollsByTheUsersSettingAndAddsUpPartialNotches) {
  WheelSettings saved;
  WheelSettings::set(3, 2);
  this->scrolledView(100, 20, 5); // 101 lines, 10 shown: vertical range 0 .. 91
  this->wheel(-120);
  EXPECT_EQ(this->v(), 23);
  this->wheel(240);
  EXPECT_EQ(this->v(), 17);
  // A fine-grained wheel: 30 per message, a line every 40.
  this->wheel(-30);
  EXPECT_EQ(this->v(), 17);
  this->wheel(-30);
  EXPECT_EQ(this->v(), 18);
  this->wheel(-30);
  this->wheel(-30);
  EXPECT_EQ(this->v(), 20);
  // Past the end: only to the end.
  this->wheel(-120 * 40);
  EXPECT_EQ(this->v(), 91);
  // A page per notch: the scroll bar's page request, 10 lines here.
  WheelSettings::set(WHEEL_PAGESCROLL, 2);
  this->wheel(120);
  EXPECT_EQ(this->v(), 81);
  // The horizontal wheel by the characters setting; tilting right goes right.
  this->wheel(120, true);
  EXPECT_EQ(this->h(), 7);
  this->wheel(-60, true);
  EXPECT_EQ(this->h(), 6);
  // Wheel off.
  WheelSettings::set(0, 0);
  this->wheel(-120);
  this->wheel(-120, true);
  EXPECT_EQ(this->v(), 81);
  EXPECT_EQ(this->h(), 6);
}

TYPED_TEST(OptInWindow, KeysScrollByLinesColumnsPagesAndToEitherEnd) {
  this->scrolledView(100, 20, 5);
  const int hMax = this->window->m_hScrollMax;
  ASSERT_GT(hMax, 6);
  // End alone: the last column, same line; Ctrl+End: the last line, same column. Other keys change nothing.
  const struct {
    UINT vk;
    bool ctrl;
    int v, h;
  } steps[] = {
      {VK_DOWN, false, 21, 5},  {VK_UP, false, 20, 5},    {VK_UP, false, 19, 5},   {VK_NEXT, false, 29, 5},
      {VK_PRIOR, false, 19, 5}, {VK_PRIOR, false, 9, 5},  {VK_RIGHT, false, 9, 6}, {VK_LEFT, false, 9, 5},
      {VK_LEFT, false, 9, 4},   {VK_END, false, 9, hMax}, {VK_HOME, false, 9, 0},  {VK_END, true, 91, 0},
      {VK_HOME, true, 0, 0},    {VK_UP, false, 0, 0},     {'X', false, 0, 0},      {VK_RETURN, false, 0, 0}};
  for (const auto& step : steps) {
    this->key(step.vk, step.ctrl);
    EXPECT_EQ(this->v(), step.v) << "key " << step.vk << (step.ctrl ? " with Ctrl" : "");
    EXPECT_EQ(this->h(), step.h) << "key " << step.vk << (step.ctrl ? " with Ctrl" : "");
  }
  if constexpr (std::is_same_v<TypeParam, FastExKind>) { // the keys are not taken as input
    EXPECT_TRUE(this->window->m_input.IsEmpty());
  }
}

TYPED_TEST(OptInWindow, CtrlCCopiesThePageCopyAllEveryLineAsCrLfText) {
  this->scrolledView(100, 20, 5);
  SetClipboardSentinel();
  this->key('C', true);
  EXPECT_EQ(ClipboardText(), Lines(20, 30));
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_KQ_COPY_ALL, 0);
  EXPECT_EQ(ClipboardText(), Lines(0, 100));
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_EDIT_COPY, 0);
  EXPECT_EQ(ClipboardText(), Lines(20, 30));
  // A partly visible last row is on the page; 'C' without Ctrl copies nothing.
  kqtest::SetClientSize(this->hwnd, 40 * this->cw, 10 * this->lh + 1);
  SetClipboardSentinel();
  this->key('C');
  EXPECT_EQ(ClipboardText(), "sentinel");
  this->key('C', true);
  EXPECT_EQ(ClipboardText(), Lines(20, 31));
}

// The menu opens at the click; choosing "Copy all" by its mnemonic copies every line.
TYPED_TEST(OptInWindow, TheContextMenuOffersCopyAndCopyAll) {
  this->scrolledView(100, 20, 5);
  SetClipboardSentinel();
  std::vector<std::string> items;
  std::atomic<bool> done{false};
  std::thread watcher([&] {
    for (int i = 0; i < 500 && !done; ++i, ::Sleep(10)) {
      const HWND menu = ::FindWindowA("#32768", nullptr);
      if (!menu || !::IsWindowVisible(menu))
        continue;
      const HMENU handle = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (int k = 0; k < ::GetMenuItemCount(handle); ++k) {
        char text[64] = {};
        ::GetMenuStringA(handle, static_cast<UINT>(k), text, sizeof(text), MF_BYPOSITION);
        items.push_back(text);
      }
      ::PostMessageA(menu, WM_CHAR, 'a', 0);
      return;
    }
  });
  RECT rect = {};
  ::GetWindowRect(this->hwnd, &rect);
  ::SendMessageA(this->hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(this->hwnd),
                 MAKELPARAM(rect.left + 30, rect.top + 30));
  kqtest::PumpPending(); // the chosen command arrives as a posted WM_COMMAND
  done = true;
  watcher.join();
  EXPECT_EQ(items, (std::vector<std::string>{"&Copy\tCtrl+C", "Copy &all"}));
  EXPECT_EQ(ClipboardText(), Lines(0, 100));
}

// The specified classes handle none of these messages: they reach the default window procedure.
TYPED_TEST(SpecifiedWindow, IgnoreTheWheelKeysAndCopyCommands) {
  WheelSettings saved;
  WheelSettings::set(3, 3);
  this->scrolledView(100, 20, 5);
  SetClipboardSentinel();
  this->wheel(-120);
  this->wheel(120, true);
  for (UINT vk : {VK_DOWN, VK_NEXT, VK_RIGHT, VK_END, VK_HOME})
    this->key(vk);
  this->key(VK_END, true);
  this->key('C', true);
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_KQ_COPY_ALL, 0);
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_EDIT_COPY, 0);
  kqtest::Settle(this->hwnd);
  EXPECT_EQ(this->v(), 20);
  EXPECT_EQ(this->h(), 5);
  EXPECT_EQ(ClipboardText(), "sentinel");
}

// The host-called copy functions need no opt-in class.
TYPED_TEST(SpecifiedWindow, HostCopyFunctionsPutThePageOrEveryLineOnTheClipboard) {
  this->scrolledView(100, 20, 5);
  EXPECT_EQ(KQCopyVisible(*this->window), 1);
  EXPECT_EQ(ClipboardText(), Lines(20, 30));
  EXPECT_EQ(KQCopyAll(*this->window), 1);
  EXPECT_EQ(ClipboardText(), Lines(0, 100));
  this->window->Display("tail", 4); // a current line with text is copied too
  EXPECT_EQ(KQCopyAll(*this->window), 1);
  EXPECT_EQ(ClipboardText(), Lines(0, 100) + "tail\r\n");
  this->window->OnClearBuffer();
  EXPECT_EQ(KQCopyAll(*this->window), 1);
  EXPECT_EQ(ClipboardText(), "");
  // The clipboard held open by someone else: 0.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_EQ(KQCopyAll(*this->window), 0);
  ::CloseClipboard();
}

// A full output window copied while four threads append: every copy is one consistent snapshot of
// 29,998 whole lines. Prints the time of a copy with and without the writers (no threshold).
TEST(OutputWindowCopy, AFullWindowCopiedWhileFourThreadsAppend) {
  const HWND parent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                        nullptr, nullptr, nullptr, nullptr);
  auto* w = new COutputWindowEx;
  ASSERT_TRUE(kqtest::OutputKind::create(*w, parent));
  std::string text;
  for (int i = 0; i < 29998; ++i)
    text += "seed line " + std::to_string(i) + " " + std::string(static_cast<size_t>(i % 90), 's') + "\n";
  w->Display(text.data(), static_cast<int>(text.size()));
  ASSERT_EQ(w->m_lines.GetCount(), 29999);

  auto copyAll = [&] {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(KQCopyAll(*w), 1);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  // Each copied line whole: a seed line, or a writer's "w<k> <n> " and 60 letters of its own.
  auto wellFormed = [](const std::string& line) {
    if (line.rfind("seed line ", 0) == 0)
      return true;
    if (line.size() < 64 || line[0] != 'w' || line[1] < '0' || line[1] > '3' || line[line.size() - 61] != ' ')
      return false;
    return line.find_first_not_of(static_cast<char>('a' + (line[1] - '0')), line.size() - 60) ==
           std::string::npos;
  };
  auto checkSnapshot = [&](const std::string& copied) {
    size_t lines = 0, bad = 0;
    for (size_t at = 0; at < copied.size();) {
      const size_t end = copied.find("\r\n", at);
      if (end == std::string::npos)
        break;
      bad += !wellFormed(copied.substr(at, end - at));
      ++lines;
      at = end + 2;
    }
    EXPECT_EQ(lines, 29998u);
    EXPECT_EQ(bad, 0u);
  };
  const double alone = copyAll();
  checkSnapshot(ClipboardText());

  std::atomic<bool> stop{false};
  std::atomic<int> finished{0};
  std::atomic<long long> appended{0};
  std::vector<std::thread> writers;
  for (int k = 0; k < 4; ++k)
    writers.emplace_back([&, k] {
      const std::string tail(60, static_cast<char>('a' + k));
      for (long long n = 0; !stop && n < 50000;
           ++n) { // bounded: the test's length does not hang on the copies
        const std::string line = "w" + std::to_string(k) + " " + std::to_string(n) + " " + tail + "\n";
        w->Display(line.data(), static_cast<int>(line.size()));
        ++appended;
      }
      ++finished;
    });
  // Let the writers get going, then copy while they append.
  kqtest::PumpUntil([&] { return appended > 1000; }, 60000);
  double total = 0, worst = 0;
  const int copies = 10;
  for (int i = 0; i < copies; ++i) {
    kqtest::PumpPending(); // the writers' scroll-bar calls are answered between copies
    const double ms = copyAll();
    total += ms;
    worst = std::max(worst, ms);
    checkSnapshot(ClipboardText());
  }
  stop = true;
  EXPECT_TRUE(kqtest::PumpUntil([&] { return finished == 4; }, 60000));
  for (auto& t : writers)
    t.join();
  EXPECT_GT(appended.load(), 0);
  std::printf("copy all, 29,999 lines: %.1f ms alone; %.1f ms mean, %.1f ms worst of %d with 4 threads "
              "appending (%lld lines appended)\n",
              alone, total / copies, worst, copies, appended.load());
  ::DestroyWindow(w->GetSafeHwnd());
  ::DestroyWindow(parent);
  kqtest::PumpPending();
}
