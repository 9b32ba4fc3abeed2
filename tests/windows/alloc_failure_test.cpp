// The text windows' platform-free parts when memory runs out. Each operation runs with its first
// allocation failing, then its second, and so on until a run reaches none (the executable's allocation
// operators are replaced: failing_new.h). The framework's strings and lists turn the failure into their
// CMemoryException*.
#include "../support/failing_new.h"
#include "copy_lines.h"
#include "line_list.h"
#include "line_store.h"
#include "pending_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using kqtest::failingNew;

// Runs op with allocation n failing (0: none, -1: every one). True when a failing allocation was reached;
// `threw` tells whether the framework's memory exception left op.
template <class Op> bool failing(long n, bool& threw, Op op) {
  threw = false;
  failingNew.arm(n, n < 0);
  try {
    op();
  } catch (CMemoryException* e) {
    e->Delete();
    threw = true;
  }
  return failingNew.disarm();
}

// Calls check(0), a clean run whose result the others are compared with, then check(n) for n = 1, 2, ...
// until a run reaches no failing allocation (check gives whether it did); the number of allocations of
// a clean run.
template <class Check> long sweep(Check check) {
  EXPECT_FALSE(check(0));
  long n = 1;
  for (; !testing::Test::HasFailure(); ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
    if (!check(n))
      break;
  }
  return n - 1;
}

// Thirty-odd lines, a run longer than two lines, tabs: several completions and new node blocks.
const std::string manyLines = [] {
  std::string t = "first\n";
  for (int i = 0; i < 30; ++i)
    t += "line " + std::to_string(i) + "\tx\n";
  return t + std::string(300, 'r') + "\tafter tab\n\tlast";
}();

std::string joined(const Lines& lines) {
  std::string all;
  for (const std::string& line : lines)
    all += (&line == &lines.front() ? "" : "\n") + line;
  return all;
}

// Both windows' shapes: what was stored before stays, then exactly what a clean run stores up to the
// failure; the store goes on afterwards.
TEST(AllocationFailure, AppendKeepsTheLinesStoredBeforeTheFailure) {
  for (const int width : {140, 80}) {
    SCOPED_TRACE(width);
    std::string clean;
    const long made = sweep([&](long n) {
      CStringList list(10);
      list.AddTail("old1");
      KQLineStore store(list, width, 30000);
      store.append("\nold2\npartial", 13);
      bool threw = false;
      const bool hit =
          failing(n, threw, [&] { store.append(manyLines.data(), static_cast<int>(manyLines.size())); });
      EXPECT_EQ(threw, hit);
      const std::string stored = joined(linesOf(list));
      if (!hit)
        clean = stored;
      EXPECT_EQ(stored.rfind("old1\nold2\npartial", 0), 0u) << stored;
      EXPECT_EQ(stored, hit ? clean.substr(0, stored.size()) : clean);
      store.append("\nnext\n", 6);
      const Lines later = linesOf(list);
      EXPECT_EQ(later[later.size() - 2], "next");
      return hit;
    });
    EXPECT_GE(made, 30);
  }
}

// A line feed whose list has no free node left: its one allocation fails and the list stays as it was
// (the oldest line is dropped only once the new one is there).
TEST(AllocationFailure, LineFeedThatCannotAddALineDropsNone) {
  CStringList list(10);
  for (int i = 0; i < 10; ++i)
    list.AddTail(CString("line ") + static_cast<char>('0' + i));
  KQLineStore store(list, 80, 11);
  const Lines before = linesOf(list);
  bool threw = false;
  EXPECT_TRUE(failing(1, threw, [&] { store.lineFeed(); }));
  EXPECT_TRUE(threw);
  EXPECT_EQ(linesOf(list), before);
}

// Clearing and appending to a full store allocate nothing: the list keeps its node blocks and a dropped
// line's storage becomes the new current line.
TEST(AllocationFailure, ClearAndAppendingToAFullStoreNeedNoMemory) {
  for (const int width : {140, 80}) {
    SCOPED_TRACE(width);
    const int cap = 300;
    CStringList list(10);
    list.AddTail(CString());
    KQLineStore store(list, width, cap);
    std::string filler;
    for (int i = 0; i < cap + 10; ++i)
      filler += "filler\n";
    store.append(filler.data(), static_cast<int>(filler.size()));
    bool threw = false;
    EXPECT_FALSE(failing(-1, threw, [&] {
      store.append(manyLines.data(), static_cast<int>(manyLines.size()));
    })) << "the append allocated";
    const Lines lines = linesOf(list);
    ASSERT_EQ(lines.size(), static_cast<size_t>(cap - 1));
    EXPECT_EQ(lines[lines.size() - 2], std::string(300 % width, 'r') + "    after tab");
    EXPECT_EQ(lines.back(), "        last");
    EXPECT_FALSE(failing(-1, threw, [&] {
      store.clear();
      store.append("x", 0); // an empty call does not open the line
    })) << "the clear allocated";
    EXPECT_EQ(linesOf(list), Lines{""});
  }
}

// ReturnInput's prepend: the pending input as it was, or the new bytes (NUL included) in front of it.
TEST(AllocationFailure, PrependLeavesThePendingInputUnchanged) {
  const std::string text("new\0text", 8);
  const long made = sweep([&](long n) {
    CString input("pending ");
    input += "input";
    bool threw = false;
    const bool hit = failing(n, threw, [&] { KQPrependInput(input, text.data(), 8); });
    EXPECT_EQ(threw, hit);
    EXPECT_EQ(std::string(input.GetString(), static_cast<size_t>(input.GetLength())),
              hit ? "pending input" : text + "pending input");
    return hit;
  });
  EXPECT_GE(made, 1);
}

// The row copy of painting and the clipboard: false, `out` empty and nothing thrown, or every row.
TEST(AllocationFailure, CopyLinesReportsFalseAndCopiesNothing) {
  CStringList list(10);
  for (int i = 0; i < 40; ++i)
    list.AddTail(CString(static_cast<char>('a' + i % 26), 1 + i * 3));
  const long made = sweep([&](long n) {
    KQCopiedLines out;
    out.text = "earlier";
    out.lengths = {7};
    bool threw = false, copied = false;
    const bool hit = failing(n, threw, [&] { copied = KQCopyLines(list, KQLineRange{5, 35}, out); });
    EXPECT_FALSE(threw);
    EXPECT_EQ(copied, !hit);
    EXPECT_EQ(out.lengths.size(), hit ? 0u : 30u);
    std::string expected;
    for (int i = 5; i < 35 && !hit; ++i)
      expected += std::string(static_cast<size_t>(1 + i * 3), static_cast<char>('a' + i % 26));
    EXPECT_EQ(out.text, expected);
    return hit;
  });
  EXPECT_GE(made, 2);
}
} // namespace
