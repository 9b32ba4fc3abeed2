// The debugger-output buffer on real Win32: what OutputDebugStringA receives, call by call.
#include "debug_output_capture.h"
#include "kqdiagnostics.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using Calls = std::vector<std::string>;

TEST(DebugBuffer, OneCallPerFlushPerOverflowAndAtDestructionTextUnchanged) {
  DebugOutputCapture capture;
  std::string all; // every byte but NUL, which would end the string
  for (int c = 1; c < 256; ++c)
    all += static_cast<char>(c);
  const std::string full(1024, 'a');
  {
    KQMFCDebugBuffer buffer;
    std::ostream out(&buffer);
    out << "abc";
    EXPECT_EQ(capture.calls(), Calls{});
    out << std::flush << std::flush << "a\r\nb\tc\n" << all << std::endl; // an empty flush sends ""
    EXPECT_EQ(capture.calls(), (Calls{"abc", "", "a\r\nb\tc\n" + all + "\n"}));
    out << full;
    EXPECT_EQ(capture.calls().size(), 3u);
    out << "xyz"; // overflow sends the full put area, "xyz" waits for the destruction
    EXPECT_EQ(capture.calls().size(), 4u);
    EXPECT_EQ(buffer.sgetc(), EOF); // write-only
  }
  EXPECT_EQ(capture.calls(), (Calls{"abc", "", "a\r\nb\tc\n" + all + "\n", full, "xyz"}));
}
