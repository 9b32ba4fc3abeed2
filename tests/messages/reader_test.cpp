// The record reader and the load loop, on streams in memory: number conversion, the end of the input at
// every step of a record, and hard stream errors.
#include "kqmessagereader.h"
#include "kqmessages.h"
#include "memory_input.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

namespace {
struct Record {
  std::int32_t number;
  std::string text;
};

Record readOne(const std::string& input, std::int32_t number = 77) {
  std::istringstream in(input);
  KQMessageReader reader(in);
  const KQCString text = reader.readMessage(number);
  return {number, std::string(text.data(), static_cast<size_t>(text.length()))};
}

std::string textOf(const KQMessageTable& table, long key) {
  KQCString value;
  return table.lookup(key, value) ? std::string(value.data(), static_cast<size_t>(value.length()))
                                  : "<absent>";
}
} // namespace

TEST(MessageReader, NumberPartIsConvertedTheWayPercentLdReadsIt) {
  const struct {
    std::string input;
    std::int32_t number; // 77: nothing converted, the caller's value stays
  } cases[] = {
      {"5 \"t\"", 5},
      {"+5 \"t\"", 5},
      {"-5 \"t\"", -5},
      {" 5 \"t\"", 5},
      {"\t5 \"t\"", 5},
      {"\n5 \"t\"", 5},
      {"\r5 \"t\"", 5},
      {"\v5 \"t\"", 5},
      {"\f-5 \"t\"", 77},
      {"007 \"t\"", 7},
      {"08 \"t\"", 8},
      {"-0 \"t\"", 0},
      {"0x1F \"t\"", 0},
      {"12\"t\"", 12},
      {"x5 \"t\"", 77},
      {"- \"t\"", 77},
      {"+\"t\"", 77},
      {"  5 \"t\"", 77},
      {"\n\n5 \"t\"", 77},
      {"--5 \"t\"", 77},
      {"\"5\" \"t\"", 77},
      {"5-3 \"t\"", 5},
      {"1.5 \"t\"", 1},
      {"9", 9},
      {"-", 77},
      {std::string("\0"
                   "5 \"t\"",
                   5),
       77},
  };
  for (const auto& c : cases)
    EXPECT_EQ(readOne(c.input).number, c.number) << '"' << c.input << '"';
}

TEST(MessageReader, NumbersBeyondThirtyTwoBitsSaturate) {
  const struct {
    const char* input;
    std::int32_t number;
  } cases[] = {
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"4294967297", INT32_MAX}, // not wrapped to 1
      {"99999999999999999999999999999999999999", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"-99999999999999999999999999999999999999", INT32_MIN},
      {"0000000000000000000000000000000000000000002147483647", INT32_MAX},
      {"-000000000000000000000000000000000000000002147483647", -INT32_MAX},
      {"000000000000000000000000000000000000000000000000000001", 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(readOne(std::string(c.input) + " \"t\"").number, c.number) << c.input;
}

TEST(MessageReader, TheEndOfTheInputEndsTheRecordWhereverItComes) {
  const struct {
    const char* input;
    std::int32_t number;
    const char* text;
  } cases[] = {
      {"", 77, ""},
      {"1", 1, ""},
      {"12", 12, ""},
      {"12 ", 12, ""},
      {"12 x", 12, ""},
      {"12 \"", 12, ""},
      {"12 \"a", 12, "a"},
      {"12 \"a\\", 12, "a"},
      {"12 \"a\\\"", 12, "a\""},
      {"12 \"a\\\"b\"", 12, "a\"b"},
      {"12 \"a\\\"b\"\n", 12, "a\"b"},
  };
  for (const auto& c : cases) {
    const Record r = readOne(c.input);
    EXPECT_EQ(r.number, c.number) << '"' << c.input << '"';
    EXPECT_EQ(r.text, c.text) << '"' << c.input << '"';
  }
}

TEST(MessageReader, ExactlyOneCharacterAfterTheClosingQuoteIsDropped) {
  std::istringstream in("1 \"a\"X2 \"b\"YZ3 \"c\"");
  KQMessageReader reader(in);
  std::int32_t number = 0;
  EXPECT_EQ(std::string(reader.readMessage(number)), "a");
  EXPECT_EQ(number, 1);
  EXPECT_EQ(std::string(reader.readMessage(number)), "b");
  EXPECT_EQ(number, 2);
  number = 0;
  EXPECT_EQ(std::string(reader.readMessage(number)), "c"); // "Z3" is no number: nothing converted
  EXPECT_EQ(number, 0);
}

TEST(MessageReader, EverythingBeforeTheOpeningQuoteIsSkippedLineEndsIncluded) {
  const Record r = readOne("5 abc\n\t xyz\n\"t\"");
  EXPECT_EQ(r.number, 5);
  EXPECT_EQ(r.text, "t");
}

TEST(MessageLoad, AHardErrorBetweenRecordsKeepsTheRecordsReadSoFar) {
  const std::string file = "1 \"one\"\n2 \"two\"\n3 \"three\"\n";
  KQMemoryInput buffer(file.data(), file.size(), file.find('3'));
  std::istream in(&buffer);
  KQMessageTable table;
  loadMessages(in, table);
  EXPECT_TRUE(in.bad());
  EXPECT_EQ(table.getCount(), 2u);
  EXPECT_EQ(textOf(table, 1), "one");
  EXPECT_EQ(textOf(table, 2), "two");
}

TEST(MessageLoad, AHardErrorInsideATextKeepsTheTextReadSoFar) {
  const std::string file = "1 \"one\"\n2 \"two\"\n";
  KQMemoryInput buffer(file.data(), file.size(), file.find("wo"));
  std::istream in(&buffer);
  KQMessageTable table;
  loadMessages(in, table);
  EXPECT_TRUE(in.bad());
  EXPECT_EQ(textOf(table, 2), "t"); // as if the file ended there
}

TEST(MessageLoad, AStreamThatFailsAtOnceOrHasFailedStoresNothing) {
  const std::string file = "1 \"one\"\n";
  KQMemoryInput buffer(file.data(), file.size(), 0);
  std::istream in(&buffer);
  KQMessageTable table;
  loadMessages(in, table);
  EXPECT_TRUE(in.bad());
  EXPECT_EQ(table.getCount(), 0u);

  std::istringstream failed(file);
  failed.setstate(std::ios::failbit); // failed without being at its end: the loop must still stop
  loadMessages(failed, table);
  EXPECT_EQ(table.getCount(), 0u);
}

TEST(MessageLoad, LaterRecordsReplaceEarlierOnesAndEmptyTextsAreDropped) {
  std::istringstream in("5 \"first\"\n5 \"\"\n6 \"\"\n5 \"third\"\n");
  KQMessageTable table;
  table.setAt(6, "kept"); // the loop itself does not empty the table
  loadMessages(in, table);
  EXPECT_EQ(table.getCount(), 2u);
  EXPECT_EQ(textOf(table, 5), "third");
  EXPECT_EQ(textOf(table, 6), "kept");
}
