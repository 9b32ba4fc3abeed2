// Every message file under data/ loaded with theMessage.setFile and compared with its expected catalogue:
// <name>.expected, or <name>.windows.expected / <name>.native.expected where text mode makes a difference.
// One line per entry in ascending number order, "<number><TAB><text>", the text with \n, \r, \t, \\ and
// \xNN for other bytes outside printable ASCII.
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
const fs::path dataDir = KQ_MESSAGES_DATA;

std::vector<std::string> messageFiles() {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(dataDir))
    if (entry.path().extension() == ".msg")
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The entries in ascending number order, texts escaped.
std::map<long, std::string> entries(const KQMessageTable& table) {
  std::map<long, std::string> sorted;
  for (const auto& [key, text] : kqWalk(table)) {
    std::string& out = sorted[key];
    for (const char byte : text) {
      const unsigned char c = static_cast<unsigned char>(byte);
      char hex[8];
      std::snprintf(hex, sizeof(hex), "\\x%02x", c);
      out += c == '\n'               ? "\\n"
             : c == '\r'             ? "\\r"
             : c == '\t'             ? "\\t"
             : c == '\\'             ? "\\\\"
             : c < 0x20 || c >= 0x7f ? hex
                                     : std::string(1, byte);
    }
  }
  return sorted;
}

class MessageFile : public ::testing::TestWithParam<std::string> {};
} // namespace

TEST(MessageFiles, AllGoldenFilesAreFound) {
  EXPECT_GE(messageFiles().size(), 25u);
}

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
  std::ostringstream expectedText;
  expectedText << expectedFile.rdbuf();

  theMessage.setAt(424242, "left over from before"); // setFile must replace the whole catalogue
  ASSERT_EQ(theMessage.setFile((dataDir / (GetParam() + ".msg")).string().c_str()), 1);
  std::string dump;
  for (const auto& [key, text] : entries(theMessage)) {
    dump += std::to_string(key) + "\t" + text + "\n";
    EXPECT_EQ(KQGetMessage(key), theMessage(key)) << key; // one catalogue: the same pointer
  }
  EXPECT_EQ(dump, expectedText.str());
  EXPECT_STREQ(KQGetMessage(424242), "*** Message Not Found...\n");
}

INSTANTIATE_TEST_SUITE_P(Data, MessageFile, ::testing::ValuesIn(messageFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
