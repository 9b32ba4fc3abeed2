// The fuzz checks as unit tests, so that every native test run exercises them: the saved corpora (a crash
// found by fuzzing is kept there), the golden message files and seeded random operation sequences.
#include "message_checks.h"

#include <gtest/gtest.h>

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

// The differential test of the table: random operation sequences against std::map, about a million
// operations in all.
TEST(FuzzChecks, RandomOperationSequencesAgreeWithStdMap) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 3000; ++i) {
    std::string ops(random() % 1500, '\0');
    for (char& b : ops)
      b = static_cast<char>(random());
    ASSERT_EQ(run(kqCheckTableOperations, ops), "") << "run " << i;
  }
}
