// The text windows' platform-free parts with each allocation failing in turn (operator new replaced): the
// framework's strings and lists throw CMemoryException*, the row copy returns false.
#include "../support/failing_new.h"
#include "copy_lines.h"
#include "line_list.h"
#include "line_store.h"
#include "pending_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Runs op with allocation n failing (0: none, -1: all): whether one failed; `threw`: an exception left op.
template <class Op> bool failing(long n, bool& threw, Op op) {
  threw = false;
  kqtest::failingNew.arm(n, n < 0);
  try {
    op();
  } catch (CMemoryException* e) {
    e->Delete();
    threw = true;
  }
  return kqtest::failingNew.disarm();
}

// check(0), the clean run, then check(n), n = 1, 2, ... until none fails; the clean run's allocation count.
template <class Check> long sweep(Check check) {
  EXPECT_FALSE(check(0));
  long n = 1;
  while (!testing::Test::HasFailure() && check(n))
    ++n;
  return n - 1;
}

} // namespace

// Both widths: old lines kept, then a clean run's text up to the failure, then more; a full store needs none.
TEST(AllocationFailure, AppendKeepsWhatWasStoredAndAFullStoreNeedsNoMemory) {
  for (const int width : {140, 80}) {
    SCOPED_TRACE(width);
    std::string clean;
    bool threw = false;
    const long made = sweep([&](long n) {
      CStringList list(10);
      list.AddTail("old1");
      KQLineStore store(list, width, 30000);
      store.append("\nold2\npartial", 13);
      const bool hit =
          failing(n, threw, [&] { store.append(manyLines.data(), static_cast<int>(manyLines.size())); });
      EXPECT_EQ(threw, hit);
      const std::string stored = joined(linesOf(list));
      clean = hit ? clean : stored;
      EXPECT_EQ(stored.rfind("old1\nold2\npartial", 0), 0u) << stored;
      EXPECT_EQ(stored, clean.substr(0, stored.size()));
      store.append("\nnext\n", 6);
      EXPECT_EQ(linesOf(list).rbegin()[1], "next");
      return hit;
    });
    EXPECT_GE(made, 30);

    CStringList list(10);
    list.AddTail(CString());
    KQLineStore full(list, width, 300);
    for (int i = 0; i < 310; ++i)
      full.append("filler\n", 7);
    EXPECT_FALSE(
        failing(-1, threw, [&] { full.append(manyLines.data(), static_cast<int>(manyLines.size())); }));
    const Lines lines = linesOf(list);
    ASSERT_EQ(lines.size(), 299u);
    EXPECT_EQ(lines.rbegin()[1], std::string(300 % width, 'r') + "    after tab");
    EXPECT_EQ(lines.back(), "        last");
    EXPECT_FALSE(failing(-1, threw, [&] {
      full.clear();
      full.append("x", 0); // an empty call does not open the line
    }));
    EXPECT_EQ(linesOf(list), Lines{""});
  }
}

// A line feed with no free node fails and leaves the list as it was (the oldest line goes only once the
// new one is there); a failed input prepend leaves the pending input, else puts the bytes (NULs too) first.
TEST(AllocationFailure, LineFeedAndPrependChangeNothingWhenTheyFail) {
  CStringList list(10);
  for (int i = 0; i < 10; ++i)
    list.AddTail(CString("line ") + static_cast<char>('0' + i));
  KQLineStore store(list, 80, 11);
  const Lines before = linesOf(list);
  bool threw = false;
  EXPECT_TRUE(failing(1, threw, [&] { store.lineFeed(); }) && threw);
  EXPECT_EQ(linesOf(list), before);

  const std::string text("new\0text", 8);
  EXPECT_GE(sweep([&](long n) {
              CString input("pending ");
              input += "input";
              const bool hit = failing(n, threw, [&] { KQPrependInput(input, text.data(), 8); });
              EXPECT_EQ(threw, hit);
              EXPECT_EQ(std::string(input.GetString(), static_cast<size_t>(input.GetLength())),
                        hit ? "pending input" : text + "pending input");
              return hit;
            }),
            1);
}

// The row copy of painting and the clipboard: false, `out` empty and nothing thrown, or every row.
TEST(AllocationFailure, CopyLinesReportsFalseAndCopiesNothing) {
  CStringList list(10);
  std::string expected;
  for (int i = 0; i < 40; ++i) {
    list.AddTail(CString(static_cast<char>('a' + i % 26), 1 + i * 3));
    expected +=
        i >= 5 && i < 35 ? std::string(static_cast<size_t>(1 + i * 3), static_cast<char>('a' + i % 26)) : "";
  }
  EXPECT_GE(
      sweep([&](long n) {
        KQCopiedLines out;
        out.text = "earlier";
        out.lengths = {7};
        bool threw = false, copied = false;
        const bool hit = failing(n, threw, [&] { copied = KQCopyLines(list, KQLineRange{5, 35}, out); });
        EXPECT_TRUE(!threw && copied == !hit);
        EXPECT_EQ(out.lengths.size(), hit ? 0u : 30u);
        EXPECT_EQ(out.text, hit ? "" : expected);
        return hit;
      }),
      2);
}
