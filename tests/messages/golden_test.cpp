// Every message file under data/ is loaded with theMessage.setFile and compared with its expected
// catalogue: <name>.expected, or <name>.windows.expected / <name>.native.expected where the platform's
// text mode makes a difference.
#include "catalogue_dump.h"
#include "kqmessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class MessageFile : public ::testing::TestWithParam<std::string> {};
} // namespace

TEST(MessageFiles, AllGoldenFilesAreFound) {
  EXPECT_GE(messageFiles().size(), 25u);
}

TEST_P(MessageFile, LoadsAsExpected) {
#if defined(_WIN32)
  const char* platform = ".windows.expected";
#else
  const char* platform = ".native.expected";
#endif
  fs::path expected = dataDir / (GetParam() + platform);
  if (!fs::exists(expected))
    expected = dataDir / (GetParam() + ".expected");
  ASSERT_TRUE(fs::exists(expected)) << expected.string();

  theMessage.setAt(424242, "left over from before"); // setFile must replace the whole catalogue
  ASSERT_EQ(theMessage.setFile((dataDir / (GetParam() + ".msg")).string().c_str()), 1);
  EXPECT_EQ(dumpCatalogue(theMessage), readBytes(expected));
}

INSTANTIATE_TEST_SUITE_P(Data, MessageFile, ::testing::ValuesIn(messageFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
