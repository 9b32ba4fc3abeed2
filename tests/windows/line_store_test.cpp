#include "line_list.h"
#include "line_store.h"

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <random>
#include <string>

namespace {
// The output window's and the fast display window's figures.
struct Shape {
  int width;
  long long cap;
};
void PrintTo(const Shape& shape, std::ostream* os) {
  *os << "width " << shape.width << ", cap " << shape.cap;
}
constexpr Shape outputShape{140, 30000};
constexpr Shape fastShape{80, 65000};

CStringList& withCurrentLine(CStringList& list) {
  list.AddTail("");
  return list;
}

// A list holding one empty current line, as both windows start, and the store over it.
struct Store {
  explicit Store(Shape shape = outputShape) : store(withCurrentLine(list), shape.width, shape.cap) {}
  Lines add(const std::string& text) {
    store.append(text.data(), static_cast<int>(text.size()));
    return linesOf(list);
  }
  CStringList list;
  KQLineStore store;
};

std::string repeat(char c, int n) {
  return std::string(static_cast<size_t>(n), c);
}

class BothShapes : public testing::TestWithParam<Shape> {};
INSTANTIATE_TEST_SUITE_P(LineRules, BothShapes, testing::Values(outputShape, fastShape),
                         [](const auto& info) { return info.param.width == 140 ? "Output" : "FastDisplay"; });
} // namespace

TEST_P(BothShapes, PlainTextStaysInTheCurrentLine) {
  Store s(GetParam());
  EXPECT_EQ(linesOf(s.list), Lines{""});
  EXPECT_EQ(s.add("abc"), Lines{"abc"});
  EXPECT_EQ(s.add("de\nf"), (Lines{"abcde", "f"}));
}

TEST_P(BothShapes, TabsMoveToTheNextMultipleOfEight) {
  Store s(GetParam());
  EXPECT_EQ(s.add("a\tb\n"), (Lines{"a       b", ""}));
  EXPECT_EQ(s.add("\t|\n"), (Lines{"a       b", repeat(' ', 8) + "|", ""}));
  EXPECT_EQ(s.add("12345678\t|"),
            (Lines{"a       b", repeat(' ', 8) + "|", "12345678" + repeat(' ', 8) + "|"}));
  Store t(GetParam());
  EXPECT_EQ(t.add("1234567\t|"), Lines{"1234567 |"}); // one space is enough to reach column 8
}

TEST_P(BothShapes, TabNearTheWidthCompletesTheLineAndDropsTheRest) {
  const int width = GetParam().width;
  for (int col = width - 10; col < width; ++col) {
    Store s(GetParam());
    const Lines got = s.add(repeat('x', col) + "\ty");
    const int stop = std::min(width, (col / 8 + 1) * 8);
    const std::string filled = repeat('x', col) + repeat(' ', stop - col);
    if (stop == width)
      EXPECT_EQ(got, (Lines{filled, "y"})) << "tab at column " << col;
    else
      EXPECT_EQ(got, Lines{filled + "y"}) << "tab at column " << col;
  }
}

TEST(LineStore, TabAtColumn137OfTheOutputWindowWritesThreeSpaces) {
  Store s(outputShape);
  EXPECT_EQ(s.add(repeat('x', 137) + "\tz"), (Lines{repeat('x', 137) + "   ", "z"}));
}

TEST_P(BothShapes, CarriageReturnsNeverReachTheStore) {
  Store a(GetParam()), b(GetParam());
  EXPECT_EQ(a.add("ab\r\ncd\r"), b.add("ab\ncd"));
  EXPECT_EQ(a.add("\r\r\r"), (Lines{"ab", "cd"}));
  Store c(GetParam());
  EXPECT_EQ(c.add("x\ry"), Lines{"xy"});
}

TEST_P(BothShapes, WidthCompletesALine) {
  const int width = GetParam().width;
  Store over(GetParam());
  EXPECT_EQ(over.add(repeat('a', width + 1)), (Lines{repeat('a', width), "a"}));
  Store exact(GetParam());
  EXPECT_EQ(exact.add(repeat('a', width) + "\n"), (Lines{repeat('a', width), "", ""}));
  Store under(GetParam());
  EXPECT_EQ(under.add(repeat('a', width - 1) + "\n"), (Lines{repeat('a', width - 1), ""}));
  Store twice(GetParam());
  EXPECT_EQ(twice.add(repeat('b', 2 * width)), (Lines{repeat('b', width), repeat('b', width), ""}));
}

TEST_P(BothShapes, EveryOtherByteIsStoredAsItIs) {
  Store s(GetParam());
  const std::string odd{'a', '\0', 'b', '\x01', '\x0b', '\x0c', '\x0e', '\x1b', '\x7f', '\x80', '\xff', '\0'};
  EXPECT_EQ(s.add(odd + "\n"), (Lines{odd, ""}));
}

TEST_P(BothShapes, ZeroAndNegativeLengthsStoreNothing) {
  Store s(GetParam());
  s.add("ab");
  const char text[] = "xyz\n";
  s.store.append(text, 0);
  s.store.append(text, -5);
  EXPECT_EQ(linesOf(s.list), Lines{"ab"});
}

TEST_P(BothShapes, TextSplitAcrossCallsGivesTheSameLines) {
  const int width = GetParam().width;
  const std::string text =
      "ab\tc\r\n" + repeat('w', width + 3) + "\t\tx\n" + repeat('v', width - 1) + "\ty\n";
  Store whole(GetParam());
  const Lines expected = whole.add(text);
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    Store split(GetParam());
    split.add(text.substr(0, cut));
    EXPECT_EQ(split.add(text.substr(cut)), expected) << "split at " << cut;
  }
}

TEST(LineStore, OutputCapKeeps29999LinesDroppingTheOldest) {
  Store s(outputShape);
  std::string text;
  for (int i = 1; i <= 29998; ++i)
    text += "L" + std::to_string(i) + "\n";
  Lines got = s.add(text);
  ASSERT_EQ(got.size(), 29999u); // 29998 completed lines and the current line: nothing dropped yet
  EXPECT_EQ(got.front(), "L1");
  EXPECT_EQ(got[29997], "L29998");
  got = s.add("L29999\nL30000\ntail");
  ASSERT_EQ(got.size(), 29999u);
  EXPECT_EQ(got.front(), "L3");
  EXPECT_EQ(got[29997], "L30000");
  EXPECT_EQ(got.back(), "tail");
}

TEST(LineStore, FastDisplayCapKeeps64999LinesOf70000) {
  Store s(fastShape);
  for (int i = 1; i <= 70000; ++i) {
    const std::string line = "line " + std::to_string(i) + "\n";
    s.store.append(line.data(), static_cast<int>(line.size()));
  }
  const Lines got = linesOf(s.list);
  ASSERT_EQ(got.size(), 64999u);
  EXPECT_EQ(got.front(), "line 5003"); // the last 64998 lines written
  EXPECT_EQ(got[64997], "line 70000");
  EXPECT_EQ(got.back(), "");
}

TEST_P(BothShapes, ClearLeavesOneEmptyLineAndTheStoreGoesOn) {
  Store s(GetParam());
  s.add("one\ntwo\nthree");
  s.store.clear();
  EXPECT_EQ(linesOf(s.list), Lines{""});
  EXPECT_EQ(s.add("four\nfive"), (Lines{"four", "five"}));
}

TEST(LineStore, LineFeedAndScrollOffTopKeepTheCap) {
  CStringList list;
  list.AddTail("a");
  KQLineStore store(list, 10, 3);
  store.lineFeed();
  EXPECT_EQ(linesOf(list), (Lines{"a", ""}));
  store.lineFeed(); // the count reaches 3: the oldest goes
  EXPECT_EQ(linesOf(list), (Lines{"", ""}));
  list.AddHead("x"); // 3 elements from outside: one call drops one line
  store.scrollOffTop();
  EXPECT_EQ(linesOf(list), (Lines{"", ""}));
  store.scrollOffTop();
  EXPECT_EQ(list.GetCount(), 2);
}

// The store against a literal, byte-at-a-time statement of the rules, on random text cut into random
// calls: catches any difference the run copying makes (runs of 16 and more, specials anywhere).
namespace {
void referenceAppend(std::deque<std::string>& lines, const std::string& text, int width, long long cap) {
  auto complete = [&] {
    lines.emplace_back();
    if (static_cast<long long>(lines.size()) >= cap)
      lines.pop_front();
  };
  for (char c : text) {
    std::string& cur = lines.back();
    bool ended = false;
    if (c == '\t') {
      cur += ' ';
      while (cur.size() % 8 != 0) {
        if (static_cast<int>(cur.size()) == width)
          break;
        cur += ' ';
      }
    } else if (c == '\n') {
      ended = true;
    } else if (c == '\r') {
      continue;
    } else {
      cur += c;
    }
    if (static_cast<int>(lines.back().size()) >= width || ended)
      complete();
  }
}
} // namespace

TEST(LineStore, AgreesWithTheRulesOnRandomText) {
  std::mt19937 rng(12345);
  const char alphabet[] = {'a', 'b', '\t', '\n', '\r', '\0', '\x80', ' '};
  for (Shape shape : {Shape{140, 30000}, Shape{80, 7}, Shape{17, 5}, Shape{8, 3}, Shape{1, 2}}) {
    for (int round = 0; round < 200; ++round) {
      CStringList list(3);
      list.AddTail("");
      KQLineStore store(list, shape.width, shape.cap);
      std::deque<std::string> expected{""};
      const int calls = 1 + static_cast<int>(rng() % 5);
      for (int call = 0; call < calls; ++call) {
        std::string text;
        const int length = static_cast<int>(rng() % 400);
        const unsigned density = 1 + rng() % 60; // from mostly specials to long ordinary runs
        for (int i = 0; i < length; ++i)
          text += rng() % density == 0 ? alphabet[2 + rng() % 3] : alphabet[rng() % 8];
        store.append(text.data(), static_cast<int>(text.size()));
        referenceAppend(expected, text, shape.width, shape.cap);
      }
      ASSERT_EQ(linesOf(list), Lines(expected.begin(), expected.end()))
          << "width " << shape.width << " cap " << shape.cap << " round " << round;
    }
  }
}
