#include "line_store.h"
#include "save_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
// What KQSaveLines writes for the lines that `text` makes in a new output-window store.
std::string savedAfter(const std::string& text) {
  CStringList list;
  list.AddTail("");
  KQLineStore(list, 140, 30000).append(text.data(), static_cast<int>(text.size()));
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  KQSaveLines(list, file);
  std::rewind(file);
  std::string out;
  for (int c; (c = std::fgetc(file)) != EOF;)
    out += static_cast<char>(c);
  std::fclose(file);
  return out;
}
} // namespace

// Natively the stream is binary, so each line end shows as the '\n' that a Windows text stream turns
// into CR LF (the Windows tests check those bytes in a saved file).
TEST(SaveLines, OneRecordPerLineThenOneMoreLineEnd) {
  EXPECT_EQ(savedAfter(""), "\n\n"); // the empty current line, then the extra end
  EXPECT_EQ(savedAfter("abc\n"), "abc\n\n\n");
  EXPECT_EQ(savedAfter("one\ntwo"), "one\ntwo\n\n");
}

TEST(SaveLines, ALineStopsAtItsFirstNul) {
  EXPECT_EQ(savedAfter(std::string("ab\0cd\n\0x\nend", 12)), "ab\n\nend\n\n");
}
