// The record reader on what the files under data/ do not show. Stream errors and the agreement of the
// reader's two paths are checked by the fuzz checks (fuzz_replay_test.cpp).
#include "kqmessagereader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

TEST(MessageReader, OneRecordIsReadAsPercentLdReadsItsNumberAndEndsWithTheInput) {
  const struct {
    std::string input;
    std::int32_t number; // 77: nothing converted, the caller's value stays
    const char* text;
  } cases[] = {
      // The first character (white space, a sign or a digit) and the digits right after it.
      {"\r5 \"t\"", 5, "t"},
      {"\v5 \"t\"", 5, "t"},
      {"\f5 \"t\"", 5, "t"},
      {"--5 \"t\"", 77, "t"},
      {"0x1F \"t\"", 0, "t"},
      {std::string(1, '\0') + "5 \"t\"", 77, "t"},
      {"\"5\" \"t\"", 77, " "},             // the quote ending the number part opens the text
      {"4294967297 \"t\"", INT32_MAX, "t"}, // saturated, not wrapped
      {"12 \"a\\", 12, "a"},                // a backslash at the end escapes nothing
  };
  for (const auto& c : cases) {
    std::istringstream in(c.input);
    KQMessageReader reader(in);
    std::int32_t number = 77;
    EXPECT_EQ(std::string(reader.readMessage(number)), c.text) << '"' << c.input << '"';
    EXPECT_EQ(number, c.number) << '"' << c.input << '"';
  }
}
