// A picture of the output window with text, saved as PNG files under tests/windows/screenshots/ in the
// build tree, and checked by its pixels; scrolled pixels checked against a whole repaint.
#include "window_test_util.h" // the framework before <windows.h>

#include "window_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {
bool rowsHoldColour(const kqshot::RgbImage& image, int top, int bottom, COLORREF colour) {
  for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y)
    for (int x = 0; x < image.width; ++x) {
      const auto* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 3];
      if (RGB(p[0], p[1], p[2]) == colour)
        return true;
    }
  return false;
}
} // namespace

TEST(OutputWindowScreenshot, TheWindowWithTextAsPng) {
  char driver[32] = {};
  DWORD size = sizeof(driver);
  if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics", RRF_RT_REG_SZ, nullptr, driver,
                     &size) == ERROR_SUCCESS &&
      ::lstrcmpiA(driver, "null") == 0)
    GTEST_SKIP() << "no pixels with Wine's null graphics driver (KQ_WINE_GRAPHICS=null)";
  auto* window = new COutputWindow;
  ASSERT_EQ(window->Create("kqmfc output window"), 1);
  HWND hwnd = window->GetSafeHwnd();
  const int lh = window->m_lineHeight;
  kqtest::SetClientSize(hwnd, 72 * window->m_charWidth, 12 * lh);
  window->Display("kqmfc output window: each Display call appends text.\n");
  window->Display("Columns:\tone\ttwo\tthree (tabs to multiples of 8)\n");
  window->Display("A line longer than the width of 140 characters goes on in the next line: "
                  "0123456789012345678901234567890123456789012345678901234567890123456789\n");
  for (int i = 1; i <= 4; ++i)
    window->Display(("worker " + std::to_string(i) + ": step done\n").c_str());
  window->Display("the current line, without its line feed yet");
  kqtest::Settle(hwnd);

  ::CreateDirectoryA("screenshots", nullptr);
  ASSERT_TRUE(kqshot::SaveWindowPng(hwnd, "screenshots/output_window.png", true));
  const kqshot::RgbImage client = kqshot::CaptureWindow(hwnd, false);
  ASSERT_TRUE(kqshot::WritePng(client, "screenshots/output_window_client.png"));
  ASSERT_EQ(client.width, window->m_clientWidth);
  ASSERT_EQ(client.height, window->m_clientHeight);
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT), background = ::GetSysColor(COLOR_WINDOW);
  ASSERT_NE(text, background);
  // 9 lines: the first and the last hold text; the rows below them nothing but background.
  EXPECT_TRUE(rowsHoldColour(client, 0, lh, text));
  EXPECT_TRUE(rowsHoldColour(client, 8 * lh, 9 * lh, text));
  EXPECT_FALSE(rowsHoldColour(client, 9 * lh, client.height, text));
  EXPECT_TRUE(rowsHoldColour(client, 9 * lh, client.height, background));
  // A scroll moves the pixels on screen and paints only the band it uncovers: the result must be what a
  // whole repaint draws, column by column and line by line.
  for (int i = 0; i < 12; ++i)
    window->Display("\nmore text below");
  for (const auto& [bar, code] : {std::pair{WM_HSCROLL, SB_LINERIGHT}, std::pair{WM_VSCROLL, SB_LINEUP}}) {
    kqtest::Settle(hwnd); // nothing left to paint: the scroll alone decides the pixels
    ::SendMessageA(hwnd, bar, code, 0);
    const kqshot::RgbImage scrolled = kqshot::CaptureWindow(hwnd, false, true);
    EXPECT_TRUE(scrolled.pixels == kqshot::CaptureWindow(hwnd, false).pixels) << "scroll message " << bar;
  }
  ::DestroyWindow(hwnd);
  kqtest::PumpPending();
}
