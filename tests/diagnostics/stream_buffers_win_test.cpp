// The two stream buffers on Win32, each in a KQOwnedStream: what OutputDebugStringA receives call by call,
// and what an output window stores.
#include "kqwindows.h" // the framework before <windows.h>

#include "debug_output_capture.h"
#include "failing_allocator.h"
#include "kqdiagnostics.h"
#include "line_list.h"
#include "message_pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using Calls = std::vector<std::string>;

TEST(DebugBuffer, OneCallPerFlushPerOverflowAndAtDestruction) {
  DebugOutputCapture capture;
  const std::string full(1024, 'a');
  std::unique_ptr<std::ostream> out(new KQOwnedStream<KQMFCDebugBuffer>);
  *out << "abc";
  EXPECT_EQ(capture.calls(), Calls{});
  EXPECT_EQ(out->rdbuf()->pubsync(), 0);
  *out << std::flush << "b" << std::endl << full; // an empty flush sends ""
  EXPECT_EQ(capture.calls().size(), 3u);
  EXPECT_EQ(out->rdbuf()->sputc('x'), 0); // overflow sends the full put area and returns 0
  EXPECT_EQ(out->rdbuf()->sgetc(), EOF);  // write-only
  out.reset();                            // the buffer's destruction sends "x"
  EXPECT_EQ(capture.calls(), (Calls{"abc", "", "b\n", full, "x"}));
}

// A window out of memory: the stream goes bad, the text is not delivered again, clear() makes it usable.
TEST(LogBuffer, DeliversToTheWindowSetAtEachFlushOverflowAndDestructionAndDropsWhatItCannotStore) {
  kqtest::FailingAllocator allocator;
  ASSERT_TRUE(allocator.covers());
  COutputWindow unshown;           // before Create a window only stores what it is given
  auto* shown = new COutputWindow; // a frame deletes itself when its window is destroyed
  ASSERT_TRUE(shown->Create("log buffer"));
  const HWND hwnd = shown->GetSafeHwnd();
  auto* out = new KQOwnedStream<KQMFCLogBuffer>;
  KQMFCLogBuffer& buffer = out->Buffer();
  *out << "lost" << std::flush; // no window: dropped for good
  buffer.setWnd(&unshown);
  *out << "abc";
  buffer.setWnd(shown); // does not flush: the pending text goes where the flush sends it
  *out << std::flush;
  EXPECT_EQ(linesOf(unshown.m_lines), Lines{""});
  EXPECT_EQ(linesOf(shown->m_lines), Lines{"abc"});

  kqtest::PumpPending();
  ValidateRect(hwnd, nullptr);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(buffer.pubsync(), 0); // Display(text, 0): nothing stored, but the view is updated (invalidated)
  EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(linesOf(shown->m_lines), Lines{"abc"});

  buffer.setWnd(&unshown);
  *out << std::string(1024, 'a');
  EXPECT_EQ(buffer.sputc('a'), 0);                // overflow delivers the 1024 and returns 0
  ASSERT_EQ(linesOf(unshown.m_lines).size(), 8u); // 7 lines of 140 and 44 in the current line
  EXPECT_EQ(linesOf(unshown.m_lines).back(), std::string(44, 'a'));
  EXPECT_EQ(buffer.sbumpc(), EOF); // write-only
  *out << "\n" << std::string(300, 'x');
  allocator.arm(0, true); // every allocation of this thread fails
  *out << std::flush;
  EXPECT_TRUE(allocator.disarm() && out->bad());
  Lines expected = linesOf(unshown.m_lines); // what the window could store of the text
  EXPECT_EQ(expected[7], std::string(45, 'a'));
  out->clear();
  *out << "z";
  delete static_cast<std::ostream*>(out); // the buffer's destruction delivers the pending "z"
  expected.back() += "z";
  EXPECT_EQ(linesOf(unshown.m_lines), expected);
  shown->DestroyWindow();
}
