// The fuzz checks as unit tests, so that every native test run exercises them: the saved corpora (a crash
// found by fuzzing is kept there), the golden message files and seeded random inputs.
#include "message_checks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {
using Check = std::string (*)(const std::uint8_t*, std::size_t);

std::string run(Check check, const std::string& data) {
  return check(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

size_t replay(const fs::path& dir, Check check) {
  size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    EXPECT_EQ(run(check, std::string(std::istreambuf_iterator<char>(in), {})), "") << entry.path().string();
    ++files;
  }
  return files;
}
} // namespace

TEST(FuzzChecks, SavedCorporaAndGoldenFilesPass) {
  EXPECT_GE(replay(fs::path(KQ_FUZZ_CORPUS) / "message_reader", kqCheckMessageReader), 2u);
  EXPECT_GE(replay(fs::path(KQ_FUZZ_CORPUS) / "message_table", kqCheckTableOperations), 1u);
  EXPECT_GE(replay(KQ_MESSAGES_DATA, kqCheckMessageReader), 25u);
}

// The differential test of the table: random operation sequences against std::map, a million operations
// in all.
TEST(FuzzChecks, RandomOperationSequencesAgreeWithStdMap) {
  std::mt19937 random(20240611);
  size_t steps = 0;
  for (int i = 0; steps < 1000000; ++i) {
    std::string ops(random() % 1500, '\0');
    for (char& b : ops)
      b = static_cast<char>(random());
    ASSERT_EQ(kqCheckTableOperations(reinterpret_cast<const std::uint8_t*>(ops.data()), ops.size(), steps),
              "")
        << "run " << i;
  }
  std::printf("table operations checked against std::map: %zu\n", steps);
}

// Files put together from the pieces that matter to the reader, so that every rule is met often.
TEST(FuzzChecks, RandomMessageFilesPassTheReaderChecks) {
  static const char* const pieces[] = {"12",   "-",  "+",    "0",    "2147483648", " ",  "  ",
                                       "\t",   "\n", "\n\n", "\r\n", "\"",         "\\", "\\\\",
                                       "\\\"", "n",  "t",    "r",    "x",          "#",  ""};
  std::mt19937 random(7);
  for (int i = 0; i < 1500; ++i) {
    std::string file;
    for (int n = static_cast<int>(random() % 60); n > 0; --n)
      file += pieces[random() % std::size(pieces)];
    ASSERT_EQ(run(kqCheckMessageReader, file), "") << "run " << i << ": " << file;
  }
}
