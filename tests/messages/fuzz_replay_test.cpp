// The fuzz checks over the saved corpora (each crash found by fuzzing is kept there), replayed by every
// native run; new inputs are the fuzz preset's job (the golden files are among its seeds).
#include "message_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {
size_t replay(const fs::path& dir, std::string (*check)(const std::uint8_t*, std::size_t)) {
  size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string data(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(check(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), "") << entry.path();
    ++files;
  }
  return files;
}
} // namespace

TEST(FuzzChecks, SavedCorporaPass) {
  EXPECT_GE(replay(fs::path(KQ_FUZZ_CORPUS) / "message_reader", kqCheckMessageReader), 900u);
  EXPECT_GE(replay(fs::path(KQ_FUZZ_CORPUS) / "message_table", kqCheckTableOperations), 600u);
}
