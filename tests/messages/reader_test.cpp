// The record reader and the load loop on streams in memory, for what the files under data/ do not show:
// the number part's conversion at its edges, the end of the input at every step of a record, stream errors.
#include "kqmessagereader.h"
#include "kqmessages.h"
#include "memory_input.h"

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
      {"\f-5 \"t\"", 77, "t"},
      {"--5 \"t\"", 77, "t"},
      {"0x1F \"t\"", 0, "t"},
      {"12\"t\"", 12, "t"},
      {std::string(1, '\0') + "5 \"t\"", 77, "t"},
      {"\"5\" \"t\"", 77, " "}, // the quote ending the number part opens the text
      // Saturation, whatever the number of digits.
      {"4294967297 \"t\"", INT32_MAX, "t"},
      {"99999999999999999999999999999999999999 \"t\"", INT32_MAX, "t"},
      {"-2147483649 \"t\"", INT32_MIN, "t"},
      {"0000000000000000000000000000000000000000002147483647 \"t\"", INT32_MAX, "t"},
      {"-000000000000000000000000000000000000000002147483647 \"t\"", -INT32_MAX, "t"},
      // The end of the input anywhere.
      {"", 77, ""},
      {"12 x", 12, ""},
      {"12 \"", 12, ""},
      {"12 \"a\\", 12, "a"},
      {"12 \"a\\\"", 12, "a\""},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.input);
    KQMessageReader reader(in);
    std::int32_t number = 77;
    EXPECT_EQ(std::string(reader.readMessage(number)), c.text) << '"' << c.input << '"';
    EXPECT_EQ(number, c.number) << '"' << c.input << '"';
  }
}

// A hard error inside a text keeps the text read so far, as if the file ended there (the fuzz checks put
// the error everywhere); a stream that has failed, though not at its end, gives nothing. The loop itself
// does not empty the table.
TEST(MessageLoad, StopsAtAStreamErrorKeepingWhatWasRead) {
  const std::string file = "1 \"one\"\n2 \"two\"\n";
  KQMemoryInput buffer(file.data(), file.size(), file.find("wo"));
  std::istream in(&buffer);
  KQMessageTable table;
  table.setAt(3, "kept");
  loadMessages(in, table);
  EXPECT_TRUE(in.bad());
  KQCString value;
  ASSERT_EQ(table.lookup(2, value), 1);
  EXPECT_STREQ(value.data(), "t");
  EXPECT_EQ(table.getCount(), 3u);

  std::istringstream failed(file);
  failed.setstate(std::ios::failbit);
  KQMessageTable none;
  loadMessages(failed, none);
  EXPECT_EQ(none.getCount(), 0u);
}
