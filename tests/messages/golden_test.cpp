// Every data/<name>.msg loaded with theMessage.setFile against <name>[.windows|.native].expected: one
// "<number><TAB><text>" line per entry in number order, the text escaped (\n \r \t \\ \xNN).
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
const fs::path dataDir = KQ_MESSAGES_DATA;
const char* const notFound = "*** Message Not Found...\n";

std::vector<std::string> messageFiles() {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(dataDir))
    if (entry.path().extension() == ".msg")
      names.push_back(entry.path().stem().string());
  return names;
}

std::string escaped(const std::string& text) {
  static const std::map<char, std::string> named = {
      {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}, {'\\', "\\\\"}};
  std::string out;
  for (const char byte : text) {
    const unsigned char c = static_cast<unsigned char>(byte);
    char hex[8];
    std::snprintf(hex, sizeof(hex), "\\x%02x", c);
    out += named.count(byte) ? named.at(byte) : c < 0x20 || c >= 0x7f ? hex : std::string(1, byte);
  }
  return out;
}

class MessageFile : public ::testing::TestWithParam<std::string> {};
} // namespace

TEST_P(MessageFile, LoadsAsExpectedAndKQGetMessageAgrees) {
#if defined(_WIN32)
  fs::path expected = dataDir / (GetParam() + ".windows.expected");
#else
  fs::path expected = dataDir / (GetParam() + ".native.expected");
#endif
  if (!fs::exists(expected))
    expected = dataDir / (GetParam() + ".expected");
  std::ifstream expectedFile(expected, std::ios::binary);
  ASSERT_TRUE(expectedFile.is_open()) << expected.string();
  const std::string expectedText(std::istreambuf_iterator<char>(expectedFile), {});

  theMessage.initHashTable(101, 0);                  // kept by setFile
  theMessage.setAt(424242, "left over from before"); // setFile must replace the whole catalogue
  ASSERT_EQ(theMessage.setFile((dataDir / (GetParam() + ".msg")).string().c_str()), 1);
  EXPECT_EQ(theMessage.getHashTableSize(), 101u);
  std::map<long, std::string> sorted; // a key walked twice shows as two texts run together
  for (const auto& [key, text] : kqWalk(theMessage))
    sorted[key] += escaped(text);
  std::string dump;
  for (const auto& [key, text] : sorted) {
    dump += std::to_string(key) + "\t" + text + "\n";
    EXPECT_EQ(KQGetMessage(key), theMessage[key].data()) << key; // the stored text itself
  }
  EXPECT_EQ(dump, expectedText);
  EXPECT_STREQ(KQGetMessage(424242), notFound);
}

INSTANTIATE_TEST_SUITE_P(Data, MessageFile, ::testing::ValuesIn(messageFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(MessageManager, SetFileGivesZeroAndAnEmptyCatalogueForAFileThatCannotBeRead) {
  for (const std::string& name : {(dataDir / "no-such-file.msg").string(), dataDir.string(), std::string()}) {
    ASSERT_EQ(theMessage.setFile((dataDir / "range.msg").string().c_str()), 1);
    EXPECT_EQ(theMessage.setFile(name.empty() ? nullptr : name.c_str()), 0) << name;
    EXPECT_EQ(theMessage.getCount(), 0u) << name;
  }
  theMessage.setAt(43, "");
  EXPECT_STREQ(theMessage(43), "");                      // an empty stored text is found
  EXPECT_EQ(theMessage(2), theMessage(-2147483647 - 1)); // one constant not-found text
  theMessage.removeAll();
}
