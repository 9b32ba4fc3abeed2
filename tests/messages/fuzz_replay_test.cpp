// The fuzz targets' checks as unit tests: the saved corpora (crashes found by fuzzing are kept there), the
// golden message files, and seeded random inputs, so that every native test run exercises them.
#include "message_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const std::uint8_t* bytesOf(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

size_t replay(const fs::path& dir, std::string (*check)(const std::uint8_t*, std::size_t)) {
  size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file())
      continue;
    const std::string data = readBytes(entry.path());
    EXPECT_EQ(check(bytesOf(data), data.size()), "") << entry.path().string();
    ++files;
  }
  return files;
}
} // namespace

TEST(FuzzChecks, SavedCorporaPass) {
  EXPECT_GE(replay(fs::path(KQ_FUZZ_CORPUS) / "message_reader", kqCheckMessageReader), 2u);
  EXPECT_GE(replay(fs::path(KQ_FUZZ_CORPUS) / "message_table", kqCheckTableOperations), 1u);
}

TEST(FuzzChecks, GoldenMessageFilesPassTheReaderChecks) {
  EXPECT_GE(replay(KQ_MESSAGES_DATA, kqCheckMessageReader), 25u);
}

TEST(FuzzChecks, RandomOperationSequencesAgreeWithStdMap) {
  std::mt19937 random(20240611);
  for (int run = 0; run < 400; ++run) {
    std::vector<std::uint8_t> ops(random() % 1500);
    for (std::uint8_t& b : ops)
      b = static_cast<std::uint8_t>(random());
    ASSERT_EQ(kqCheckTableOperations(ops.data(), ops.size()), "") << "run " << run;
  }
}

TEST(FuzzChecks, RandomMessageFilesPassTheReaderChecks) {
  // Files put together from the pieces that matter to the reader, so that every rule is met often.
  static const char* const pieces[] = {"12",   "-",  "+",    "0",    "2147483648", " ",  "  ",
                                       "\t",   "\n", "\n\n", "\r\n", "\"",         "\\", "\\\\",
                                       "\\\"", "n",  "t",    "r",    "x",          "#",  ""};
  std::mt19937 random(7);
  for (int run = 0; run < 1500; ++run) {
    std::string file;
    const int count = static_cast<int>(random() % 60);
    for (int i = 0; i < count; ++i)
      file += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
    ASSERT_EQ(kqCheckMessageReader(bytesOf(file), file.size()), "") << "run " << run << ": " << file;
  }
}
