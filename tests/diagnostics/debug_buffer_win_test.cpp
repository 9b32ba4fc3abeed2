// The debugger-output buffer on real Win32: what OutputDebugStringA receives, call by call.
#include "debug_output_capture.h"
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

using Calls = std::vector<std::string>;

TEST(DebugBuffer, OneCallPerFlushAndNoneBefore) {
  DebugOutputCapture capture;
  KQMFCDebugBuffer buffer;
  std::ostream out(&buffer);
  out << "abc";
  EXPECT_EQ(capture.calls(), Calls{});
  out << std::flush;
  EXPECT_EQ(capture.calls(), Calls{"abc"});
  out << std::flush; // an empty flush sends the empty string
  EXPECT_EQ(capture.calls(), (Calls{"abc", ""}));
  out << "line" << std::endl;
  EXPECT_EQ(capture.calls(), (Calls{"abc", "", "line\n"}));
}

TEST(DebugBuffer, OverflowSendsExactly1024Characters) {
  DebugOutputCapture capture;
  KQMFCDebugBuffer buffer;
  std::ostream out(&buffer);
  out << std::string(1024, 'a');
  EXPECT_EQ(capture.calls(), Calls{});
  out << 'b';
  ASSERT_EQ(capture.calls().size(), 1u);
  EXPECT_EQ(capture.calls()[0], std::string(1024, 'a'));
  out << std::flush;
  EXPECT_EQ(capture.calls().back(), "b");
}

TEST(DebugBuffer, DestructionSendsThePendingText) {
  DebugOutputCapture capture;
  {
    auto buffer = std::make_unique<KQMFCDebugBuffer>();
    std::ostream out(buffer.get());
    out << "xyz";
  }
  EXPECT_EQ(capture.calls(), Calls{"xyz"});
}

TEST(DebugBuffer, TextPassesThroughUnchanged) {
  DebugOutputCapture capture;
  KQMFCDebugBuffer buffer;
  std::ostream out(&buffer);
  std::string all;
  for (int c = 1; c < 256; ++c)
    all += static_cast<char>(c);
  out << "a\r\nb\tc\n" << all << std::flush;
  EXPECT_EQ(capture.calls(), Calls{"a\r\nb\tc\n" + all});
}
